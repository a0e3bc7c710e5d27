#pragma once
// The file that stands in for the system registry: registry.ini in the
// application folder. One "[ROOT\key\path]" line opens a key, "name=value"
// lines follow. Names, values and key paths are written with "%", CR, LF, NUL,
// "=", "[" and "]" as %XX, so any text round-trips. Keys and value names match
// without regard to letter case, as the registry's do.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace registry {

struct StoredValue {
  std::string name;
  std::string data;
};

struct StoredKey {
  std::string path;  // "HKEY_LOCAL_MACHINE\Software\Q_ZOLT"
  std::vector<StoredValue> values;
};

class RegistryContents {
 public:
  // True when the key or a key below it is stored (parents exist implicitly).
  bool HasKey(const std::string& path) const;
  // Adds the key when missing.
  void AddKey(const std::string& path);
  // The value's data, nullopt when the key or the value is missing.
  std::optional<std::string> Value(const std::string& path, const std::string& name) const;
  // Sets the value, adding the key when missing.
  void SetValue(const std::string& path, const std::string& name, const std::string& data);

  const std::vector<StoredKey>& Keys() const { return keys_; }

 private:
  StoredKey* FindKey(const std::string& path);
  const StoredKey* FindKey(const std::string& path) const;

  std::vector<StoredKey> keys_;
};

std::filesystem::path RegistryStorePath();

// The store's contents: empty when there is no file yet, nullopt when the file
// cannot be read. Needs no lock: the file is only ever replaced whole.
std::optional<RegistryContents> ReadRegistryStore();
// Reads the store, lets `change` edit the contents and writes them back, all
// under an exclusive lock (registry.ini.lock), so that two processes saving at
// once both keep their values. The file is replaced through a temporary file
// of its own, so a failed write leaves the old one. `change` returns false to
// leave the store untouched. False when the store cannot be locked, read or
// written.
bool UpdateRegistryStore(const std::function<bool(RegistryContents&)>& change);

// The contents of the store's text, and the text of contents. Lines that are
// neither a key nor a value under one are passed over.
RegistryContents ParseRegistryText(const std::string& text);
std::string RegistryText(const RegistryContents& contents);

// The store's text form of one line's parts, and back.
std::string EscapeRegistryText(const std::string& text);
std::string UnescapeRegistryText(const std::string& text);

}  // namespace registry
