#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "platform/runtime/app_folder.h"
#include "platform/runtime/error.h"
#include "simulation/engine_reports.h"
#include "simulation/report_files.h"
#include "support/temp_app_folder.h"
#include "support/write_faults.h"

namespace {

using namespace simulation;

// Appends as a sweep appends its rows: the report held open from its first row on.
void AppendHeld(const std::string& location, const std::vector<std::string>& lines) {
  HeldReport(rt::AppPath(location)).Append(lines);
}

PortfolioSlot Position() {
  PortfolioSlot s;
  s.datAcquireDate = rt::DateSerial(2004, 3, 9);
  s.strSymbol = "BRK.B";
  s.strPositioning = "LONG";
  s.datBoughtDate = rt::DateSerial(2004, 3, 10);
  s.dblAmount = 5000.5;      // ties go to the even neighbour: 5000
  s.dblAcquirePrice = 25.0;  // 200.02 shares: 200
  s.dblPercentMA = 2.25;     // 2.2
  s.dblTargetPrice = 0;
  s.datReleaseDate = rt::DateSerial(2004, 3, 15);
  s.dblReleasePrice = 26.125;  // 26.12
  s.dblGainLoss = 4.5;
  s.lngVolume = 1234567;
  s.strMarket = "ny";
  s.dblVolumeChange = -12.5;
  s.dblPriceChange = 0.375;  // 0.38
  s.dblMACD = 1.0 / 3.0;     // 0.33
  s.strBought = "B";
  return s;
}

TEST(ReportLinesTest, PositionLineHasSeventeenFieldsInTheirNumberForms) {
  EXPECT_EQ(
      AllStocksReportLine(Position()),
      "3/9/2004\tBRK.B\tLONG\t3/10/2004\t5000\t200\t2.2\t25\t0\t3/15/2004\t26.12\t4.5\t1234567\tny\t-12.5\t0.38\t0.33");
}

TEST(ReportLinesTest, PerDayLineCarriesTheAcquireDateFourthAndNoChangeColumns) {
  EXPECT_EQ(PerDayReportLine(rt::DateSerial(2004, 3, 12), Position()),
            "3/12/2004\tBRK.B\tLONG\t3/9/2004\t5000\t200\t2.2\t25\t0\t3/15/2004\t26.12\t4.5\t1234567\tny");
}

TEST(ReportLinesTest, UnfilledOrderAndOpenPositionNeverDivideByZero) {
  PortfolioSlot s = Position();
  s.dblAcquirePrice = 0;
  s.datReleaseDate = rt::Date();
  s.datBoughtDate = rt::Date();
  EXPECT_EQ(AllStocksReportLine(s), "3/9/2004\tBRK.B\tLONG\t12:00:00 AM\t5000\t0\t2.2\t0\t0\t12:00:00 "
                                    "AM\t26.12\t4.5\t1234567\tny\t-12.5\t0.38\t0.33");
}

TEST(ReportLinesTest, DayBlockListsHeldPositionsThroughTheirReleaseDay) {
  PortfolioSlot s = Position();  // acquired 3/9, released 3/15
  EXPECT_FALSE(HeldOnDay(s, rt::DateSerial(2004, 3, 8)));
  EXPECT_TRUE(HeldOnDay(s, rt::DateSerial(2004, 3, 9)));
  EXPECT_TRUE(HeldOnDay(s, rt::DateSerial(2004, 3, 15)));
  EXPECT_FALSE(HeldOnDay(s, rt::DateSerial(2004, 3, 16)));

  s.datReleaseDate = rt::Date();  // still open: listed every later day
  EXPECT_TRUE(HeldOnDay(s, rt::DateSerial(2010, 1, 1)));
  s.strBought = "";  // no release and never bought: never listed
  EXPECT_FALSE(HeldOnDay(s, rt::DateSerial(2004, 3, 9)));
}

TEST(SymbolSummaryTest, TotalsPerSymbolInOrderOfFirstAppearance) {
  SymbolSummary summary;
  summary.Add("MSFT", "LONG", 3.7);
  summary.Add("IBM", "LONG", 1);
  summary.Add("MSFT", "SHORT", -1.2);
  summary.Add("msft", "SHORT", 0.5);  // symbols compared exactly
  EXPECT_EQ(SimulationSummaryLines(summary),
            (std::vector<std::string>{"", "Symbol\tLong\tShort\tTotal\tGainLoss", "MSFT\t1\t1\t2\t2.5",
                                      "IBM\t1\t0\t1\t1", "msft\t0\t1\t1\t0.5"}));
}

TEST(SymbolSummaryTest, NoTradedRowGivesOneEmptyLine) {
  EXPECT_EQ(SimulationSummaryLines(SymbolSummary()),
            (std::vector<std::string>{"", "Symbol\tLong\tShort\tTotal\tGainLoss", "\t0\t0\t0\t0"}));
}

TEST(ReportFilesTest, LogsAreCreatedWithHeaderAndAppendedWithCrLf) {
  testsupport::TempAppFolder app;
  std::filesystem::create_directories(app.File("Reports"));
  CreateAllStocksReport();
  AppendHeld(kAllStocksReportFile, {"a\tb", "c"});
  EXPECT_EQ(testsupport::ReadFileBytes(app.File("Reports/Simulation Summary by Symbol.csv")),
            "\r\nAcquire Date\tSymbol\tPosition\tBought Date\tAmount Purchased\tShares\tPercent MA\tAcquire Price\t"
            "Target Price\tRelease Date\tRelease Price\tGainLoss\tVolume\tMarket\tVol Change\tPrice Change\tMACD\r\n"
            "a\tb\r\nc\r\n");
  CreatePerDayReport();
  CreatePerDayReport();  // created anew, not appended
  EXPECT_EQ(testsupport::ReadFileBytes(app.File("Reports/Portfolio Summary by Date.csv")),
            "\r\nDate\tSymbol\tPosition\tBought Date\tAmount Purchased\tShares\tPercent MA\tAcquire Price\t"
            "Target Price\tRelease Date\tRelease Price\tGainLoss\tVolume\tMarket\tVol Change\tPrice Change\tMACD\r\n");
}

TEST(ReportFilesTest, AFullDiskLeavesTheReportWhole) {
  testsupport::TempAppFolder app;
  std::filesystem::create_directories(app.File("Reports"));
  const std::string file = app.File("Reports/x.csv").string();
  for (auto write : {WriteReportFile, AppendHeld}) {  // a sweep's header, a sweep's row
    testsupport::WriteFileBytes(file, "header\r\nrow 1\r\n");
    testsupport::FileSizeLimit full(24);
    EXPECT_THROW(write(file, {"a row longer than the room left"}), rt::Error);
    EXPECT_EQ(testsupport::ReadFolderFiles(app.File("Reports")),
              (std::map<std::string, std::string>{{"x.csv", "header\r\nrow 1\r\n"}}));
  }
  // A later row of a report held open since its first.
  testsupport::WriteFileBytes(file, "header\r\n");
  HeldReport rows(file);
  rows.Append({"row 1"});
  testsupport::FileSizeLimit full(24);
  EXPECT_THROW(rows.Append({"a row longer than the room left"}), rt::Error);
  EXPECT_EQ(testsupport::ReadFileBytes(file), "header\r\nrow 1\r\n");
}

TEST(ReportFilesTest, TheNextWriteRemovesTheTemporaryFileOfAKilledWriter) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_GT(gone, 0);
  ::waitpid(gone, nullptr, 0);
  const std::string killed = "x.csv." + std::to_string(gone) + "-3.tmp";
  const std::string running = "x.csv." + std::to_string(::getpid()) + "-1.tmp";
  for (auto write : {WriteReportFile, AppendHeld}) {  // a sweep's header, a sweep's row
    testsupport::TempAppFolder app;
    std::filesystem::create_directories(app.File("Reports"));
    for (const std::string& name : {killed, running}) testsupport::WriteFileBytes(app.File("Reports") / name, "x");
    write(app.File("Reports/x.csv").string(), {"row"});
    EXPECT_EQ(testsupport::ReadFolderFiles(app.File("Reports")),
              (std::map<std::string, std::string>{{"x.csv", "row\r\n"}, {running, "x"}}));
  }
}

TEST(ReportFilesTest, MissingReportsFolderFailsAndIsNotCreated) {
  testsupport::TempAppFolder app;
  try {
    AppendHeld(kPerDayReportFile, {""});
    FAIL() << "expected an error";
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), rt::kErrPathNotFound);
  }
  EXPECT_FALSE(std::filesystem::exists(app.File("Reports")));
}

}  // namespace
