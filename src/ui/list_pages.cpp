#include "ui/list_pages.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace ui {
namespace {

// A temporary file open for reading and writing, already removed from its
// folder; -1 when none can be made.
int OpenNamelessFile() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) return -1;
  std::string name = (folder / "kestrovane-list-XXXXXX").string();
  const int file = ::mkostemp(name.data(), O_CLOEXEC);
  if (file >= 0) ::unlink(name.c_str());
  return file;
}

off_t OffsetOf(uint32_t page) { return static_cast<off_t>(page) * static_cast<off_t>(ListPages::kPageBytes); }

}  // namespace

ListPages::~ListPages() { CloseFile(); }

uint32_t ListPages::Add() {
  const auto page = static_cast<uint32_t>(slotOf_.size());
  slotOf_.push_back(0);
  stored_.push_back(Stored::kNowhere);
  const size_t slot = FreeSlot();
  Slot& fresh = slots_[slot];
  std::memset(fresh.bytes.get(), 0, kPageBytes);
  // Clean: a page the file never took is zeros wherever it is.
  fresh.page = page;
  fresh.changed = false;
  fresh.used = true;
  slotOf_[page] = static_cast<uint32_t>(slot + 1);
  return page;
}

std::byte* ListPages::Bytes(uint32_t page, bool change) {
  uint32_t at = slotOf_.at(page);
  if (at == 0) {
    const size_t slot = FreeSlot();
    std::byte* bytes = slots_[slot].bytes.get();
    if (stored_[page] != Stored::kInFile) {
      std::memset(bytes, 0, kPageBytes);
    } else if (const std::string failed = ReadFromFile(page, bytes); !failed.empty()) {
      std::memset(bytes, 0, kPageBytes);
      stored_[page] = Stored::kLost;
      if (onLost_) onLost_(failed);
    }
    slots_[slot].page = page;
    slots_[slot].changed = false;
    at = static_cast<uint32_t>(slot + 1);
    slotOf_[page] = at;
  }
  Slot& slot = slots_[at - 1];
  slot.used = true;
  slot.changed = slot.changed || change;
  return slot.bytes.get();
}

size_t ListPages::FreeSlot() {
  if (slots_.size() < kPagesInMemory || noFile_) {
    slots_.push_back({0, false, false, std::make_unique<std::byte[]>(kPageBytes)});
    return slots_.size() - 1;
  }
  // The clock: a page used since the hand last passed gets another round.
  for (;; hand_ = (hand_ + 1) % slots_.size()) {
    Slot& slot = slots_[hand_];
    if (slot.used) {
      slot.used = false;
      continue;
    }
    if (slot.changed && !PutInFile(slot)) return FreeSlot();  // it stays; the pages now stay in memory
    slotOf_[slot.page] = 0;
    const size_t freed = hand_;
    hand_ = (hand_ + 1) % slots_.size();
    return freed;
  }
}

bool ListPages::PutInFile(Slot& slot) {
  // A lost page stays lost: what was set in it since is not the page either.
  if (stored_[slot.page] == Stored::kLost) {
    slot.changed = false;
    return true;
  }
  if (file_ < 0) file_ = OpenNamelessFile();
  size_t written = 0;
  while (file_ >= 0 && written < kPageBytes) {
    const ssize_t n = ::pwrite(file_, slot.bytes.get() + written, kPageBytes - written,
                               OffsetOf(slot.page) + static_cast<off_t>(written));
    if (n > 0) written += static_cast<size_t>(n);
    else if (n < 0 && errno == EINTR) continue;
    else break;
  }
  if (written < kPageBytes) {
    // The pages the file holds stay readable; no more go there.
    noFile_ = true;
    return false;
  }
  slot.changed = false;
  stored_[slot.page] = Stored::kInFile;
  return true;
}

std::string ListPages::ReadFromFile(uint32_t page, std::byte* bytes) {
  size_t read = 0;
  while (read < kPageBytes) {
    const ssize_t n = ::pread(file_, bytes + read, kPageBytes - read, OffsetOf(page) + static_cast<off_t>(read));
    if (n > 0) read += static_cast<size_t>(n);
    else if (n < 0 && errno == EINTR) continue;
    else if (n < 0) return std::strerror(errno);
    else return "the file ends before the page";
  }
  return "";
}

void ListPages::Clear() {
  std::vector<Slot>().swap(slots_);
  std::vector<uint32_t>().swap(slotOf_);
  std::vector<Stored>().swap(stored_);
  hand_ = 0;
  CloseFile();
  noFile_ = false;
}

void ListPages::CloseFile() {
  if (file_ >= 0) ::close(file_);
  file_ = -1;
}

}  // namespace ui
