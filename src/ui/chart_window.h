#pragma once
// frmChart: the account history of the last portfolio run (mscChart, filled
// by the main window's Graph button) above the closes of a market index over
// the same days (mscChart2, drawn here). Modeless; OK unloads it, and the
// next Graph loads it again.
#include <QPushButton>
#include <QWidget>

#include "ui/controls.h"
#include "ui/line_chart.h"

namespace ui {

class frmMain;

class frmChart : public QWidget {
 public:
  // Loading the window draws the index chart at once.
  explicit frmChart(frmMain& owner);

  LineChart* mscChart = nullptr;
  LineChart* mscChart2 = nullptr;
  QPushButton* cmdShowIndex = nullptr;
  QPushButton* OKButton = nullptr;
  OptionButton* optShowIndex(int index) const { return controls_.Get<OptionButton>("optShowIndex", index); }

  // Draws the closes of the chosen index ("^DJI" for option 0, else "^IXIC")
  // from the first to the last day of the account history. A failure (no
  // portfolio built yet, no index history) goes to the error log and the
  // chart keeps what it showed.
  void cmdShowIndex_Click();
  void optShowIndex_Click(int index);
  void OKButton_Click();
  // True once the window was unloaded (OK or its close box).
  bool Unloaded() const { return unloaded_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void DrawIndexChart();

  frmMain& owner_;
  ControlCollection controls_;
  bool unloaded_ = false;
};

// "MM/DD" and "MM/DD/YY" of a day.
std::string MonthDayText(rt::Date day);
std::string MonthDayYearText(rt::Date day);

}  // namespace ui
