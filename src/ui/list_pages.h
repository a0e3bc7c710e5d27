#pragma once
// The fixed-size pages of bytes that hold a list's cells. The pages used
// last stay in memory, up to a bound; the others wait in a temporary file
// that no folder names (it is removed as soon as it is opened, so nothing is
// left behind however the program ends), and come back when they are used.
// A list of ten million rows thus keeps a few megabytes in memory. When no
// temporary file can be made or written (no space), the pages stay in
// memory: the list costs what it did before but loses nothing. A page the
// file cannot give back whole is lost: it reads as zeros from then on, and
// says so (Lost), so that its cells are not taken for values.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class ListPages {
 public:
  static constexpr size_t kPageBytes = 4096;
  // Enough for the pages a screen, a Trade stage's look-ups (a pass of
  // symbols, each a few pages) and a sort's reading go through at once.
  static constexpr size_t kPagesInMemory = 1024;

  ListPages() = default;
  ~ListPages();
  ListPages(const ListPages&) = delete;
  ListPages& operator=(const ListPages&) = delete;

  // A new page of zeros; its number (pages are numbered from 0 as added).
  uint32_t Add();
  // A page's bytes to read, or to change; valid until the next call.
  const std::byte* Read(uint32_t page) { return Bytes(page, false); }
  std::byte* Write(uint32_t page) { return Bytes(page, true); }
  // Whether the file failed to give the page back; its bytes are zeros then.
  bool Lost(uint32_t page) const { return stored_.at(page) == Stored::kLost; }
  // Called with the cause whenever a page is lost.
  void OnLost(std::function<void(const std::string& cause)> handler) { onLost_ = std::move(handler); }
  // Drops every page and gives back their memory and the file.
  void Clear();

 private:
  struct Slot {
    uint32_t page;
    bool changed;  // not yet in the file as it is now
    bool used;     // used since the clock's hand last passed
    std::unique_ptr<std::byte[]> bytes;
  };

  std::byte* Bytes(uint32_t page, bool change);
  // A slot for another page: a new one while under the bound (or with no
  // file to take pages), else the one of a page not used for longest that
  // the file takes.
  size_t FreeSlot();
  // Where a page is while no slot holds it.
  enum class Stored : uint8_t { kNowhere, kInFile, kLost };  // kNowhere: never written, all zeros

  bool PutInFile(Slot& slot);
  // The page's bytes from the file; "" or why they could not be read whole.
  std::string ReadFromFile(uint32_t page, std::byte* bytes);
  void CloseFile();

  std::vector<Slot> slots_;
  std::vector<uint32_t> slotOf_;  // by page: its slot + 1; 0 when no slot holds it
  std::vector<Stored> stored_;    // by page
  std::function<void(const std::string&)> onLost_;
  size_t hand_ = 0;
  int file_ = -1;
  bool noFile_ = false;  // none could be made or written: pages stay in memory
};

}  // namespace ui
