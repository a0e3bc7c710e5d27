#pragma once
// The report files of the two sweeps: tab-separated lines ended by CR LF, a
// header when a fresh sweep writes the file anew, then one row per variation,
// each appended whole.
#include <memory>
#include <string>
#include <vector>

#include "simulation/report_files.h"

namespace optimiser {

inline constexpr const char* kTradeReportFolder = "\\Reports\\SMART Trade Variations\\";
inline constexpr const char* kPortfolioReportFolder = "\\Reports\\SMART Portfolio Variations\\";
inline constexpr const char* kTradeReportPrefix = "SMART_Trade_";
inline constexpr const char* kPortfolioReportPrefix = "SMART_Portfolio_";

// The proposed file name: the prefix, the simulation's name (the table name
// without "sim_") and ".csv".
std::string ReportFileName(const std::string& prefix, const std::string& simTable);
// The full path of a report in one of the sweep folders.
std::string ReportPath(const std::string& folder, const std::string& fileName);

// The report's first line without its line end; "" when there is none.
std::string ReportFirstLine(const std::string& path);

// Creates or empties the file and writes the line; raises the file error (an
// empty path, a missing folder, a locked file).
void WriteReportHeader(const std::string& path, const std::vector<std::string>& cells);

// The rows a sweep appends to its report, one per variation, each whole in
// the file once appended; the file is held open from the first row until
// this is dropped. Each raises the file error.
class ReportRows {
 public:
  explicit ReportRows(const std::string& path) : path_(path) {}
  void Append(const std::vector<std::string>& cells);
  // The first row a resumed sweep writes: appended unless the report already
  // ends with it. A sweep ended between writing a variation's row and moving
  // its pause row on (killed, say) runs that variation again when resumed,
  // and its row comes out the same.
  void AppendResumed(const std::vector<std::string>& cells);

 private:
  std::string path_;
  std::unique_ptr<simulation::HeldReport> file_;
};

}  // namespace optimiser
