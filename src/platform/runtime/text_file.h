#pragma once
// Text files a user hands in (symbol files, symbol lists), read whole as
// their bytes. Editors may begin a file with the UTF-8 byte-order mark; it
// marks the encoding and is no part of the text, so it is dropped.
#include <filesystem>
#include <optional>
#include <string>

namespace rt {

// The file's text without a leading byte-order mark; nullopt when the file
// cannot be opened.
std::optional<std::string> ReadTextFile(const std::filesystem::path& path);

}  // namespace rt
