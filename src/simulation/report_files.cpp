#include "simulation/report_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <regex>
#include <set>
#include <utility>

#include "platform/runtime/error.h"
#include "platform/runtime/leftover_files.h"

namespace simulation {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void RaiseNotWritten(const fs::path& path, int error) {
  throw rt::Error(rt::kErrPathFileAccess,
                  "The file " + path.string() + " could not be written: " + std::strerror(error) + ".");
}

void RequireFolder(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_directory(path.parent_path(), ec)) throw rt::Error(rt::kErrPathNotFound, "Path not found");
}

// Whether a name is the temporary file of a report writer that has ended
// ("<report>.<pid>-<n>.tmp" of a process that is gone): it was killed
// before its rename.
bool IsKilledWritersFile(const std::string& name) {
  static const std::regex shape(R"(.+\.([0-9]{1,9})-[0-9]+\.tmp)");
  std::smatch parts;
  return std::regex_match(name, parts, shape) && rt::ProcessGone(std::stoi(parts[1].str()));
}

// The first time this program writes into a folder, the files of writers
// killed there go. Once only: a sweep appends its rows one by one.
void RemoveKilledWritersFiles(const fs::path& folder) {
  static std::set<fs::path> cleared;
  if (cleared.insert(folder).second) rt::RemoveLeftoverFiles(folder, IsKilledWritersFile);
}

std::string LinesText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

// A new empty file beside the report, named after it and this process, with
// the report's permissions when it exists.
fs::path CreateTemporaryFile(const fs::path& path) {
  RemoveKilledWritersFiles(path.parent_path());
  static unsigned counter = 0;
  for (;;) {
    fs::path temporary = path;
    temporary += "." + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      struct stat current {};
      if (::stat(path.c_str(), &current) == 0) (void)::fchmod(fd, current.st_mode & 07777);
      ::close(fd);
      return temporary;
    }
    if (errno != EEXIST) RaiseNotWritten(path, errno);
  }
}

// Opens the report for appending, creating it when missing.
int OpenForAppending(const fs::path& path) {
  RemoveKilledWritersFiles(path.parent_path());
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    // A sweep appends a row per variation: the folder is looked at only when
    // the file could not be opened, to say why.
    const int error = errno;
    RequireFolder(path);
    RaiseNotWritten(path, error);
  }
  return fd;
}

// Appends the text in one write to a file of `size` bytes; when it cannot
// all be written the file is cut back to that size, so that it never ends in
// part of a line. The error that kept the text out, 0 when none did.
int AppendWholeTextTo(int fd, off_t size, const std::string& text) {
  int error = 0;
  for (size_t done = 0; !error && done < text.size();) {
    const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written > 0) done += static_cast<size_t>(written);
    else if (written == 0 || errno != EINTR) error = written == 0 ? EIO : errno;
  }
  if (error) (void)::ftruncate(fd, size);
  return error;
}

void AppendWholeText(const fs::path& path, const std::string& text) {
  const int fd = OpenForAppending(path);
  struct stat before {};
  int error = ::fstat(fd, &before) != 0 ? errno : AppendWholeTextTo(fd, before.st_size, text);
  if (::close(fd) != 0 && !error) error = errno;
  if (error) RaiseNotWritten(path, error);
}

}  // namespace

ReportReplacement::ReportReplacement(const fs::path& path) : path_(path) {
  RequireFolder(path);
  temporary_ = CreateTemporaryFile(path);
  file_ = std::fopen(temporary_.c_str(), "ab");
  if (!file_) Fail(errno);
}

ReportReplacement::~ReportReplacement() { Discard(); }

void ReportReplacement::Append(const std::vector<std::string>& lines) {
  if (failure_) Fail(failure_);
  const std::string text = LinesText(lines);
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) Fail(errno);
}

void ReportReplacement::Commit() {
  if (failure_) Fail(failure_);
  // The data reaches the disk before the name moves, so that a crash leaves
  // the older report or the new one, never a part of it.
  if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) Fail(errno);
  if (std::fclose(std::exchange(file_, nullptr)) != 0) Fail(errno);
  if (::rename(temporary_.c_str(), path_.c_str()) != 0) Fail(errno);
  temporary_.clear();
}

void ReportReplacement::Discard() {
  if (file_) std::fclose(std::exchange(file_, nullptr));
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

void ReportReplacement::Fail(int error) {
  failure_ = error;
  Discard();
  RaiseNotWritten(path_, error);
}

ReportAddition::ReportAddition(const fs::path& path) : path_(path) { RequireFolder(path); }

void ReportAddition::Append(const std::vector<std::string>& lines) { text_ += LinesText(lines); }

void ReportAddition::Commit() { AppendWholeText(path_, std::exchange(text_, {})); }

HeldReport::HeldReport(const fs::path& path) : path_(path) {}

HeldReport::~HeldReport() { Close(); }

void HeldReport::Append(const std::vector<std::string>& lines) {
  // A report removed while held (or replaced, as an editor saves it) is
  // begun again at its path, as opening it for the lines would; one moved
  // elsewhere is followed.
  struct stat held {};
  if (fd_ >= 0 && (::fstat(fd_, &held) != 0 || held.st_nlink == 0)) Close();
  if (fd_ < 0) {
    fd_ = OpenForAppending(path_);
    if (::fstat(fd_, &held) != 0) Fail(errno);
  }
  if (const int error = AppendWholeTextTo(fd_, held.st_size, LinesText(lines))) Fail(error);
}

void HeldReport::Fail(int error) {
  Close();
  RaiseNotWritten(path_, error);
}

void HeldReport::Close() {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

}  // namespace simulation
