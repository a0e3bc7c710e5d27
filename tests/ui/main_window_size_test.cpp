// The main window's size: it fits a small laptop screen, and the texts a run
// writes into it never change its size.
#include <QCoreApplication>
#include <QGroupBox>

#include "run_fixture.h"
#include "widget_input.h"

namespace {

// A 1366 x 768 screen less a title bar and a desktop panel.
bool FitsASmallScreen(QSize size) { return size.width() <= 1366 && size.height() <= 768 - 60; }

}  // namespace

TEST_F(WindowTest, TheMainWindowFitsASmallScreenAndShowsItsResultsWholeAtItsSmallest) {
  ui::frmMain& w = LoadedWindow();
  w.show();
  QCoreApplication::processEvents();
  EXPECT_TRUE(FitsASmallScreen(w.size()));
  EXPECT_TRUE(FitsASmallScreen(w.minimumSizeHint()));
  // Also with S.M.A.R.T. on and every range of the Trade and Portfolio pages shown.
  const QSize before = w.size();
  w.cmdSMART_Click(0);
  for (int page : {1, 2}) {
    w.tabResearch->setCurrentIndex(page);
    for (ui::CheckBox* box : w.tabResearch->widget(page)->findChildren<ui::CheckBox*>())
      if (!box->isHidden() && box->isEnabled()) box->SetValue(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.size(), before) << page;
    EXPECT_TRUE(FitsASmallScreen(w.minimumSizeHint())) << page;
  }

  // The figures of a long run, in the window at its smallest.
  double average = 2.5, hold = 12.25, balance = 1234567;
  int16_t shorts = 120, longs = 117, winners = 237, losers = 40;
  int32_t start = 15000;
  w.Results(average, hold, shorts, longs, winners, losers, balance, start);
  int32_t tradeShorts = 1200, tradeLongs = 1170, tradeWinners = 237, tradeLosers = 40;
  double unused = 0, tradeAverage = 1.25;
  w.BuySellResults(tradeAverage, tradeShorts, tradeLongs, tradeWinners, tradeLosers, unused, unused);
  w.resize(w.minimumSizeHint());
  QCoreApplication::processEvents();
  for (QGroupBox* frame : w.findChildren<QGroupBox*>()) {
    if (frame->title() != "Trade Results" && frame->title() != "Portfolio Results") continue;
    for (QLabel* label : frame->findChildren<QLabel*>())
      EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(label->text()))
          << label->text().toStdString();
  }
}

// The status texts wrap in their frame, so that each is read whole, on a
// 1366 x 768 screen (maximised, and at the size the window opens with).
TEST_F(RunWindowTest, LongStatusTextsShowWholeAndKeepTheWindowsSize) {
  ui::frmMain& w = ReadyWindow();
  w.show();
  QCoreApplication::processEvents();
  Parms().blnUseInternet = false;  // no index history can be had: the Select cannot complete
  ChooseSimulationFile("noindex");
  scripted->AnswerMsgBox(user::kAnswerOK, "Connect to Internet to Get Data.");
  w.cmdSimulate_Click();
  ASSERT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Stopped: the Select run could not complete");
  // The longest of the other texts a run leaves there.
  w.Label("Label1", 4)
      ->setText("17 rows (AAPL 12/30/2020 LONG, AAPL 12/30/2020 SHORT, MSFT 12/30/2020 LONG and 14 more) could not be "
                "traded: not enough stored history after the signal day. A later period end, or a Select run with "
                "Update Data ticked, stores the days they need. 1 row (NFLX 12/29/2020 SHORT) could not be traded: "
                "its stored history holds a value that is not a price.");
  w.Label("lblStatus", 0)->setText("Not updated --^IXIC--: the quote service's address redirects in a loop");
  for (QSize size : {QSize(1366, 768 - 60), w.size()}) {
    w.resize(size);
    for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();  // a wrapped text lays out twice
    EXPECT_EQ(w.size(), size);
    for (QLabel* label : {w.Label("lblCurrStock", 1), w.Label("Label1", 4), w.Label("lblStatus", 0)}) {
      EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->text().toStdString();
      const QRect shown(label->mapTo(&w, QPoint(0, 0)), label->size());
      EXPECT_TRUE(w.rect().contains(shown)) << label->text().toStdString();
      EXPECT_FALSE(widget_input::ToolTipAt(label, label->rect().center()));  // nothing left to show
    }
  }
}
