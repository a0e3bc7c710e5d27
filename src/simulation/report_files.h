#pragma once
// Report files written so that a failure (a full disk, a file that cannot be
// replaced) never leaves one cut short or emptied: the older report stays
// whole, and the error names the file and the cause. Lines are ended by CR LF.
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
  // With keepCurrent the new report starts with the present one's content (a
  // log that each run adds to). A missing folder raises "Path not found"; the
  // folder is never created.
  ReportReplacement(const std::filesystem::path& path, bool keepCurrent);
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

// Appends the lines to the report in one write. When they cannot all be
// written the report is cut back to its size before, so that it never ends
// in part of a line. A missing folder raises "Path not found".
void AppendWholeLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

}  // namespace simulation
