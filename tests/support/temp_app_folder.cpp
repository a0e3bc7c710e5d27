#include "support/temp_app_folder.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/db/connection.h"

namespace testsupport {

TempAppFolder::TempAppFolder() {
  static std::atomic<int> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = std::filesystem::temp_directory_path() / ("kestrovane-test-" + std::to_string(::getpid()) + "-" +
                                                    std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
  if (const char* home = std::getenv("KESTROVANE_HOME")) {
    previousHome_ = home;
    hadPreviousHome_ = true;
  }
  ::setenv("KESTROVANE_HOME", path_.c_str(), 1);
}

TempAppFolder::~TempAppFolder() {
  if (hadPreviousHome_) ::setenv("KESTROVANE_HOME", previousHome_.c_str(), 1);
  else ::unsetenv("KESTROVANE_HOME");
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + path.string());
  out << bytes;
}

std::map<std::string, std::string> ReadFolderFiles(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files[entry.path().filename().string()] = ReadFileBytes(entry.path());
  return files;
}

std::filesystem::path TempAppFolder::NewDatabase(const std::string& name) const {
  std::filesystem::path path = File(name);
  db::CreateDatabaseFile(path);
  return path;
}

}  // namespace testsupport
