#include "platform/runtime/app_folder.h"

#include <cstdlib>
#include <system_error>

namespace rt {

std::filesystem::path AppFolder() {
  std::filesystem::path folder;
  if (const char* home = std::getenv("KESTROVANE_HOME"); home && *home) {
    folder = home;
  } else {
    const char* userHome = std::getenv("HOME");
    folder = std::filesystem::path(userHome && *userHome ? userHome : ".") / ".local" / "share" / "kestrovane";
  }
  // Absolute, so that a path made from it and kept (the database's) is not
  // read as relative later and placed in the folder a second time.
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
  return ec ? folder : absolute;
}

std::filesystem::path AppPath(const std::string& location) {
  if (!location.empty() && location.front() == '/') return location;
  std::string relative = location;
  for (char& c : relative)
    if (c == '\\') c = '/';
  while (!relative.empty() && relative.front() == '/') relative.erase(0, 1);
  return AppFolder() / relative;
}

bool EnsureAppFolders() {
  static const char* kFolders[] = {"Simulations", "Symbols", "Reports", "Reports/SMART Trade Variations",
                                   "Reports/SMART Portfolio Variations"};
  std::error_code ec;
  std::filesystem::create_directories(AppFolder(), ec);
  if (ec) return false;
  for (const char* folder : kFolders) {
    std::filesystem::create_directories(AppFolder() / folder, ec);
    if (ec) return false;
  }
  return true;
}

}  // namespace rt
