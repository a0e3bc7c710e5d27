#include "ui/results_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPointer>
#include <QVBoxLayout>

namespace ui {
namespace {

QPointer<frmResults>& Instance() {
  static QPointer<frmResults> instance;
  return instance;
}

std::function<void()>& HiddenByUserHandler() {
  static std::function<void()> handler;
  return handler;
}

void NotifyHiddenByUser() {
  if (HiddenByUserHandler()) HiddenByUserHandler()();
}

}  // namespace

frmResults::frmResults() {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Results");
  setObjectName("frmResults");
  // Wide enough for whole dates in every column, narrow enough for a
  // 1366-pixel screen; the lists share their width among their columns.
  resize(1300, 420);

  cmdHide = new QPushButton("Hide", this);
  cmdHide->setObjectName("cmdHide");
  cmdHide->setFixedWidth(1425 / ListView::kTwipsPerPixel);
  lblResults = new QLabel("Select / Trade Results", this);
  lblResults->setObjectName("lblResults");
  QFont bold = lblResults->font();
  bold.setBold(true);
  lblResults->setFont(bold);
  lblResults->setAlignment(Qt::AlignCenter);

  lvwWinners = new ListView({{"Date", 1587},
                             {"Position", 1411},
                             {"Symbol", 1411},
                             {"Close", 1411},
                             {"MA%Diff", 1411},
                             {"RSI", 1058},
                             {"MACD", 1411},
                             {"Volume", 1764},
                             {"Price Chg", 1587},
                             {"Vol Chg", 1411},
                             {"DJ RSI", 1411},
                             {"DJ MA", 1411},
                             {"NS RSI", 1411},
                             {"NS MA", 1411},
                             {"Market", 1411},
                             {"BB Dist", 1411},
                             {"RSI Ch.", 1323},
                             {"G/L", 1323},
                             {"(Sort Date)", 0}},
                            this);
  lvwWinners->setObjectName("lvwWinners");
  // "Date" sorts by its hidden date column.
  lvwWinners->sortColumnFor = [](int column) { return column == 0 ? 18 : column; };
  // The Trade stage names a row by its day, side and symbol.
  lvwWinners->SetKeyColumns({0, 1, 2});

  lvwPortfolio = new ListView({{"Date", 1764},
                               {"Symbol", 1764},
                               {"Position", 1764},
                               {"Purch. Date", 1940},
                               {"Cost ($)", 1764},
                               {"Shares", 1764},
                               {"Moving Avg.", 1940},
                               {"Acquire Price", 2117},
                               {"Release Date", 2117},
                               {"Volume", 1764},
                               {"Market", 1764},
                               {"G/L", 1764},
                               {"(Sort Date)", 0},
                               {"(Purch Date)", 0},
                               {"(Release Date)", 0}},
                              this);
  lvwPortfolio->setObjectName("lvwPortfolio");
  lvwPortfolio->sortColumnFor = [](int column) {
    if (column == 0) return 12;
    if (column == 3) return 13;
    if (column == 8) return 14;
    return column;
  };
  lvwPortfolio->hide();

  auto* top = new QHBoxLayout;
  top->addWidget(cmdHide);
  top->addWidget(lblResults, 1);
  top->addSpacing(cmdHide->width());
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(lvwWinners, 1);
  layout->addWidget(lvwPortfolio, 1);

  connect(cmdHide, &QPushButton::clicked, this, [this] { cmdHide_Click(); });
}

void frmResults::ShowPortfolioList(bool portfolio) {
  lvwWinners->setVisible(!portfolio);
  lvwPortfolio->setVisible(portfolio);
  lblResults->setText(portfolio ? "Portfolio Results" : "Select / Trade Results");
}

void frmResults::cmdHide_Click() {
  hide();
  NotifyHiddenByUser();
}

void frmResults::SetHiddenByUserHandler(std::function<void()> handler) { HiddenByUserHandler() = std::move(handler); }

void frmResults::closeEvent(QCloseEvent* event) {
  NotifyHiddenByUser();
  event->accept();
}

frmResults& ResultsWindow() {
  if (!Instance()) Instance() = new frmResults;
  return *Instance();
}

bool ResultsWindowExists() { return !Instance().isNull(); }

}  // namespace ui
