#pragma once
// The sweeps' test windows: a loaded main window whose current simulation is
// a small hand-made table (the candidates of two weeks of March 2004 as the
// Trade stage leaves them), with SimStatus so that sweeps can pause; and the
// helpers that read the sweeps' reports.
#include <QLabel>
#include <ostream>
#include <string>
#include <vector>

#include "window_fixture.h"

// The lines of a report file without their CR LF (every line must end so).
std::vector<std::string> ReportLines(const std::string& path);
// The TAB-separated cells of a line.
std::vector<std::string> ReportCells(const std::string& line);
// The proposed paths of the two sweeps' reports for the current simulation.
std::string DefaultPortfolioReport();
std::string DefaultTradeReport();
// The user answers a sweep's count question with Yes and picks the file.
void AcceptSweep(user::ScriptedUserServices& user, int variations, const std::string& path);

// A Pause, a Stop or an error at the variation whose caption reads `at`; the
// report then holds the first rowsKept rows. Before the sweep is started
// again a field of its plan may be changed, and the question that follows
// answered: resume as planned (at once, or after a Cancel, or after choosing
// the new plan and then declining it, neither of which runs anything), or
// start the new plan afresh.
enum class Interrupt { kPause, kStop, kError };
enum class ThenEdited { kNo, kResumedAsPlanned, kCancelledThenResumed, kAfreshDeclinedThenResumed, kStartedAfresh };
struct InterruptCase {
  const char* name;
  Interrupt how;
  const char* at;
  size_t rowsKept;
  ThenEdited edited = ThenEdited::kNo;
  bool reportFolderMoved = false;  // before the resume: the recorded path leads nowhere
};
// What the user answers when Simulate finds the stopped sweep's plan changed.
void AnswerChangedPlan(user::ScriptedUserServices& user, ThenEdited edited);
void PrintTo(const InterruptCase& c, std::ostream* os);
std::string InterruptCaseName(const ::testing::TestParamInfo<InterruptCase>& info);
// Makes the interruption when the caption reads c.at: presses Pause, or Stop
// (confirmed), or puts a folder in the report's place so that the
// variation's row cannot be written (RestoreReport puts the report back).
void InterruptSweepAt(user::ScriptedUserServices& user, ui::frmMain& w, QLabel* caption, const InterruptCase& c,
                      const std::string& report);
void RestoreReport(const InterruptCase& c, const std::string& report);

class SweepWindowTest : public WindowTest {
 protected:
  // On the Portfolio tab with S.M.A.R.T. on, the period 3/1/2004 to 3/14/2004.
  ui::frmMain& PortfolioWindow();
};
