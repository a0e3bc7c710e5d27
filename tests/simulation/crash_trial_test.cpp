// Kill -9 at a random moment of a download, a Select run and a Trade run,
// and at chosen steps of a Select's removal of the old winners: the database
// stays intact, whatever was committed is what the finished run stores, a
// Select loses at most the symbol it was storing and leaves the old table
// whole or none of it, and running the stage again ends with exactly the
// rows of a run that was never killed.
#include "support/crash_trial.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "market_data/database_connection.h"
#include "simulation/simulation_table_key.h"
#include "support/engine_test_bed.h"
#include "support/quote_service_process.h"
#include "support/shipped_select.h"
#include "support/table_cells.h"

namespace {

using testsupport::TrialStage;

constexpr int kKillsPerStage = 3;

pid_t StartChild(TrialStage stage, const std::filesystem::path& folder) {
  return testsupport::StartTrialChild(KESTROVANE_CRASH_TRIAL_CHILD, testsupport::StageName(stage), folder);
}

int RunChild(TrialStage stage, const std::filesystem::path& folder, const std::string& killAfterRemoved = "") {
  return testsupport::RunTrialChild(KESTROVANE_CRASH_TRIAL_CHILD, testsupport::StageName(stage), folder,
                                    killAfterRemoved);
}

std::filesystem::path Database(const std::filesystem::path& folder) { return folder / "Vennorath.db"; }

// What a stage's tables hold, each table's rows as TableCells gives them.
using Contents = std::map<std::string, std::vector<std::string>>;

Contents Read(const std::filesystem::path& folder, TrialStage stage, std::string* integrity = nullptr) {
  db::Connection cn;
  cn.Open(Database(folder));
  if (integrity) *integrity = cn.OpenRecordset("PRAGMA integrity_check").Field(0).ToText();
  Contents contents;
  switch (stage) {
    case TrialStage::kDownload:
      contents["IBM"] = testsupport::TableCells(cn, "IBM");
      contents["Stock_Master"] = testsupport::TableCells(cn, "Stock_Master");
      break;
    case TrialStage::kSelect:
      contents[testsupport::kTrialTable] = testsupport::TableCells(cn, testsupport::kTrialTable);
      // The table's key is built at the run's end: a killed run may lack it, but leaves nothing else.
      for (db::Recordset names = cn.OpenRecordset("SELECT name FROM sqlite_master ORDER BY 1"); !names.Eof();
           names.MoveNext())
        contents["schema"].push_back(names.Field(0).ToText());
      break;
    case TrialStage::kTrade:
      contents[testsupport::kTradeTable] = testsupport::TableCells(cn, testsupport::kTradeTable);
      break;
  }
  return contents;
}

// The symbol of a simulation table row ("text:'2019-01-02' | null:NULL | text:'IBM' | ...").
std::string SymbolOf(const std::string& row) {
  size_t first = row.find(" | ", row.find(" | ") + 3) + 3;
  return row.substr(first, row.find(" | ", first) - first);
}

std::map<std::string, size_t> RowsPerSymbol(const std::vector<std::string>& rows) {
  std::map<std::string, size_t> count;
  for (const std::string& row : rows) ++count[SymbolOf(row)];
  return count;
}

// A killed Select's rows are the finished run's, each symbol's all or none.
void ExpectWholeSymbolsOf(const std::vector<std::string>& finished, const std::vector<std::string>& rows) {
  const std::set<std::string> known(finished.begin(), finished.end());
  for (const std::string& row : rows) ASSERT_TRUE(known.count(row)) << row;
  std::map<std::string, size_t> all = RowsPerSymbol(finished);
  for (const auto& [symbol, count] : RowsPerSymbol(rows)) EXPECT_EQ(count, all[symbol]) << symbol;
}

// The database every trial starts from: the shipped symbols with a year's
// history and the Select run of that year, whose table the Trade run uses.
class CrashTrialTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(testsupport::SelectShippedSymbols(bed, testsupport::kTradeTable, testsupport::kTrialStart,
                                                testsupport::kTrialEnd),
              "complete");
    Checkpoint();
  }
  void Checkpoint() { bed.Execute("PRAGMA wal_checkpoint(TRUNCATE)"); }

  // A folder holding a copy of the base database as it is now.
  std::filesystem::path FreshCopy() {
    std::filesystem::path folder = bed.Folder().File("trial" + std::to_string(folders++));
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(Database(bed.Folder().Path()), Database(folder));
    return folder;
  }

  testsupport::QuoteServiceProcess service;
  testsupport::EngineTestBed bed;
  int folders = 0;
};

TEST_F(CrashTrialTest, AKilledRunLeavesAnIntactDatabaseAndARerunCompletesIt) {
  std::random_device seedSource;
  const unsigned seed = seedSource();
  std::mt19937 random(seed);
  SCOPED_TRACE("seed " + std::to_string(seed));

  for (TrialStage stage : {TrialStage::kDownload, TrialStage::kSelect, TrialStage::kTrade}) {
    SCOPED_TRACE(testsupport::StageName(stage));
    // What a killed run may have left of each row: the row as before, as the
    // finished run left it, or (Trade) as its first statement resets it.
    const std::filesystem::path startFolder = FreshCopy();
    Contents allowed = Read(startFolder, stage);
    if (stage == TrialStage::kTrade) {
      db::Connection cn;
      cn.Open(Database(startFolder));
      cn.Execute(std::string("Update [") + testsupport::kTradeTable +
                 "] SET Bought = NULL, MaxPrice = 0, MinPrice = 0, TargetPrice = NULL, AcquirePrice = -1, Shares = "
                 "NULL, ReleaseDate = NULL, GainLoss = NULL, ReleasePrice = NULL");
      cn.Close();
      for (auto& [table, rows] : Read(startFolder, stage))
        allowed[table].insert(allowed[table].end(), rows.begin(), rows.end());
    }
    const std::filesystem::path finishedFolder = FreshCopy();
    auto t0 = std::chrono::steady_clock::now();
    ASSERT_EQ(RunChild(stage, finishedFolder), 0);
    const double runSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const Contents finished = Read(finishedFolder, stage);

    for (int trial = 0; trial < kKillsPerStage; ++trial) {
      const std::filesystem::path folder = FreshCopy();
      // (The first quarter of a run is mostly the child starting.)
      const double killAfter = std::uniform_real_distribution<double>(runSeconds / 4, runSeconds)(random);
      SCOPED_TRACE("killed after " + std::to_string(killAfter) + " s of a " + std::to_string(runSeconds) + " s run");
      pid_t pid = StartChild(stage, folder);
      ASSERT_GT(pid, 0);
      std::this_thread::sleep_for(std::chrono::duration<double>(killAfter));
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);

      std::string integrity;
      const Contents killed = Read(folder, stage, &integrity);
      EXPECT_EQ(integrity, "ok");
      for (const auto& [table, rows] : killed) {
        std::set<std::string> known(allowed.at(table).begin(), allowed.at(table).end());
        known.insert(finished.at(table).begin(), finished.at(table).end());
        for (const std::string& row : rows) ASSERT_TRUE(known.count(row)) << row;
        // A Select commits each symbol's winners together.
        if (stage == TrialStage::kSelect && table == testsupport::kTrialTable)
          ExpectWholeSymbolsOf(finished.at(table), rows);
      }

      ASSERT_EQ(RunChild(stage, folder), 0);
      EXPECT_EQ(Read(folder, stage), finished);
    }
  }
}

// A Select over an old simulation killed as it sets the old table aside and
// at chosen steps of the removal of the old winners: what the next stage
// reads is the old table whole, with its key, or the new run's rows, never a
// part of the old table; the Select run again removes what was set aside and
// ends as one never killed.
TEST_F(CrashTrialTest, AKillWhileTheOldWinnersAreRemovedLeavesTheOldTableWholeOrTheNewRunsRows) {
  // The old simulation: symbols the new run does not have, enough rows for
  // a few steps of the removal.
  constexpr int64_t kOldRows = 250000;
  const std::string table = testsupport::kTrialTable;
  ASSERT_TRUE(bed.Engine().CreateSimulationTable(table));
  bed.Execute("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
              std::to_string(kOldRows - 1) + ") INSERT INTO [" + table +
              "] (AcquireDate, Symbol, Market, Positioning) SELECT date('1990-01-01', '+' || (i / 100) || ' days'), "
              "'OLD' || (i % 100), 'ny', 'LONG' FROM n");
  Checkpoint();
  const std::filesystem::path finishedFolder = FreshCopy();
  ASSERT_EQ(RunChild(TrialStage::kSelect, finishedFolder), 0);
  const Contents finished = Read(finishedFolder, TrialStage::kSelect);

  // Killed as the old table's setting aside commits (-1), or at the first
  // yield after the removal had changed that many rows.
  const std::pair<const char*, int64_t> kills[] = {{"while the old table is set aside", -1},
                                                   {"in its first step", 0},
                                                   {"after its first step", 1},
                                                   {"half way", kOldRows / 2},
                                                   {"with every old row deleted", kOldRows},
                                                   {"in the scan after it", kOldRows + 1}};
  for (const auto& [moment, removed] : kills) {
    SCOPED_TRACE(std::string("killed ") + moment);
    const std::filesystem::path folder = FreshCopy();
    ASSERT_EQ(RunChild(TrialStage::kSelect, folder, std::to_string(removed)), -1);  // killed
    {
      db::Connection cn;
      cn.Open(Database(folder));
      EXPECT_EQ(cn.OpenRecordset("PRAGMA integrity_check").Field(0).ToText(), "ok");
      db::Recordset counts =
          cn.OpenRecordset("SELECT COUNT(*), COUNT(CASE WHEN Symbol LIKE 'OLD%' THEN 1 END) FROM [" + table + "]");
      if (counts.Field(1).ToInteger() > 0) {  // the old table, all of it and nothing else
        EXPECT_EQ(counts.Field(0).ToInteger(), kOldRows);
        EXPECT_EQ(counts.Field(1).ToInteger(), kOldRows);
        EXPECT_NE(simulation::KeyOf(cn, table), simulation::TableKey::kNone);
      } else {
        ExpectWholeSymbolsOf(finished.at(table), testsupport::TableCells(cn, table));
      }
    }
    ASSERT_EQ(RunChild(TrialStage::kSelect, folder), 0);
    EXPECT_EQ(Read(folder, TrialStage::kSelect), finished);
  }
}

}  // namespace
