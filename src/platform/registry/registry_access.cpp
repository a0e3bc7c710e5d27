#include "platform/registry/registry_access.h"

#include <cctype>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/registry/registry_store.h"

namespace registry {
namespace {

std::optional<std::string> RootName(int32_t root) {
  switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    case HKEY_CURRENT_CONFIG: return "HKEY_CURRENT_CONFIG";
    default: return std::nullopt;
  }
}

// "ROOT\a\b" of a root and a subkey path; empty parts of the path ("\a\\b\")
// are dropped, as the registry treats them.
std::optional<std::string> FullKeyPath(int32_t root, const std::string& subKey) {
  std::optional<std::string> path = RootName(root);
  if (!path) return std::nullopt;
  std::string part;
  for (size_t i = 0; i <= subKey.size(); ++i) {
    if (i == subKey.size() || subKey[i] == '\\') {
      if (!part.empty()) *path += "\\" + part;
      part.clear();
    } else {
      part += subKey[i];
    }
  }
  return path;
}

// The open keys by handle. Handles count up from 1; 0 is never a handle.
struct OpenKeys {
  std::mutex mutex;
  std::map<int32_t, std::string> paths;
  int32_t next = 1;
};

OpenKeys& Keys() {
  static OpenKeys keys;
  return keys;
}

int32_t NewHandle(const std::string& path) {
  OpenKeys& keys = Keys();
  std::lock_guard<std::mutex> lock(keys.mutex);
  while (keys.next <= 0 || keys.paths.count(keys.next)) keys.next = keys.next <= 0 ? 1 : keys.next + 1;
  int32_t handle = keys.next;
  keys.next = handle == INT32_MAX ? 1 : handle + 1;
  keys.paths[handle] = path;
  return handle;
}

std::optional<std::string> PathOf(int32_t handle) {
  OpenKeys& keys = Keys();
  std::lock_guard<std::mutex> lock(keys.mutex);
  auto found = keys.paths.find(handle);
  if (found == keys.paths.end()) return std::nullopt;
  return found->second;
}

// The number of a "dword:" and eight hexadecimal digits text.
std::optional<uint32_t> DwordOf(const std::string& data) {
  const std::string prefix = "dword:";
  if (data.size() != prefix.size() + 8) return std::nullopt;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(data[i])) != prefix[i]) return std::nullopt;
  for (size_t i = prefix.size(); i < data.size(); ++i)
    if (!std::isxdigit(static_cast<unsigned char>(data[i]))) return std::nullopt;
  return static_cast<uint32_t>(std::stoul(data.substr(prefix.size()), nullptr, 16));
}

}  // namespace

int32_t CreateRegKey(int32_t lngRootKey, const std::string& strSubKey) {
  std::optional<std::string> path = FullKeyPath(lngRootKey, strSubKey);
  if (!path) return 0;
  bool stored = UpdateRegistryStore([&](RegistryContents& contents) {
    if (contents.HasKey(*path)) return false;
    contents.AddKey(*path);
    return true;
  });
  return stored ? NewHandle(*path) : 0;
}

int32_t OpenRegKey(int32_t lngRootKey, const std::string& strSubKey) {
  std::optional<std::string> path = FullKeyPath(lngRootKey, strSubKey);
  if (!path) return 0;
  std::optional<RegistryContents> contents = ReadRegistryStore();
  if (!contents || !contents->HasKey(*path)) return 0;
  return NewHandle(*path);
}

void CloseRegKey(int32_t lngKey) {
  OpenKeys& keys = Keys();
  std::lock_guard<std::mutex> lock(keys.mutex);
  keys.paths.erase(lngKey);
}

void SetRegValue(int32_t lngKey, const std::string& strValueName, const std::string& strValue) {
  std::optional<std::string> path = PathOf(lngKey);
  if (!path) return;
  UpdateRegistryStore([&](RegistryContents& contents) {
    contents.SetValue(*path, strValueName, strValue);
    return true;
  });
}

std::string QueryRegValue(int32_t lngKey, const std::string& strValueName) {
  std::optional<std::string> path = PathOf(lngKey);
  if (!path) return "";
  std::optional<RegistryContents> contents = ReadRegistryStore();
  if (!contents) return "";
  std::string value = contents->Value(*path, strValueName).value_or("");
  // Values are stored as text: whatever follows a NUL is not part of it.
  return value.substr(0, value.find('\0'));
}

bool QueryRegValueEx(int32_t lngKey, const std::string& strValueName, int32_t& lngType, std::string& strData) {
  std::optional<std::string> path = PathOf(lngKey);
  if (!path) return false;
  std::optional<RegistryContents> contents = ReadRegistryStore();
  if (!contents) return false;
  std::optional<std::string> value = contents->Value(*path, strValueName);
  if (!value) return false;
  if (std::optional<uint32_t> number = DwordOf(*value)) {
    lngType = REG_DWORD;
    strData.clear();
    for (int byte = 0; byte < 4; ++byte) strData += static_cast<char>((*number >> (8 * byte)) & 0xFF);
  } else {
    lngType = REG_SZ;
    strData = *value;
  }
  return true;
}

void SaveRegSetting(int32_t lngRootKey, const std::string& strSubKey, const std::string& strValueName,
                    const std::string& strValue) {
  int32_t key = CreateRegKey(lngRootKey, strSubKey);
  SetRegValue(key, strValueName, strValue);
  CloseRegKey(key);
}

std::string GetRegSetting(int32_t lngRootKey, const std::string& strSubKey, const std::string& strValueName) {
  int32_t key = OpenRegKey(lngRootKey, strSubKey);
  std::string value = QueryRegValue(key, strValueName);
  CloseRegKey(key);
  return value;
}

}  // namespace registry
