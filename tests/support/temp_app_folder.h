#pragma once
// A fresh application folder for one test: a unique temporary directory,
// installed as $KESTROVANE_HOME for the life of the object and removed after.
#include <filesystem>
#include <map>
#include <string>

namespace testsupport {

class TempAppFolder {
 public:
  TempAppFolder();
  ~TempAppFolder();
  TempAppFolder(const TempAppFolder&) = delete;
  TempAppFolder& operator=(const TempAppFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path File(const std::string& name) const { return path_ / name; }
  // Creates an empty database file of that name in the folder; its path.
  std::filesystem::path NewDatabase(const std::string& name) const;

 private:
  std::filesystem::path path_;
  std::string previousHome_;
  bool hadPreviousHome_ = false;
};

// Reads a whole file as bytes.
std::string ReadFileBytes(const std::filesystem::path& path);
// Writes bytes to a file, replacing it.
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);
// The files of a folder by name, with their bytes.
std::map<std::string, std::string> ReadFolderFiles(const std::filesystem::path& folder);

}  // namespace testsupport
