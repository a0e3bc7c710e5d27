#include "platform/registry/registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "platform/runtime/app_folder.h"
#include "platform/runtime/leftover_files.h"
#include "platform/runtime/same_letters.h"

namespace registry {
namespace {

constexpr const char* kStoreFileName = "registry.ini";

// "path" is "parent" or lies below it.
bool IsAtOrBelow(const std::string& path, const std::string& parent) {
  if (path.size() == parent.size()) return rt::SameLetters(path, parent);
  return path.size() > parent.size() && path[parent.size()] == '\\' &&
         rt::SameLetters(path.substr(0, parent.size()), parent);
}

bool NeedsEscape(char c) { return c == '%' || c == '\r' || c == '\n' || c == '\0' || c == '=' || c == '[' || c == ']'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string EscapeRegistryText(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (NeedsEscape(c)) {
      char code[4];
      std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned char>(c));
      escaped += code;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::string UnescapeRegistryText(const std::string& text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    int high = 0, low = 0;
    if (text[i] == '%' && i + 2 < text.size() && (high = HexDigit(text[i + 1])) >= 0 &&
        (low = HexDigit(text[i + 2])) >= 0) {
      plain += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      plain += text[i];  // a stray "%" written by hand stays as it is
    }
  }
  return plain;
}

StoredKey* RegistryContents::FindKey(const std::string& path) {
  auto found =
      std::find_if(keys_.begin(), keys_.end(), [&](const StoredKey& key) { return rt::SameLetters(key.path, path); });
  return found == keys_.end() ? nullptr : &*found;
}

const StoredKey* RegistryContents::FindKey(const std::string& path) const {
  return const_cast<RegistryContents*>(this)->FindKey(path);
}

bool RegistryContents::HasKey(const std::string& path) const {
  return std::any_of(keys_.begin(), keys_.end(), [&](const StoredKey& key) { return IsAtOrBelow(key.path, path); });
}

void RegistryContents::AddKey(const std::string& path) {
  if (!FindKey(path)) keys_.push_back(StoredKey{path, {}});
}

std::optional<std::string> RegistryContents::Value(const std::string& path, const std::string& name) const {
  const StoredKey* key = FindKey(path);
  if (!key) return std::nullopt;
  for (const StoredValue& value : key->values)
    if (rt::SameLetters(value.name, name)) return value.data;
  return std::nullopt;
}

void RegistryContents::SetValue(const std::string& path, const std::string& name, const std::string& data) {
  AddKey(path);
  StoredKey* key = FindKey(path);
  for (StoredValue& value : key->values) {
    if (rt::SameLetters(value.name, name)) {
      value.data = data;
      return;
    }
  }
  key->values.push_back(StoredValue{name, data});
}

std::filesystem::path RegistryStorePath() { return rt::AppFolder() / kStoreFileName; }

RegistryContents ParseRegistryText(const std::string& text) {
  RegistryContents contents;
  std::string currentKey;
  bool inKey = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();  // escaped text never ends in a raw CR
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      currentKey = UnescapeRegistryText(line.substr(1, line.size() - 2));
      contents.AddKey(currentKey);
      inKey = true;
      continue;
    }
    size_t equals = line.find('=');
    if (!inKey || equals == std::string::npos) continue;  // not a value line
    contents.SetValue(currentKey, UnescapeRegistryText(line.substr(0, equals)),
                      UnescapeRegistryText(line.substr(equals + 1)));
  }
  return contents;
}

std::string RegistryText(const RegistryContents& contents) {
  std::string text;
  for (const StoredKey& key : contents.Keys()) {
    text += '[' + EscapeRegistryText(key.path) + "]\n";
    for (const StoredValue& value : key.values)
      text += EscapeRegistryText(value.name) + '=' + EscapeRegistryText(value.data) + '\n';
  }
  return text;
}

std::optional<RegistryContents> ReadRegistryStore() {
  std::filesystem::path path = RegistryStorePath();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) return RegistryContents{};
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return ParseRegistryText(text);
}

namespace {

// Holds an exclusive lock on the store's lock file for the life of the object.
class StoreLock {
 public:
  StoreLock() {
    std::filesystem::path path = RegistryStorePath();
    path += ".lock";
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~StoreLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

// Whether a name is one mkstemp gives the store's temporary files.
bool IsTemporaryName(const std::string& name) {
  const std::string prefix = std::string(kStoreFileName) + ".";
  return name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0 &&
         std::all_of(name.begin() + prefix.size(), name.end(), [](unsigned char c) { return std::isalnum(c); });
}

// Replaces the file through a temporary file no other writer uses. The data
// reaches the disk before the rename, so a crash leaves the old file or the
// new one, never an empty one.
bool WriteRegistryStore(const RegistryContents& contents) {
  std::filesystem::path path = RegistryStorePath();
  // Temporary files of writers killed before their rename. Under the store's
  // lock no live writer's file is among them.
  rt::RemoveLeftoverFiles(path.parent_path(), IsTemporaryName);
  std::string temporary = path.string() + ".XXXXXX";
  int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  bool written = ::fchmod(fd, 0644) == 0 && WriteAll(fd, RegistryText(contents)) && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (written && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace

bool UpdateRegistryStore(const std::function<bool(RegistryContents&)>& change) {
  StoreLock lock;
  if (!lock.Held()) return false;
  std::optional<RegistryContents> contents = ReadRegistryStore();
  if (!contents) return false;  // never overwrite a store that could not be read
  if (!change(*contents)) return true;
  return WriteRegistryStore(*contents);
}

}  // namespace registry
