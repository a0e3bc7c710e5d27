#pragma once
// Report files written so that a failure (a full disk, a file that cannot be
// replaced) never leaves one cut short or emptied: the older report stays
// whole, and the error names the file and the cause. Lines are ended by CR LF.
// A report that grows (a log) is only ever appended to, so that adding to it
// costs what is added, however long it has grown. A program killed while it
// wrote a report anew leaves its temporary file; the first write of a later
// program into that folder removes it.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace simulation {

// A report written anew: its lines go to a temporary file in the report's
// folder, which takes the report's name only when Commit succeeds. Dropped
// before that, the temporary file goes and the report stays as it was.
class ReportReplacement {
 public:
  // A missing folder raises "Path not found"; the folder is never created.
  explicit ReportReplacement(const std::filesystem::path& path);
  ~ReportReplacement();
  ReportReplacement(const ReportReplacement&) = delete;
  ReportReplacement& operator=(const ReportReplacement&) = delete;

  // Each raises the error that ended the replacement, if one did.
  void Append(const std::vector<std::string>& lines);
  void Commit();

 private:
  // Closes and removes the temporary file.
  void Discard();
  // Discards the file and raises the error, now and at every later call.
  [[noreturn]] void Fail(int error);

  std::filesystem::path path_;
  std::filesystem::path temporary_;
  std::FILE* file_ = nullptr;
  int failure_ = 0;  // the error that ended the replacement
};

// The lines a run adds to a report, held until the run ends whole: Commit
// appends them all in one write, as HeldReport does; dropped before that, the
// report stays as it was.
class ReportAddition {
 public:
  // A missing folder raises "Path not found" here, at the run's first line.
  explicit ReportAddition(const std::filesystem::path& path);
  void Append(const std::vector<std::string>& lines);
  // Raises the error that kept the lines out of the report.
  void Commit();

 private:
  std::filesystem::path path_;
  std::string text_;
};

// A report that is only ever added to (a sweep's, a row per variation), held
// open from the first addition until dropped. Each addition is one write,
// which the report on disk holds at once; when the lines cannot all be
// written the report is cut back to its size before, so that it never ends
// in part of a line.
class HeldReport {
 public:
  explicit HeldReport(const std::filesystem::path& path);
  ~HeldReport();
  HeldReport(const HeldReport&) = delete;
  HeldReport& operator=(const HeldReport&) = delete;

  // Raises the error that kept the lines out; a missing folder raises "Path
  // not found" (it is never created).
  void Append(const std::vector<std::string>& lines);

 private:
  void Close();
  [[noreturn]] void Fail(int error);

  std::filesystem::path path_;
  int fd_ = -1;
};

}  // namespace simulation
