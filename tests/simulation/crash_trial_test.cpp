// Kill -9 at a random moment of a download, a Select run and a Trade run:
// the database stays intact, whatever was committed is what the finished
// run stores, a Select loses at most the symbol it was storing, and running
// the stage again ends with exactly the rows of a run that was never killed.
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

int RunChild(TrialStage stage, const std::filesystem::path& folder) {
  return testsupport::RunTrialChild(KESTROVANE_CRASH_TRIAL_CHILD, testsupport::StageName(stage), folder);
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

TEST(CrashTrialTest, AKilledRunLeavesAnIntactDatabaseAndARerunCompletesIt) {
  testsupport::QuoteServiceProcess service;
  testsupport::EngineTestBed bed;
  // The database every trial starts from: the shipped symbols with a year's
  // history and the Select run of that year, whose table the Trade run uses.
  ASSERT_EQ(testsupport::SelectShippedSymbols(bed, testsupport::kTradeTable, testsupport::kTrialStart,
                                              testsupport::kTrialEnd),
            "complete");
  bed.Execute("PRAGMA wal_checkpoint(TRUNCATE)");
  const std::filesystem::path base = Database(bed.Folder().Path());

  std::random_device seedSource;
  const unsigned seed = seedSource();
  std::mt19937 random(seed);
  SCOPED_TRACE("seed " + std::to_string(seed));
  int folders = 0;
  auto freshCopy = [&] {
    std::filesystem::path folder = bed.Folder().File("trial" + std::to_string(folders++));
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(base, Database(folder));
    return folder;
  };

  for (TrialStage stage : {TrialStage::kDownload, TrialStage::kSelect, TrialStage::kTrade}) {
    SCOPED_TRACE(testsupport::StageName(stage));
    // What a killed run may have left of each row: the row as before, as the
    // finished run left it, or (Trade) as its first statement resets it.
    const std::filesystem::path startFolder = freshCopy();
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
    const std::filesystem::path finishedFolder = freshCopy();
    auto t0 = std::chrono::steady_clock::now();
    ASSERT_EQ(RunChild(stage, finishedFolder), 0);
    const double runSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const Contents finished = Read(finishedFolder, stage);

    for (int trial = 0; trial < kKillsPerStage; ++trial) {
      const std::filesystem::path folder = freshCopy();
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
        if (stage == TrialStage::kSelect && table == testsupport::kTrialTable) {
          std::map<std::string, size_t> all = RowsPerSymbol(finished.at(table));
          for (const auto& [symbol, count] : RowsPerSymbol(rows)) EXPECT_EQ(count, all[symbol]) << symbol;
        }
      }

      ASSERT_EQ(RunChild(stage, folder), 0);
      EXPECT_EQ(Read(folder, stage), finished);
    }
  }
}

}  // namespace
