// Kill -9 at random moments of a portfolio sweep run through the main window:
// the database stays intact, and the sweep resumed after the kills ends with
// exactly the report rows of a sweep that was never killed, and no pause row.
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "crash_trial/portfolio_sweep_stage.h"
#include "market_data/database_connection.h"
#include "support/crash_trial.h"
#include "sweep_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr int kKills = 3;
constexpr const char* kChild = KESTROVANE_CRASH_TRIAL_CHILD;

size_t LinesIn(const fs::path& report) {
  if (!fs::exists(report)) return 0;
  const std::string text = testsupport::ReadFileBytes(report);
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

std::string Query(const fs::path& folder, const std::string& sql) {
  db::Connection cn;
  cn.Open(folder / "Vennorath.db");
  return cn.OpenRecordset(sql).Field(0).ToText();
}

}  // namespace

// A kill between a variation's row and the move of the pause row to the next
// variation is the hard moment (about one kill in seven lands there).
TEST_F(SweepWindowTest, AKilledPortfolioSweepResumesToTheRowsOfOneNeverKilled) {
  PortfolioWindow();
  const fs::path report = fs::relative(DefaultPortfolioReport(), home.Path());
  window.reset();
  Query(home.Path(), "PRAGMA wal_checkpoint(TRUNCATE)");
  auto freshCopy = [&](const std::string& name) {
    fs::create_directories(home.File(name));
    fs::copy_file(home.File("Vennorath.db"), home.File(name) / "Vennorath.db");
    return home.File(name);
  };
  const fs::path reference = freshCopy("reference");
  ASSERT_EQ(testsupport::RunTrialChild(kChild, "sweep", reference), 0);
  const std::vector<std::string> all = ReportLines(reference / report);
  ASSERT_EQ(all.size(), crashtrial::kSweepVariations + 1u);

  std::random_device seedSource;
  const unsigned seed = seedSource();
  std::mt19937 random(seed);
  SCOPED_TRACE("seed " + std::to_string(seed));
  const fs::path trial = freshCopy("trial");
  for (int k = 0; k < kKills; ++k) {
    // Killed once the report holds a few more lines, a random part of a variation later.
    const size_t lines = LinesIn(trial / report) + std::uniform_int_distribution<size_t>(0, 12)(random);
    const std::chrono::microseconds later(std::uniform_int_distribution<int>(0, 2000)(random));
    SCOPED_TRACE("killed at " + std::to_string(lines) + " lines + " + std::to_string(later.count()) + " us");
    pid_t pid = testsupport::StartTrialChild(kChild, "sweep", trial);
    ASSERT_GT(pid, 0);
    bool exited = false;
    while (LinesIn(trial / report) < lines && !(exited = waitpid(pid, nullptr, WNOHANG) == pid))
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    if (!exited) {
      std::this_thread::sleep_for(later);
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    EXPECT_EQ(Query(trial, "PRAGMA integrity_check"), "ok");
  }

  ASSERT_EQ(testsupport::RunTrialChild(kChild, "sweep", trial), 0);
  EXPECT_EQ(ReportLines(trial / report), all);
  EXPECT_EQ(Query(trial, "SELECT COUNT(*) FROM SimStatus WHERE PortCount <> 0"), "0");
}
