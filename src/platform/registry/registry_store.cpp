#include "platform/registry/registry_store.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/runtime/app_folder.h"

namespace registry {
namespace {

constexpr const char* kStoreFileName = "registry.ini";

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

// "path" is "parent" or lies below it.
bool IsAtOrBelow(const std::string& path, const std::string& parent) {
  if (path.size() == parent.size()) return SameText(path, parent);
  return path.size() > parent.size() && path[parent.size()] == '\\' &&
         SameText(path.substr(0, parent.size()), parent);
}

bool NeedsEscape(char c) {
  return c == '%' || c == '\r' || c == '\n' || c == '\0' || c == '=' || c == '[' || c == ']';
}

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
  auto found = std::find_if(keys_.begin(), keys_.end(), [&](const StoredKey& key) { return SameText(key.path, path); });
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
    if (SameText(value.name, name)) return value.data;
  return std::nullopt;
}

void RegistryContents::SetValue(const std::string& path, const std::string& name, const std::string& data) {
  AddKey(path);
  StoredKey* key = FindKey(path);
  for (StoredValue& value : key->values) {
    if (SameText(value.name, name)) {
      value.data = data;
      return;
    }
  }
  key->values.push_back(StoredValue{name, data});
}

std::filesystem::path RegistryStorePath() { return rt::AppFolder() / kStoreFileName; }

std::optional<RegistryContents> ReadRegistryStore() {
  std::filesystem::path path = RegistryStorePath();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) return RegistryContents{};
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;

  RegistryContents contents;
  std::string currentKey;
  bool inKey = false;
  std::string line;
  while (std::getline(in, line)) {
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
  if (in.bad()) return std::nullopt;
  return contents;
}

bool WriteRegistryStore(const RegistryContents& contents) {
  std::ostringstream text;
  for (const StoredKey& key : contents.Keys()) {
    text << '[' << EscapeRegistryText(key.path) << "]\n";
    for (const StoredValue& value : key.values)
      text << EscapeRegistryText(value.name) << '=' << EscapeRegistryText(value.data) << '\n';
  }
  std::filesystem::path path = RegistryStorePath();
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << text.str();
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    return false;
  }
  return true;
}

}  // namespace registry
