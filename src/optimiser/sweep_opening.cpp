// How both sweeps begin: a stopped sweep of the tab's kind is resumed into
// its report; otherwise the count question is answered and a report chosen.
// A sweep that does not go on leaves a stopped sweep stopped, resumable.
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "market_data/run_parameters.h"
#include "optimiser/sweep_reports.h"
#include "platform/runtime/app_folder.h"
#include "platform/user/user_services.h"
#include "ui/main_window.h"

namespace ui {
namespace {

const char* ReportFolder(bool trade) {
  return trade ? optimiser::kTradeReportFolder : optimiser::kPortfolioReportFolder;
}

std::string ProposedReportName(bool trade) {
  return optimiser::ReportFileName(trade ? optimiser::kTradeReportPrefix : optimiser::kPortfolioReportPrefix,
                                   Parms().strSimTable);
}

// Whether a report can be written where it stands: the file, or when it is
// gone the folder that is to hold it (moved or removed since, or left behind
// when the application folder was copied elsewhere).
bool CanWriteReport(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path file(path);
  if (fs::exists(file, ec)) return fs::is_regular_file(file, ec) && ::access(file.c_str(), W_OK) == 0;
  const fs::path folder = file.parent_path();
  return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

int frmMain::AskToSweep(int32_t total) {
  return user::MsgBox("This report will yield " + std::to_string(total) + " variations.\r\nDo you wish to continue?",
                      user::kYesNo, user::kApplicationTitle);
}

std::optional<frmMain::SweepOpening> frmMain::OpenSweep(bool trade, int32_t total,
                                                        const std::function<int()>& countAnswer,
                                                        const std::string& resumedHeader) {
  const bool stopped = trade ? TradeSweepPaused() : PortfolioSweepPaused();
  const bool resuming = stopped && !sweepStartsAfresh_;
  // A stopped sweep declined, or without a report chosen, stays resumable.
  auto keepStopped = [&] {
    if (stopped) objResearch->StopProcess(true);
    return std::nullopt;
  };
  if (!resuming && countAnswer() != user::kAnswerYes) return keepStopped();
  QProgressBar* progress = trade ? pbStatus : pbProgress;
  progress->setRange(0, std::max(total, 1));
  user::DoEvents();
  std::string& reportPath = trade ? strTradeReportPath : strPortfolioReportPath;
  const int mode =
      resuming ? ResumedReport(trade, resumedHeader, reportPath)
               : GetReportFile(rt::AppPath(ReportFolder(trade)).string(), ProposedReportName(trade), reportPath);
  if (mode == 2) return keepStopped();
  return SweepOpening{resuming, mode == 0};
}

void frmMain::StartSweepReport(bool trade, bool anew, const std::vector<std::string>& header) {
  const std::string& reportPath = trade ? strTradeReportPath : strPortfolioReportPath;
  if (anew) optimiser::WriteReportHeader(reportPath, header);
  RecordSweep(trade, reportPath);
}

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
  clsResearch::SweepRecord record;
  const bool recorded = objResearch->RetrieveSweepRecord(record) && record.sweep == SweepName(trade);
  // A sweep paused before its report was recorded goes on in the report
  // chosen since the program started, else in the proposed one.
  if (recorded) reportPath = record.reportPath;
  else if (reportPath.empty()) reportPath = optimiser::ReportPath(ReportFolder(trade), ProposedReportName(trade));
  if (CanWriteReport(reportPath)) {
    std::error_code ec;
    if (!std::filesystem::exists(reportPath, ec)) return 0;
    if (optimiser::ReportFirstLine(reportPath) == (recorded ? record.reportFirstLine : header)) return 1;
  }
  // The report cannot be written where it was (its folder is gone, say) or
  // now holds another sweep: the user says where the rest goes.
  return GetReportFile(rt::AppPath(ReportFolder(trade)).string(), ProposedReportName(trade), reportPath);
}

}  // namespace ui
