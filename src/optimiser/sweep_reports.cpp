// The sweeps' report files, and the rows of the trade sweep's report.
#include "optimiser/sweep_reports.h"

#include <fstream>
#include <sstream>

#include "platform/runtime/app_folder.h"
#include "platform/runtime/error.h"
#include "simulation/engine_reports.h"
#include "ui/main_window.h"

namespace optimiser {
namespace {

void RequirePath(const std::string& path) {
  if (path.empty()) throw rt::Error(52, "Bad file name or number: no report file has been chosen.");
}

// The report's last line without its line end; "" when there is none.
std::string LastLine(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  std::string all = text.str();
  while (!all.empty() && (all.back() == '\n' || all.back() == '\r')) all.pop_back();
  size_t start = all.find_last_of("\r\n");
  return start == std::string::npos ? all : all.substr(start + 1);
}

}  // namespace

std::string ReportFileName(const std::string& prefix, const std::string& simTable) {
  return prefix + (simTable.size() > 4 ? simTable.substr(4) : "") + ".csv";
}

std::string ReportPath(const std::string& folder, const std::string& fileName) {
  return (rt::AppPath(folder) / fileName).string();
}

std::string ReportFirstLine(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string line;
  std::getline(file, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void WriteReportHeader(const std::string& path, const std::vector<std::string>& cells) {
  RequirePath(path);
  simulation::WriteReportFile(path, {simulation::JoinCells(cells)});
}

void ReportRows::Append(const std::vector<std::string>& cells) {
  RequirePath(path_);
  if (!file_) file_ = std::make_unique<simulation::HeldReport>(rt::AppPath(path_));
  file_->Append({simulation::JoinCells(cells)});
}

void ReportRows::AppendResumed(const std::vector<std::string>& cells) {
  RequirePath(path_);
  if (LastLine(path_) != simulation::JoinCells(cells)) Append(cells);
}

}  // namespace optimiser

namespace ui {

void frmMain::WriteBuySellResults(const std::string& purchaseType, int32_t life, const std::string& targetPrice,
                                  int32_t aboveTarget, int32_t initialStop, int32_t profitableAt, int32_t decline,
                                  int32_t maxDays, const std::string& reportPath, bool firstAfterResume) {
  const std::vector<std::string> row = {purchaseType,
                                        std::to_string(life),
                                        targetPrice,
                                        std::to_string(aboveTarget),
                                        std::to_string(initialStop),
                                        std::to_string(profitableAt),
                                        std::to_string(decline),
                                        std::to_string(maxDays),
                                        S(Label("lblResult", 22)->text()),
                                        S(Label("lblResult", 13)->text()),
                                        S(Label("lblResult", 26)->text())};
  // A row that cannot be written ends the sweep: every later row would fail alike.
  optimiser::ReportRows rows(reportPath);
  if (firstAfterResume) rows.AppendResumed(row);
  else rows.Append(row);
}

}  // namespace ui
