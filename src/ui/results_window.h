#pragma once
// frmResults: the results window with the winners list and the portfolio
// list, one shown at a time. One instance for the whole program, created on
// first use and again after the user closed it (closing loses the rows,
// hiding keeps them).
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "ui/list_view.h"

namespace ui {

class frmResults : public QWidget {
 public:
  frmResults();

  ListView* lvwWinners = nullptr;
  ListView* lvwPortfolio = nullptr;
  QLabel* lblResults = nullptr;
  QPushButton* cmdHide = nullptr;

  // The columns of the two lists (1-based in the comments of the handlers).
  static constexpr int kWinnersCloseColumn = 3;      // "Close"
  static constexpr int kWinnersGainLossColumn = 17;  // "G/L"

  // Shows one list: the portfolio list with "Portfolio Results", or the
  // winners list with "Select / Trade Results".
  void ShowPortfolioList(bool portfolio);

  void cmdHide_Click();

  // Runs when the user hides or closes the window, so that the View menu's
  // check mark can follow.
  static void SetHiddenByUserHandler(std::function<void()> handler);

 protected:
  void closeEvent(QCloseEvent* event) override;
};

// The one results window, created when there is none.
frmResults& ResultsWindow();
// Whether the results window exists now (without creating it).
bool ResultsWindowExists();

}  // namespace ui
