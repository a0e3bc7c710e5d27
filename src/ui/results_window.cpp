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

  using K = CellKind;
  lvwWinners = new ListView({{"Date", 1587, K::kDate},
                             {"Position", 1411, K::kText},
                             {"Symbol", 1411, K::kText},
                             {"Close", 1411, K::kNumber},
                             {"MA%Diff", 1411, K::kWhole},
                             {"RSI", 1058, K::kWhole},
                             {"MACD", 1411, K::kNumber},
                             {"Volume", 1764, K::kWhole},
                             {"Price Chg", 1587, K::kNumber},
                             {"Vol Chg", 1411, K::kNumber},
                             {"DJ RSI", 1411, K::kWhole},
                             {"DJ MA", 1411, K::kWhole},
                             {"NS RSI", 1411, K::kWhole},
                             {"NS MA", 1411, K::kWhole},
                             {"Market", 1411, K::kText},
                             {"BB Dist", 1411, K::kSingle},
                             {"RSI Ch.", 1323, K::kSingle},
                             {"G/L", 1323, K::kNumber},
                             {"(Sort Date)", 0, K::kSortDate, 0}},
                            this);
  lvwWinners->setObjectName("lvwWinners");
  // The Trade stage names a row by its day, side and symbol.
  lvwWinners->SetKeyColumns({0, 1, 2});

  lvwPortfolio = new ListView({{"Date", 1764, K::kDate},
                               {"Symbol", 1764, K::kText},
                               {"Position", 1764, K::kText},
                               {"Purch. Date", 1940, K::kDate},
                               {"Cost ($)", 1764, K::kNumber},
                               {"Shares", 1764, K::kWhole},
                               {"Moving Avg.", 1940, K::kWhole},
                               {"Acquire Price", 2117, K::kNumber},
                               {"Release Date", 2117, K::kDate},
                               {"Volume", 1764, K::kWhole},
                               {"Market", 1764, K::kText},
                               {"G/L", 1764, K::kNumber},
                               {"(Sort Date)", 0, K::kSortDate, 0},
                               {"(Purch Date)", 0, K::kSortDate, 3},
                               {"(Release Date)", 0, K::kSortDate, 8}},
                              this);
  lvwPortfolio->setObjectName("lvwPortfolio");
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
