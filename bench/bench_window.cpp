// The window beside the engine on a whole market: bench_scale's made-up
// quotes of N symbols, and a Select with no criterion (every day a LONG and a
// SHORT winner) over their twenty years, run
//   - by the engine alone, each winner stored as the window stores it, and
//   - through the main window: Simulate on the Select tab, the results window
//     shown as the program's start shows it, the event loop served at every
//     yield as the program serves it; then clicks on two headers.
// It prints both wall times and their ratio, the winners the list holds
// against the rows of the simulation table, each process's peak memory, the
// longest time the window went without its event loop during the Select and
// during the sorts (and where the Select's longest one ended), the time of a
// sort by a text column and by a number column, and how long one Ctrl+End
// takes to reach the list's last row (with what the view's item for each
// row laid out adds to the heap).
//
// Each N runs in its own child processes: one downloads the quotes into the
// application folder, one runs the engine alone, one the window; the quotes
// and the folder are temporary and removed at the end.
//
// Usage: bench_window [--large] [--only N] [--cap SECONDS]   (N = 50 and 200;
// --large adds 1,000; --only runs one N; --cap stops the window's Select
// after that long, for a window that would not finish in reasonable time)
#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "market_data/cls_research.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/app_folder.h"
#include "platform/user/scripted_user_services.h"
#include "support/quote_service_process.h"
#include "support/temp_app_folder.h"
#include "synthetic_market.h"
#include "ui/main_window.h"
#include "ui/pace.h"
#include "ui/results_window.h"
#include "ui/settings_files.h"

namespace {

int gArgc = 1;
char* gArgv[] = {const_cast<char*>("bench_window"), nullptr};

// The engine as the benchmark children make it: the run parameters as the
// windows first show them, on the database of the application folder.
std::unique_ptr<clsResearch> NewEngine() {
  Parms() = RunParameters::DesignDefaults();
  return std::make_unique<clsResearch>();
}

// Imports the symbols and downloads their quotes (a Select with RSI).
void DownloadMarket() {
  user::ScopedScriptedUser user;
  std::unique_ptr<clsResearch> engine = NewEngine();
  if (!engine->ImportNewStocks(rt::AppPath("SymbolList").string()))
    throw std::runtime_error("the symbol import failed");
  bench::SetDownloadingSelect(Parms());
  bench::WinnerStore winners(*engine);
  engine->SetListener(&winners);
  bench::TimedSelect(*engine, "sim_download");
}

void EngineAlone(int count) {
  user::ScopedScriptedUser user;
  std::unique_ptr<clsResearch> engine = NewEngine();
  Parms().blnNoWinCriteria = true;
  bench::WinnerStore winners(*engine);
  engine->SetListener(&winners);
  std::printf("window_engine_alone_%d: %.2f s\n", count, bench::TimedSelect(*engine, "sim_engine"));
  std::printf("window_engine_alone_peak_rss_%d: %.0f MiB\n", count, bench::PeakMiB());
}

// The longest time between two passes of the event loop, measured by a
// timer that asks to run every 10 ms and runs only when the loop is served.
class EventLoopGaps {
 public:
  explicit EventLoopGaps(std::function<QString()> where) : where_(std::move(where)) {
    clock_.start();
    QObject::connect(&timer_, &QTimer::timeout, [this] { Served(); });
  }
  void Start() {
    longest_ = 0;
    last_ = clock_.elapsed();
    started_ = last_;
    timer_.start(10);
  }
  void Stop() {
    Served();
    timer_.stop();
  }
  qint64 LongestMs() const { return longest_; }
  double EndedAtSeconds() const { return (longestEnd_ - started_) / 1e3; }
  const QString& Where() const { return longestWhere_; }

 private:
  void Served() {
    const qint64 now = clock_.elapsed();
    if (now - last_ > longest_) {
      longest_ = now - last_;
      longestEnd_ = now;
      longestWhere_ = where_();
    }
    last_ = now;
  }

  std::function<QString()> where_;
  QElapsedTimer clock_;
  QTimer timer_;
  qint64 last_ = 0, started_ = 0, longest_ = 0, longestEnd_ = 0;
  QString longestWhere_;
};

// The bytes the heap holds now (resident or not).
size_t HeapInUse() {
  const struct mallinfo2 heap = mallinfo2();
  return heap.uordblks + heap.hblkhd;
}

void ThroughTheWindow(int count, double capSeconds) {
  QApplication application(gArgc, gArgv);
  user::ScopedScriptedUser user;
  // Yields serve the event loop as the program's own user services do.
  ui::Pace yieldPace(ui::kDisplayInterval);
  user->OnDoEvents([&yieldPace](int) {
    if (yieldPace.Due()) QCoreApplication::processEvents();
  });
  Parms() = RunParameters();
  user->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage)
      .AnswerMsgBox(user::kAnswerOK, ui::kNotPropertiesFileMessage);
  ui::frmMain w;
  w.showTutorialModally = [](ui::frmTutorial&) { return 1; };
  w.Form_Load();
  ui::frmResults& results = ui::ResultsWindow();
  results.show();
  w.show();

  w.tabResearch->setCurrentIndex(0);
  for (int box = 0; box <= 3; ++box) w.Check("chkSimOption", box)->SetValue(0);
  for (const char* box : {"chkUseADX", "chkUseMA", "chkUseMinVol", "chkUpdateData", "chkCalculateResults"})
    w.Check(box)->SetValue(0);
  w.Option("optStockSelection", 0)->SetValue(true);
  w.Picker("dteSimDate", 0)->SetValue(bench::kPeriodStart);
  w.Picker("dteSimDate", 1)->SetValue(bench::kPeriodEnd);
  user->AnswerSaveFile(rt::AppPath("\\Simulations\\loose.sim").string(), "Save Simulation");

  QLabel* progress = w.Label("lblCurrStock", 1);
  EventLoopGaps gaps([progress] { return progress->text(); });
  bool capped = false;
  QTimer cap;
  cap.setSingleShot(true);
  QObject::connect(&cap, &QTimer::timeout, [&] {
    capped = true;
    if (w.objResearch) w.objResearch->StopProcess(true);
  });
  if (capSeconds > 0) cap.start(static_cast<int>(capSeconds * 1000));

  gaps.Start();
  auto t = bench::Clock::now();
  w.cmdSimulate_Click();
  const double select = bench::Seconds(t);
  gaps.Stop();
  cap.stop();
  QCoreApplication::processEvents();
  const long listed = results.lvwWinners->Count();
  const long rows = std::stol(w.objResearch->QueryDB("SELECT COUNT(*) FROM [sim_loose]"));
  std::printf("window_select_%d: %.2f s%s (%s)\n", count, select, capped ? " (stopped at the cap)" : "",
              progress->text().toStdString().c_str());
  std::printf("window_listed_%d: %ld of %ld table rows, %d of them laid out by the view\n", count, listed, rows,
              results.lvwWinners->model()->rowCount());
  std::printf("window_select_peak_rss_%d: %.0f MiB\n", count, bench::PeakMiB());
  std::printf("window_select_longest_gap_%d: %lld ms, ending %.1f s into the run (%s)\n", count, gaps.LongestMs(),
              gaps.EndedAtSeconds(), gaps.Where().toStdString().c_str());
  std::fflush(stdout);

  // Clicks on "Symbol" (texts) and on "MACD" (numbers, sorted as their
  // texts), as the user makes them.
  ui::ListView& list = *results.lvwWinners;
  for (const auto& [column, name] : {std::pair{2, "symbol"}, std::pair{6, "macd"}}) {
    gaps.Start();
    t = bench::Clock::now();
    emit list.header()->sectionClicked(column);
    QCoreApplication::processEvents();
    const double sort = bench::Seconds(t);
    gaps.Stop();
    std::printf("window_sort_%s_%d: %.2f s over %ld rows, longest gap %lld ms\n", name, count, sort,
                static_cast<long>(list.Count()), gaps.LongestMs());
  }
  std::printf("window_peak_rss_%d: %.0f MiB\n", count, bench::PeakMiB());
  // Every winner is reachable: one Ctrl+End, as the user presses it, shows
  // the list's last row (the view then lays out every row, as Qt's views
  // do, and keeps an item for each: the heap's growth says what that costs).
  const size_t heapBefore = HeapInUse();
  const int laidOutBefore = list.model()->rowCount();
  gaps.Start();
  t = bench::Clock::now();
  QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
  QCoreApplication::sendEvent(&list, &end);
  QCoreApplication::processEvents();
  const double reached = bench::Seconds(t);
  gaps.Stop();
  const double grown = static_cast<double>(HeapInUse()) - static_cast<double>(heapBefore);
  std::printf("window_ctrl_end_%d: row %d of %d current, %.2f s, longest gap %lld ms, peak %.0f MiB, heap %+.0f MiB "
              "(%.0f bytes a row laid out)\n",
              count, list.currentIndex().row() + 1, list.Count(), reached, gaps.LongestMs(), bench::PeakMiB(),
              grown / (1 << 20), grown / std::max(1, list.model()->rowCount() - laidOutBefore));
  delete &results;
}

void RunAtScale(int count, double capSeconds) {
  bench::ScratchFolder quotes;
  testsupport::TempAppFolder home;
  rt::EnsureAppFolders();
  bench::WriteMarket(quotes.Path(), home.File("SymbolList"), count);
  testsupport::QuoteServiceProcess service(quotes.Path());
  const std::string name = "N = " + std::to_string(count);
  if (!bench::RunChild(name + ", download", DownloadMarket)) throw std::runtime_error("the download failed");
  bool done = bench::RunChild(name + ", engine alone", [count] { EngineAlone(count); });
  done = bench::RunChild(name + ", window", [count, capSeconds] { ThroughTheWindow(count, capSeconds); }) && done;
  if (!done) throw std::runtime_error("a run failed");
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  std::vector<int> counts{50, 200};
  double capSeconds = 0;
  for (int a = 1; a < argc; ++a) {
    if (std::strcmp(argv[a], "--large") == 0) {
      counts.push_back(1000);
    } else if (std::strcmp(argv[a], "--only") == 0 && a + 1 < argc) {
      counts = {std::atoi(argv[++a])};
    } else if (std::strcmp(argv[a], "--cap") == 0 && a + 1 < argc) {
      capSeconds = std::atof(argv[++a]);
    } else {
      std::fprintf(stderr, "usage: bench_window [--large] [--only N] [--cap SECONDS]\n");
      return 2;
    }
  }
  bool allFinished = true;
  for (int count : counts)
    allFinished =
        bench::RunChild("N = " + std::to_string(count), [&] { RunAtScale(count, capSeconds); }) && allFinished;
  return allFinished ? 0 : 1;
}
