#pragma once
// The sweeps' test windows: a loaded main window whose current simulation is
// a small hand-made table (the candidates of two weeks of March 2004 as the
// Trade stage leaves them), with SimStatus so that sweeps can pause; and the
// helpers that read the sweeps' reports.
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

class SweepWindowTest : public WindowTest {
 protected:
  // On the Portfolio tab, the period 3/1/2004 to 3/14/2004.
  ui::frmMain& PortfolioWindow();
};
