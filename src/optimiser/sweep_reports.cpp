// Choosing a sweep's report file, and the rows of the trade sweep's report.
#include "optimiser/sweep_reports.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "market_data/run_parameters.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"
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

int frmMain::GetReportFile(const std::string& initialFolder, const std::string& fileName, std::string& reportPath) {
  user::FileDialogRequest request;
  request.title = "Save S.M.A.R.T. Report";
  request.startFolder = initialFolder;
  request.fileName = fileName;
  request.filter = "Report File (*.csv)|*.csv";
  std::string chosen = user::User().SaveFileDialog(request);
  if (chosen.empty()) return 2;
  reportPath = chosen;

  // Only a file that is plainly not there is written without a question; a
  // path that cannot be tested is treated as an existing file.
  namespace fs = std::filesystem;
  std::error_code ec, folderEc;
  fs::path path(chosen);
  fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found && fs::is_directory(path.parent_path(), folderEc)) return 0;
  int answer = user::MsgBox("The Report '" + path.filename().string() +
                                "' already exists. Do you wish to overwrite?\r\nChoose 'YES' to overwrite results. "
                                "Choose 'NO' to append results.",
                            user::kYesNoCancel | user::kDefaultButton2, user::kApplicationTitle);
  if (answer == user::kAnswerNo) return 1;
  if (answer == user::kAnswerCancel) return 2;
  return 0;
}

int frmMain::ResumedReport(bool trade, const std::string& header, std::string& reportPath) {
  const char* folder = trade ? optimiser::kTradeReportFolder : optimiser::kPortfolioReportFolder;
  const std::string proposed = optimiser::ReportFileName(
      trade ? optimiser::kTradeReportPrefix : optimiser::kPortfolioReportPrefix, Parms().strSimTable);
  clsResearch::SweepRecord record;
  const bool recorded = objResearch->RetrieveSweepRecord(record) && record.sweep == SweepName(trade);
  // A sweep paused before its report was recorded goes on in the report
  // chosen since the program started, else in the proposed one.
  if (recorded) reportPath = record.reportPath;
  else if (reportPath.empty()) reportPath = optimiser::ReportPath(folder, proposed);
  std::error_code ec;
  if (!std::filesystem::exists(reportPath, ec)) return 0;
  if (optimiser::ReportFirstLine(reportPath) == (recorded ? record.reportFirstLine : header)) return 1;
  // The report now holds another sweep: the user says where the rest goes.
  return GetReportFile(rt::AppPath(folder).string(), proposed, reportPath);
}

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
