#include "sweep_fixture.h"

#include <filesystem>
#include <sstream>

#include "optimiser/sweep_reports.h"
#include "simulation/simulation_table_rows.h"

ui::frmMain& SweepWindowTest::PortfolioWindow() {
  ui::frmMain& w = LoadedWindow();
  w.objResearch->CreateTable_Master();  // with SimStatus
  Parms().strSimTable = "sim_March";
  w.objResearch->CreateSimulationTable("sim_March");
  auto add = [](simtest::Row row) { simtest::Insert("sim_March", row); };
  add({"#3/1/2004#", "AAA", "ny", "LONG", 20, -5, 1000000, "'B'", "#3/2/2004#", "#3/5/2004#", "22", "10"});
  add({"#3/1/2004#", "BBB", "ny", "LONG", 30, 2, 1000000, "'B'", "#3/2/2004#", "#3/4/2004#", "29", "-3.33"});
  add({"#3/2/2004#", "CCC", "ns", "SHORT", 40, 7, 1000000, "'B'", "#3/3/2004#", "#3/8/2004#", "42", "-5"});
  add({"#3/3/2004#", "DDD", "ny", "LONG", 25, 0, 1000000, "'B'", "#3/4/2004#", "#3/5/2004#", "26", "4"});
  add({"#3/8/2004#", "EEE", "ns", "LONG", 10, -1, 1000000, "'B'", "#3/9/2004#", "#3/12/2004#", "10.5", "5"});
  add({"#3/11/2004#", "FFF", "ny", "SHORT", 50, 4, 1000000, "'B'", "#3/12/2004#", "#3/13/2004#", "49", "2"});
  w.Picker("dteSimDate", 0)->SetValue(rt::DateSerial(2004, 3, 1));
  w.Picker("dteSimDate", 1)->SetValue(rt::DateSerial(2004, 3, 14));
  w.tabResearch->setCurrentIndex(2);
  w.cmdSMART_Click(0);  // on: a ticked box makes Simulate a sweep
  return w;
}

std::vector<std::string> ReportLines(const std::string& path) {
  std::string text = testsupport::ReadFileBytes(path);
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "a line without its CR LF";
  return lines;
}

std::vector<std::string> ReportCells(const std::string& line) {
  std::vector<std::string> cells;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
    cells.push_back(line.substr(start, tab - start));
  cells.push_back(line.substr(start));
  return cells;
}

std::string DefaultPortfolioReport() {
  return optimiser::ReportPath(optimiser::kPortfolioReportFolder,
                               optimiser::ReportFileName(optimiser::kPortfolioReportPrefix, Parms().strSimTable));
}

std::string DefaultTradeReport() {
  return optimiser::ReportPath(optimiser::kTradeReportFolder,
                               optimiser::ReportFileName(optimiser::kTradeReportPrefix, Parms().strSimTable));
}

void AcceptSweep(user::ScriptedUserServices& user, int variations, const std::string& path) {
  user.AnswerMsgBox(user::kAnswerYes, "This report will yield " + std::to_string(variations) + " variations.");
  user.AnswerSaveFile(path, "Save S.M.A.R.T. Report");
}

void AnswerChangedPlan(user::ScriptedUserServices& user, ThenEdited edited) {
  user.AnswerMsgBox(edited == ThenEdited::kStartedAfresh ? user::kAnswerNo : user::kAnswerYes,
                    "The S.M.A.R.T. settings have changed since this sweep stopped. Do you wish to resume it as "
                    "planned?");
}

void PrintTo(const InterruptCase& c, std::ostream* os) { *os << c.name; }

std::string InterruptCaseName(const ::testing::TestParamInfo<InterruptCase>& info) { return info.param.name; }

void InterruptSweepAt(user::ScriptedUserServices& user, ui::frmMain& w, QLabel* caption, const InterruptCase& c,
                      const std::string& report) {
  namespace fs = std::filesystem;
  const std::string aside = report + ".aside";
  user.OnDoEvents([&user, &w, caption, c, report, aside](int) {
    if (caption->text() != c.at || w.objResearch->StopProcess() || fs::exists(aside)) return;
    if (c.how == Interrupt::kPause) return w.cmdPauseSim_Click();
    if (c.how == Interrupt::kStop) {
      user.AnswerMsgBox(user::kAnswerYes, "Do you wish to stop this process before it completes?");
      return w.cmdStopSim_Click();
    }
    // The report goes aside and a folder takes its place: the next row cannot be written.
    fs::copy_file(report, aside);
    fs::remove(report);
    fs::create_directory(report);
    user.AnswerMsgBox(user::kAnswerOK, "could not be written");
  });
}

void RestoreReport(const InterruptCase& c, const std::string& report) {
  if (c.how != Interrupt::kError) return;
  std::filesystem::remove(report);
  std::filesystem::rename(report + ".aside", report);
}
