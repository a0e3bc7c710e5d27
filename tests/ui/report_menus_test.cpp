// The Reports menu, the opening of report files, and Help > Contents.
#include "platform/runtime/app_folder.h"
#include "ui/startup.h"
#include "window_fixture.h"

namespace {

namespace fs = std::filesystem;

const char* kHeaderTail =
    "Symbol\tPosition\tBought Date\tAmount Purchased\tShares\tPercent MA\tAcquire Price\tTarget Price\t"
    "Release Date\tRelease Price\tGainLoss\tVolume\tMarket\tVol Change\tPrice Change\tMACD\r\n";

fs::path Report(const std::string& name) { return rt::AppFolder() / "Reports" / name; }

// The help file of the program run, put back after the test.
class HelpFileScope {
 public:
  explicit HelpFileScope(std::string file) : previous_(ui::AppHelpFile()) { ui::AppHelpFile() = std::move(file); }
  ~HelpFileScope() { ui::AppHelpFile() = previous_; }

 private:
  std::string previous_;
};

}  // namespace

TEST_F(WindowTest, EachReportSwitchOnStartsItsFileAfresh) {
  ui::frmMain& w = LoadedWindow();
  QAction* allStocks = w.Menu("mnuReportAllStocks");
  allStocks->trigger();
  EXPECT_TRUE(Parms().blnAllStocksReport);
  EXPECT_TRUE(allStocks->isChecked());
  const fs::path file = Report("Simulation Summary by Symbol.csv");
  testsupport::WriteFileBytes(file, ReadText(file) + "a row of a replay\r\n");

  allStocks->trigger();  // off: the file stays as it is
  EXPECT_FALSE(Parms().blnAllStocksReport);
  EXPECT_FALSE(allStocks->isChecked());
  EXPECT_NE(ReadText(file).find("a row of a replay"), std::string::npos);
  allStocks->trigger();  // on again: only the empty line and the header
  EXPECT_EQ(ReadText(file), std::string("\r\nAcquire Date\t") + kHeaderTail);

  QAction* perDay = w.Menu("mnuReportStockperDay");
  perDay->trigger();
  EXPECT_TRUE(Parms().blnPerDayReport);
  EXPECT_TRUE(perDay->isChecked());
  EXPECT_EQ(ReadText(Report("Portfolio Summary by Date.csv")), std::string("\r\nDate\t") + kHeaderTail);
}

TEST_F(WindowTest, AReportThatCannotBeStartedLeavesItsSwitchOff) {
  ui::frmMain& w = LoadedWindow();
  fs::remove_all(rt::AppFolder() / "Reports");
  scripted->AnswerMsgBox(user::kAnswerOK, "Path not found");
  w.Menu("mnuReportStockperDay")->trigger();
  EXPECT_FALSE(Parms().blnPerDayReport);
  EXPECT_FALSE(w.Menu("mnuReportStockperDay")->isChecked());
}

TEST_F(WindowTest, TheSummaryWithoutASimulationIsReportedAndNothingOpens) {
  ui::frmMain& w = LoadedWindow();
  scripted->AnswerMsgBox(user::kAnswerOK, "This Report cannot be run now.");
  w.Menu("mnuReportSimSum")->trigger();
  EXPECT_TRUE(scripted->OpenedFiles().empty());
}

TEST_F(WindowTest, OpeningAReportCopyPassesOverACopyThatCannotBeReplaced) {
  ui::frmMain& w = LoadedWindow();
  const fs::path report = Report("x.csv");
  testsupport::WriteFileBytes(report, "rows\r\n");

  EXPECT_TRUE(w.OpenFileWithDefaultApp(report.string(), true));
  EXPECT_EQ(scripted->OpenedFiles().back(), Report("x_tmp1.csv").string());
  EXPECT_EQ(ReadText(Report("x_tmp1.csv")), "rows\r\n");

  // The first copy is replaced by a fresh one when it can be.
  testsupport::WriteFileBytes(report, "more rows\r\n");
  EXPECT_TRUE(w.OpenFileWithDefaultApp(report.string(), true));
  EXPECT_EQ(scripted->OpenedFiles().back(), Report("x_tmp1.csv").string());
  EXPECT_EQ(ReadText(Report("x_tmp1.csv")), "more rows\r\n");

  // A first copy that cannot be deleted (held by its application) is passed over.
  fs::remove(Report("x_tmp1.csv"));
  fs::create_directories(Report("x_tmp1.csv") / "held");
  EXPECT_TRUE(w.OpenFileWithDefaultApp(report.string(), true));
  EXPECT_EQ(scripted->OpenedFiles().back(), Report("x_tmp2.csv").string());

  // Opening the report itself removes the copies that can go, and only them.
  for (const char* mine : {"x_tmp_notes.csv", "x_tmp3.txt", "x_tmp04.csv"})
    testsupport::WriteFileBytes(Report(mine), "");
  EXPECT_TRUE(w.OpenFileWithDefaultApp(report.string(), false));
  EXPECT_EQ(scripted->OpenedFiles().back(), report.string());
  EXPECT_FALSE(fs::exists(Report("x_tmp2.csv")));
  EXPECT_TRUE(fs::exists(report));
  for (const char* mine : {"x_tmp_notes.csv", "x_tmp3.txt", "x_tmp04.csv"})
    EXPECT_TRUE(fs::exists(Report(mine))) << mine;
}

TEST_F(WindowTest, OpeningAReportReportsWhatWentWrong) {
  ui::frmMain& w = LoadedWindow();
  // Nothing to open: true, and nothing is handed over.
  EXPECT_TRUE(w.OpenFileWithDefaultApp("", false));
  EXPECT_TRUE(w.OpenFileWithDefaultApp(Report("missing.csv").string(), true));
  EXPECT_TRUE(scripted->OpenedFiles().empty());

  const fs::path report = Report("y.csv");
  testsupport::WriteFileBytes(report, "rows\r\n");
  scripted->SetOpenWithDefaultAppResult(false);
  scripted->AnswerMsgBox(user::kAnswerOK, "No application is registered for .csv files.");
  EXPECT_FALSE(w.OpenFileWithDefaultApp(report.string(), false));
  EXPECT_EQ(scripted->Prompts().back().style, user::kInformation);
  EXPECT_EQ(scripted->Prompts().back().title, "Kestrovane");

  // Every copy name taken by something that cannot be deleted: the search
  // ends with the error message instead of going on for ever.
  scripted->SetOpenWithDefaultAppResult(true);
  for (int n = 1; n <= 100; ++n) fs::create_directories(Report("y_tmp" + std::to_string(n) + ".csv") / "held");
  scripted->AnswerMsgBox(user::kAnswerOK, "An error occurred attempting to display progress report.");
  EXPECT_FALSE(w.OpenFileWithDefaultApp(report.string(), true));
  EXPECT_EQ(scripted->OpenedFiles().size(), 1u);  // only the attempt before
}

TEST_F(WindowTest, HelpContentsOpensTheHelpPageOrSaysThereIsNone) {
  ui::frmMain& w = LoadedWindow();
  {
    HelpFileScope none("");
    scripted->AnswerMsgBox(user::kAnswerOK,
                           "Unable to display Help Contents. There is no Help associated with this project.");
    w.Menu("mnuContents")->trigger();
    EXPECT_EQ(scripted->Prompts().back().title, "KESTROVANE");  // the window's caption
    EXPECT_TRUE(scripted->ShownHelpFiles().empty());
  }
  const std::string page = (rt::AppFolder() / "help" / "index.html").string();
  HelpFileScope help(page);
  w.Menu("mnuContents")->trigger();
  ASSERT_EQ(scripted->ShownHelpFiles().size(), 1u);
  EXPECT_EQ(scripted->ShownHelpFiles()[0], page);

  scripted->SetShowHelpContentsResult(false);
  scripted->AnswerMsgBox(user::kAnswerOK, "could not be shown");
  w.Menu("mnuContents")->trigger();
}
