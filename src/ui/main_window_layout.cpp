// The main window's controls, captions, design values and layout.
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

#include "ui/main_window.h"
#include "ui/resources.h"
#include "ui/status_label.h"

namespace ui {
namespace {

// Rows of the Trade and Portfolio grids have one height, whatever fields a
// row shows. Kept tight: the Portfolio page sets the window's height, which
// must fit a 768-pixel screen.
constexpr int kRowHeight = 24;
constexpr int kRowSpacing = 2;

const QColor kDarkRed(192, 0, 0);

void SetColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

// Creates and registers controls of one window.
class Maker {
 public:
  explicit Maker(ControlCollection& controls) : controls_(controls) {}

  QLabel* Label(const char* caption, const std::string& name = "", int index = -1) {
    auto* label = new QLabel(caption);
    if (!name.empty()) controls_.Add(label, name, index);
    return label;
  }
  // A label whose text the program changes, with room for `roomFor`.
  StatusLabel* Status(const char* caption, const char* roomFor, const std::string& name, int index = -1,
                      StatusLabel::Fit fit = StatusLabel::Fit::kElide) {
    return controls_.Add(new StatusLabel(caption, roomFor, fit), name, index);
  }
  QLineEdit* Text(const char* text, const std::string& name, int index = -1, bool skip = false) {
    auto* box = controls_.Add(new QLineEdit(text), name, index, skip);
    box->setMinimumWidth(50);
    return box;
  }
  QComboBox* Combo(const std::string& name, int index = -1, bool editable = false) {
    auto* combo = controls_.Add(new QComboBox, name, index);
    combo->setEditable(editable);
    return combo;
  }
  CheckBox* Check(const char* caption, const std::string& name, int index = -1, int value = 0) {
    auto* box = controls_.Add(new CheckBox(caption), name, index);
    box->SetValue(value);
    return box;
  }
  OptionButton* Option(const char* caption, const std::string& name, int index, QButtonGroup* group) {
    auto* button = controls_.Add(new OptionButton(caption), name, index);
    group->addButton(button);
    return button;
  }
  DatePicker* Picker(const std::string& name, int index = -1) { return controls_.Add(new DatePicker, name, index); }
  QPushButton* Button(const char* caption, const std::string& name, int index = -1) {
    return controls_.Add(new QPushButton(caption), name, index);
  }
  QGroupBox* Frame(const char* caption, const std::string& name = "") {
    auto* frame = new QGroupBox(caption);
    if (!name.empty()) controls_.Add(frame, name);
    return frame;
  }
  QButtonGroup* Group(QObject* owner) { return new QButtonGroup(owner); }

 private:
  ControlCollection& controls_;
};

// One row of a range grid: Min, "to", Max, "by", Step in columns 1 to 5.
struct RangeRow {
  QWidget* min;
  QLabel* to;
  QWidget* max;
  QLabel* by;
  QWidget* step;
};

void PlaceRange(QGridLayout* grid, int row, const RangeRow& range) {
  grid->addWidget(range.min, row, 1);
  grid->addWidget(range.to, row, 2);
  grid->addWidget(range.max, row, 3);
  grid->addWidget(range.by, row, 4);
  grid->addWidget(range.step, row, 5);
}

QGridLayout* RangeGrid() {
  auto* grid = new QGridLayout;
  grid->setVerticalSpacing(kRowSpacing);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  grid->setColumnStretch(5, 1);
  return grid;
}

void FixRowHeights(QGridLayout* grid, int rows) {
  for (int r = 0; r < rows; ++r) grid->setRowMinimumHeight(r, kRowHeight);
}

// The selection boxes beside a range grid, each in the grid cell of the row
// it selects (box firstBox + r on row r), so that it stands level with that
// row whichever boxes and fields are shown. The captionless frame the
// switch shows and hides spans the column behind them.
QFrame* SelectionColumn(Maker& make, int firstBox, int boxes, QGridLayout* grid) {
  auto* frame = new QFrame;
  grid->addWidget(frame, 0, 6, boxes, 1);
  frame->hide();
  for (int row = 0; row < boxes; ++row) {
    auto* box = make.Check("", "chkBuildOption", firstBox + row);
    box->hide();
    grid->addWidget(box, row, 6);
  }
  return frame;
}

// The S.M.A.R.T. increments of a page on one row: caption, Reset, count.
QHBoxLayout* IncrementsRow(Maker& make, int captionIndex, int index, const char* count) {
  auto* row = new QHBoxLayout;
  row->addWidget(make.Label("Number of Increments in S.M.A.R.T. Range", "lblSimOption", captionIndex), 1,
                 Qt::AlignRight);
  row->addWidget(make.Button("Reset", "cmdReset", index));
  row->addWidget(make.Text(count, "txtSMARTDivisor", index));
  return row;
}

}  // namespace

void frmMain::BuildWindow() {
  setObjectName("frmMain");
  setWindowTitle("KESTROVANE");

  auto* central = new QWidget;
  auto* top = new QHBoxLayout;
  tabResearch = new QTabWidget;
  tabResearch->setObjectName("tabResearch");
  tabResearch->addTab(BuildSelectPage(), "Select");
  tabResearch->addTab(BuildTradePage(), "Trade");
  tabResearch->addTab(BuildPortfolioPage(), "Portfolio");
  top->addWidget(tabResearch, 3);
  top->addWidget(BuildSidePane(), 1);

  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(4, 4, 4, 4);  // every pixel of height counts on a 768-pixel screen
  layout->addLayout(top, 1);
  layout->addWidget(BuildRunArea());
  setCentralWidget(central);
  BuildMenus();
  resize(1280, 700);
}

QWidget* frmMain::BuildSelectPage() {
  Maker make(controls_);
  auto* page = new QWidget;

  // Period
  // A settings file is applied in creation order: a switch comes before the
  // fields its click changes, so that the fields end as the file has them.
  auto* period = make.Frame("Period");
  auto* periodGrid = new QGridLayout(period);
  auto* oneDay = make.Check("One Day", "chkOneDay");
  periodGrid->addWidget(make.Label("From:", "lblSim", 0), 0, 0);
  periodGrid->addWidget(make.Picker("dteSimDate", 0), 0, 1);
  periodGrid->addWidget(make.Label("To:", "lblSim", 1), 1, 0);
  periodGrid->addWidget(make.Picker("dteSimDate", 1), 1, 1);
  periodGrid->addWidget(oneDay, 2, 1);

  // Symbols
  auto* symbols = make.Frame("Symbols");
  auto* selection = make.Group(page);
  auto* symbolsGrid = new QGridLayout(symbols);
  symbolsGrid->addWidget(make.Option("All Symbols", "optStockSelection", 0, selection), 0, 0, 1, 2);
  symbolsGrid->addWidget(make.Option("Symbols Like:", "optStockSelection", 1, selection), 1, 0);
  symbolsGrid->addWidget(make.Text("", "txtLike"), 1, 1);
  symbolsGrid->addWidget(make.Option("Selected Symbols:", "optStockSelection", 2, selection), 2, 0, 1, 2);
  symbolsGrid->addWidget(make.Text("", "txtSelection"), 3, 0, 1, 2);
  Option("optStockSelection", 0)->SetValue(true);

  // Simulation history
  auto* history = make.Frame("Simulation History", "Frame12");
  auto* historyRow = new QHBoxLayout(history);
  historyRow->addWidget(make.Picker("DTePicker1"));
  historyRow->addWidget(make.Text("", "txtHistoryTable"), 1);
  historyRow->addWidget(make.Button("...", "cmdHistoryTable"));

  auto* left = new QVBoxLayout;
  left->addWidget(period);
  left->addWidget(symbols);
  left->addWidget(make.Check("Auto-Calculate Trade and Portfolio", "chkCalculateResults"));
  left->addWidget(history);
  left->addStretch();

  // Criteria switches, each with the selector of its settings frame.
  auto* criteria = make.Frame("Optional Criteria");
  auto* winOptions = make.Group(page);
  auto* criteriaGrid = new QGridLayout(criteria);
  struct Switch {
    const char* caption;
    const char* name;
    int index;
  };
  const Switch switches[] = {{"Use Bollinger Bands", "chkSimOption", 0},
                             {"Use RSI", "chkSimOption", 1},
                             {"Use MACD", "chkSimOption", 2},
                             {"Use Momentum Swing", "chkSimOption", 3},
                             {"Use ADX", "chkUseADX", -1},
                             {"Use Minimum Volume", "chkUseMinVol", -1},
                             {"Use Moving Average", "chkUseMA", -1}};
  // The switches select their frame when ticked; the selectors come after
  // them so that a settings file restores the frame that was in front.
  for (int i = 0; i < 7; ++i)
    criteriaGrid->addWidget(make.Check(switches[i].caption, switches[i].name, switches[i].index), i, 1);
  for (int i = 0; i < 7; ++i) criteriaGrid->addWidget(make.Option("", "optWinOption", i, winOptions), i, 0);
  criteriaGrid->setColumnStretch(1, 1);

  // The seven settings frames share one place; one is shown at a time.
  auto* frames = new QGridLayout;
  auto addFrame = [&](const char* caption, const char* name,
                      std::initializer_list<std::pair<QWidget*, QWidget*>> rows) {
    auto* frame = make.Frame(caption, name);
    auto* form = new QGridLayout(frame);
    int r = 0;
    for (auto [label, field] : rows) {
      form->addWidget(label, r, 0);
      if (field) form->addWidget(field, r, 1);
      ++r;
    }
    form->setRowStretch(r, 1);
    frames->addWidget(frame, 0, 0);
    frame->hide();
    return form;
  };
  addFrame("Bollinger Band Criteria", "Frame10",
           {{make.Label("Bollinger Moving Avg.", "lblSimOption", 5), make.Text("20", "txtSimOption", 5)},
            {make.Label("Days of Divergance", "lblSimOption", 6), make.Text("2", "txtSimOption", 6)},
            {make.Label("Days of Stability", "lblSimOption", 7), make.Text("2", "txtSimOption", 7)}});
  auto* rsiRows = addFrame("RSI Criteria", "Frame8",
                           {{make.Label("High RSI", "lblSimOption", 1), make.Text("80", "txtSimOption", 1)},
                            {make.Label("Low RSI", "lblSimOption", 2), make.Text("20", "txtSimOption", 2)},
                            {make.Label("Days RSI Based On", "lblSimOption", 3), make.Text("14", "txtSimOption", 3)}});
  auto* rsiMode = make.Group(page);
  rsiRows->addWidget(make.Option("Movement Thru RSI", "optRSI", 0, rsiMode), 3, 0, 1, 2);
  rsiRows->addWidget(make.Option("Price Outside RSI", "optRSI", 1, rsiMode), 4, 0, 1, 2);
  Option("optRSI", 0)->SetValue(true);
  addFrame("MACD Criteria", "Frame9",
           {{make.Label("Short EMA Length", "lblSimOption", 20), make.Text("12", "txtSimOption", 16)},
            {make.Label("Long EMA Length", "lblSimOption", 21), make.Text("26", "txtSimOption", 17)},
            {make.Label("Combo EMA Length", "lblSimOption", 22), make.Text("9", "txtSimOption", 18)},
            {make.Label("MACD greater than", "lblSimOption", 23), make.Text("-3", "txtSimOption", 19)}});
  auto* swingRows =
      addFrame("Momentum Swing Criteria", "frame2",
               {{make.Label("MACD Breakout %", "lblSimOption", 34), make.Text(".1", "txtSimOption", 21)},
                {make.Label("Volume Increase %", "lblSimOption", 35), make.Text("100", "txtSimOption", 22)},
                {make.Label("Price Breakout %", "lblSimOption", 36), make.Text(".1", "txtSimOption", 23)},
                {make.Label("Narrow Range %", "lblSimOption", 37), make.Text("10", "txtSimOption", 24)},
                {make.Label("Days in Range", "lblSimOption", 38), make.Text("11", "txtSimOption", 25)},
                {make.Label("Days for Volume MA", "lblSimOption", 39), make.Text("10", "txtSimOption", 26)}});
  // How many days passed each stage of the swing test in this run.
  auto* counters = new QHBoxLayout;
  const char* stages[] = {"Range:", "Price:", "Volume:", "MACD:"};
  for (int i = 0; i < 4; ++i) {
    counters->addWidget(make.Label(stages[i]));
    counters->addWidget(make.Label("0", "lblSimOption", 40 + i));
  }
  counters->addStretch();
  swingRows->addLayout(counters, 6, 0, 1, 2);
  addFrame("ADX Criteria", "fraADX",
           {{make.Label("ADX Threshold", "lblADXThreshold"), make.Text("25", "txtADXThreshold")}});
  addFrame("Minimum Volume Criteria", "fraMinVol",
           {{make.Label("Minimum $", "Label4"), make.Text("3000", "txtVolDollarMin")},
            {make.Label("Maximum % of Volume Purchasable", "Label5"), make.Text(".5", "txtVolPercMax")}});
  addFrame("Moving Average Criteria", "fraMA",
           {{make.Label("# Days for Moving Average:", "lblSimOption", 4), make.Text("30", "txtSimOption", 4)},
            {make.Label("Minimum % Diff between Current Price and MA:", "lblSimOption", 8),
             make.Text("0", "txtSimOption", 8)}});

  auto* right = new QVBoxLayout;
  right->addWidget(criteria);
  right->addLayout(frames);
  right->addStretch();

  auto* layout = new QHBoxLayout(page);
  layout->addLayout(left, 1);
  layout->addLayout(right, 1);
  return page;
}

QWidget* frmMain::BuildTradePage() {
  Maker make(controls_);
  auto* page = new QWidget;
  auto* status = make.Label("S.M.A.R.T. Not Enabled for Trading", "lblStatus", 1);
  SetColour(status, kDarkRed);

  auto* grid = RangeGrid();
  auto range = [&](const char* name, const char* minText, const char* maxText, int toLabel, const char* stepName,
                   int byLabel) {
    return RangeRow{make.Text(minText, name, 0), make.Label("to", "lblSimOption", toLabel), make.Text(maxText, name, 1),
                    make.Label("by", "lblSimOption", byLabel), make.Text("", stepName)};
  };
  auto* initStop = make.Group(page);
  auto* priceUpdate = make.Group(page);

  grid->addWidget(make.Label("Type of Purchase: "), 0, 0);
  grid->addWidget(make.Combo("cboTypeOfPurchase"), 0, 1, 1, 3);
  grid->addWidget(make.Label("Life of Order (days):"), 1, 0);
  PlaceRange(grid, 1, range("txtLifeofOrder", "1", "1", 12, "txtLifeofOrderStep", 28));
  grid->addWidget(make.Label("Target Purchase Price: "), 2, 0);
  auto* purchasePrice = make.Combo("cboPurchasePrice", -1, true);
  purchasePrice->setEditText("% of Close");
  grid->addWidget(purchasePrice, 2, 1, 1, 3);
  grid->addWidget(make.Label("% above Target Price:"), 3, 0);
  PlaceRange(grid, 3, range("txtLimitPercent", "2", "", 0, "txtLimitPercentStep", 26));
  grid->addWidget(make.Option("Initial Stop Based on % Loss:", "optInitStop", 0, initStop), 4, 0);
  PlaceRange(grid, 4, range("txtInitPrice", "7", "", 24, "txtInitPriceStep", 15));
  grid->addWidget(make.Option("Initial Stop Based on:", "optInitStop", 1, initStop), 5, 0);
  grid->addWidget(make.Combo("cboInitialStop"), 5, 1, 1, 3);
  grid->addWidget(make.Option("Based on \"Profitable\" % Level:", "optPriceUpdate", 0, priceUpdate), 6, 0);
  PlaceRange(grid, 6, range("txtProfitable", "9", "", 25, "txtProfitableStep", 32));
  grid->addWidget(make.Label("...with a % decline:"), 7, 0);
  PlaceRange(grid, 7, range("txtDecline", "", "", 30, "txtDeclineStep", 29));
  grid->addWidget(make.Option("Based on:", "optPriceUpdate", 1, priceUpdate), 8, 0);
  grid->addWidget(make.Combo("cboPriceUpdate"), 8, 1, 1, 3);
  grid->addWidget(make.Check("Max Days to Hold Loser:", "chkMaxAge", -1, 1), 9, 0);
  PlaceRange(grid, 9, range("txtMaxDays", "11", "", 31, "txtMaxDaysStep", 33));
  grid->addWidget(make.Check("% Loss on Sale:", "chkUseSellLoss", -1, 1), 10, 0);
  grid->addWidget(make.Text("1", "txtSimOption", 20), 10, 1);
  FixRowHeights(grid, 11);
  Option("optInitStop", 0)->SetValue(true);
  Option("optPriceUpdate", 0)->SetValue(true);
  controls_.Add(SelectionColumn(make, 0, 10, grid), "Frame20");
  EnableSweepRowBoxes();

  auto* restart = new QHBoxLayout;
  restart->addWidget(make.Label("S.M.A.R.T. Restart Point:"));
  restart->addWidget(make.Text("", "txtStartBuySellAt", -1, true), 1);
  auto* lastBuild = make.Text("", "txtLastBuildValues");
  lastBuild->setReadOnly(true);
  lastBuild->hide();
  restart->addWidget(lastBuild);

  auto* increments = IncrementsRow(make, 9, 1, "3");

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(status);
  layout->addLayout(grid);
  layout->addLayout(restart);
  layout->addStretch();
  layout->addLayout(increments);
  return page;
}

QWidget* frmMain::BuildPortfolioPage() {
  Maker make(controls_);
  auto* page = new QWidget;
  auto* status = make.Label("S.M.A.R.T. Not Enabled for Portfolios", "lblStatus", 2);
  SetColour(status, kDarkRed);

  auto* grid = RangeGrid();
  grid->addWidget(make.Label("Add Stocks Based on:"), 0, 0);
  grid->addWidget(make.Combo("cboBuyCriteria"), 0, 1, 1, 3);
  struct Range {
    const char* caption;
    const char* box;
    int boxIndex;
    const char* field;
    int toLabel;
    int byLabel;
  };
  const Range ranges[] = {{"%Distance from MA Range:", "chkResult", 1, "txtPercDiff", 19, 44},
                          {"%Change in Volume Range:", "chkResult", 0, "txtVolChange", 16, 55},
                          {"%Change in Price Range:", "chkResult", 3, "txtPriceChange", 47, 54},
                          {"MACD Range:", "chkResult", 5, "txtMACDMin", 48, 53},
                          {"Distance from Bollinger Band:", "chkBBDist", -1, "txtBBDist", 27, 57},
                          {"%Change in RSI:", "chkRSIChange", -1, "txtRSIChange", 18, 56},
                          {"DJI MA", "chkDJMA", -1, "txtDJMA", 49, 46},
                          {"DJI RSI", "chkDJRSI", -1, "txtDJRSI", 50, 58},
                          {"NASDAQ MA", "chkNSMA", -1, "txtNSMA", 51, 59},
                          {"NASDAQ RSI", "chkNSRSI", -1, "txtNSRSI", 52, 60}};
  for (int i = 0; i < 10; ++i) {
    const Range& r = ranges[i];
    grid->addWidget(make.Check(r.caption, r.box, r.boxIndex), i + 1, 0);
    PlaceRange(
        grid, i + 1,
        RangeRow{make.Text("", r.field, 0), make.Label("to", "lblSimOption", r.toLabel), make.Text("", r.field, 1),
                 make.Label("by", "lblSimOption", r.byLabel), make.Text("", "txtStep", i)});
  }
  grid->addWidget(make.Check("Select by Index:", "chkSelectByMarket"), 11, 0);
  grid->addWidget(make.Combo("cboSelectMarket"), 11, 1);
  grid->addWidget(make.Check("Select by Position:", "chkResult", 4), 12, 0);
  grid->addWidget(make.Combo("cboSelectPositioning"), 12, 1);
  FixRowHeights(grid, 13);
  controls_.Add(SelectionColumn(make, 10, 13, grid), "Frame21");

  auto* more = new QGridLayout;
  more->addWidget(make.Check("Combine Market Indicators", "chkCombineIndicators"), 0, 0, 1, 4);
  auto* unused = make.Check("", "chkResult", 2);  // kept for the settings files; governs nothing
  unused->setParent(page);                        // in no layout, but owned by the page
  unused->hide();
  more->addWidget(make.Check("Select by Date:", "chkSelectByDate"), 1, 0);
  more->addWidget(make.Picker("dteSelectStart"), 1, 1);
  more->addWidget(make.Label("to", "lblSimOption", 17), 1, 2);
  more->addWidget(make.Picker("dteSelectEnd"), 1, 3);
  more->addWidget(make.Label("Current Balance:"), 2, 0);
  more->addWidget(make.Text("0", "txtPortfolioBalance"), 2, 1);
  more->addWidget(make.Label("S.M.A.R.T. Restart Point:"), 3, 0);
  more->addWidget(make.Text("", "txtStartPortfolioAt"), 3, 1, 1, 3);
  more->addWidget(make.Button("Auto-Populate Criteria", "cmdGetRange"), 4, 0);
  // Beside the button rather than below it: this page, with every range
  // shown, sets the window's height.
  more->addLayout(IncrementsRow(make, 61, 0, "4"), 4, 1, 1, 3);
  more->setColumnStretch(1, 1);
  more->setColumnStretch(3, 1);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(status);
  layout->addLayout(grid);
  layout->addLayout(more);
  layout->addStretch();
  return page;
}

QWidget* frmMain::BuildSidePane() {
  Maker make(controls_);
  auto* pane = new QWidget;
  auto* tips = make.Frame("Tips");
  txtHelp = controls_.Add(new QPlainTextEdit, "txtHelp");
  txtHelp->setReadOnly(true);
  txtHelp->setPlainText(QString::fromStdString(LoadResString(101) + " "));
  auto* tipsLayout = new QVBoxLayout(tips);
  tipsLayout->addWidget(txtHelp);

  auto* layout = new QVBoxLayout(pane);
  layout->addWidget(tips, 1);
  layout->addWidget(make.Check("Update Data (Internet Required)", "chkUpdateData"));
  layout->addWidget(make.Status("", "", "lblSymbolList"));
  auto* smart = make.Button("S.M.A.R.T.", "cmdSMART", 0);
  smart->hide();
  layout->addWidget(smart);
  layout->addWidget(BuildStatusFrame());
  return pane;
}

QWidget* frmMain::BuildStatusFrame() {
  // Beside the help pane, where the tips give up height: a status text wraps
  // onto as many lines as it needs, so that every one is read whole.
  Maker make(controls_);
  auto* status = make.Frame("Status");
  lblTime = make.Label("00:00:00", "lblTime");
  auto wrapped = [&make](const char* caption, const std::string& name, int index) {
    return make.Status(caption, "", name, index, StatusLabel::Fit::kWrap);
  };
  auto* internet = wrapped("Not Connected to Internet", "lblStatus", 0);
  SetColour(internet, kDarkRed);
  auto* statusLayout = new QGridLayout(status);
  statusLayout->addWidget(make.Label("Elapsed Time:", "lblCurrStock", 0), 0, 0);
  statusLayout->addWidget(lblTime, 0, 1);
  statusLayout->addWidget(wrapped("", "lblCurrStock", 1), 1, 0, 1, 2);
  statusLayout->addWidget(wrapped("", "Label1", 4), 2, 0, 1, 2);
  statusLayout->addWidget(internet, 3, 0, 1, 2);
  statusLayout->setColumnStretch(1, 1);
  return status;
}

QWidget* frmMain::BuildRunArea() {
  Maker make(controls_);
  auto* area = new QWidget;

  auto* run = make.Frame("", "fraRun");
  cmdSimulate = make.Button(">", "cmdSimulate");
  cmdPauseSim = make.Button("| |", "cmdPauseSim");
  cmdStopSim = make.Button("Stop", "cmdStopSim");
  cmdGraph = make.Button("Graph Portfolio", "cmdGraph");
  cmdShowProgress = make.Button("Show S.M.A.R.T.Progress", "cmdShowProgress");
  cmdPauseSim->setEnabled(false);
  cmdStopSim->setEnabled(false);
  cmdGraph->setEnabled(false);
  cmdShowProgress->setEnabled(false);
  // The buttons may narrow down to their captions, below the style's usual
  // button width, so that the run area fits a small screen.
  for (QPushButton* button : {cmdSimulate, cmdPauseSim, cmdStopSim, cmdGraph, cmdShowProgress})
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 20);
  pbStatus = controls_.Add(new QProgressBar, "pbStatus");
  pbProgress = controls_.Add(new QProgressBar, "pbProgress");
  for (QProgressBar* bar : {pbStatus, pbProgress}) {
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setFixedHeight(12);
  }
  // The run buttons on one row, the two others below them: one row of five
  // would make the run area wider than a small screen.
  auto* runButtons = new QHBoxLayout;
  for (QPushButton* button : {cmdSimulate, cmdPauseSim, cmdStopSim}) runButtons->addWidget(button);
  auto* otherButtons = new QHBoxLayout;
  for (QPushButton* button : {cmdGraph, cmdShowProgress}) otherButtons->addWidget(button);
  auto* runLayout = new QVBoxLayout(run);
  runLayout->setSpacing(3);
  runLayout->addLayout(runButtons);
  runLayout->addLayout(otherButtons);
  runLayout->addWidget(pbProgress);
  runLayout->addWidget(pbStatus);

  auto* market = make.Frame("Market");
  auto* marketLayout = new QGridLayout(market);
  const std::pair<const char*, std::pair<int, const char*>> conditions[] = {
      {"DJ MA:", {10, "0"}}, {"DJ RSI:", {9, "50"}}, {"NS MA:", {8, "0"}}, {"NS RSI:", {7, "50"}}};
  int row = 0;
  for (const auto& [caption, label] : conditions) {
    marketLayout->addWidget(make.Label(caption), row, 0);
    marketLayout->addWidget(make.Label(label.second, "Label2", label.first), row, 1);
    ++row;
  }

  // Room for the figures of a long run, so that the frames keep their size.
  const char* const kPairRoom = "0000--0000";
  const char* const kNumberRoom = "-00.0";
  const char* const kMoneyRoom = "0000000";
  auto* trade = make.Frame("Trade Results");
  auto* tradeLayout = new QGridLayout(trade);
  tradeLayout->addWidget(make.Label("Winners/Losers:"), 0, 0);
  tradeLayout->addWidget(make.Status("0--0", kPairRoom, "lblResult", 22), 0, 1);
  tradeLayout->addWidget(make.Label("Short/Long:"), 1, 0);
  tradeLayout->addWidget(make.Status("0--0", kPairRoom, "lblResult", 13), 1, 1);
  tradeLayout->addWidget(make.Label("Average Return:"), 2, 0);
  tradeLayout->addWidget(make.Status("0", kNumberRoom, "lblResult", 26), 2, 1);
  tradeLayout->addWidget(make.Label("%", "lblResult", 24), 2, 2);
  tradeLayout->setColumnStretch(1, 1);

  auto* portfolio = make.Frame("Portfolio Results");
  auto* portfolioLayout = new QGridLayout(portfolio);
  portfolioLayout->addWidget(make.Label("Winners/Losers:"), 0, 0);
  portfolioLayout->addWidget(make.Status("0--0", kPairRoom, "lblResult", 7), 0, 2);
  portfolioLayout->addWidget(make.Label("Short/Long:"), 1, 0);
  portfolioLayout->addWidget(make.Status("0--0", kPairRoom, "lblResult", 2), 1, 2);
  portfolioLayout->addWidget(make.Label("Average Hold:"), 2, 0);
  portfolioLayout->addWidget(make.Status("0", kNumberRoom, "lblResult", 4), 2, 2);
  portfolioLayout->addWidget(make.Label("End Investment:"), 0, 4);
  portfolioLayout->addWidget(make.Label("$", "lblResult", 17), 0, 5);
  portfolioLayout->addWidget(make.Status("0", kMoneyRoom, "lblResult", 15), 0, 6);
  portfolioLayout->addWidget(make.Label("Average Return:"), 1, 4);
  portfolioLayout->addWidget(make.Status("0", kNumberRoom, "lblResult", 3), 1, 6);
  portfolioLayout->addWidget(make.Label("%", "lblResult", 6), 1, 7);
  portfolioLayout->addWidget(make.Label("Compounded Return:"), 2, 4);
  portfolioLayout->addWidget(make.Status("0", kNumberRoom, "lblResult", 11), 2, 6);
  portfolioLayout->addWidget(make.Label("%", "lblResult", 9), 2, 7);
  portfolioLayout->setColumnStretch(2, 1);
  portfolioLayout->setColumnStretch(6, 1);

  auto* layout = new QHBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(run, 2);
  layout->addWidget(market, 1);
  layout->addWidget(trade, 2);
  layout->addWidget(portfolio, 3);
  return area;
}

void frmMain::BuildMenus() {
  struct Item {
    const char* caption;  // "-" for a separator
    const char* name;
    bool visible = true;
  };
  auto add = [this](QMenu* menu, std::initializer_list<Item> items) {
    for (const Item& item : items) {
      QAction* action = std::string(item.caption) == "-" ? menu->addSeparator() : menu->addAction(item.caption);
      action->setObjectName(item.name);
      action->setVisible(item.visible);
      menus_[item.name] = action;
    }
  };
  auto top = [this](const char* caption, const char* name) {
    QMenu* menu = menuBar()->addMenu(caption);
    menu->setObjectName(name);
    menus_[name] = menu->menuAction();
    return menu;
  };
  add(top("File", "mnuFile"), {{"New Simulation", "mnuNewSimulation"},
                               {"Open Simulation", "mnuOpenSim"},
                               {"-", "mnuSep2"},
                               {"Open Symbols List", "mnuOpenSymbols"},
                               {"Save Symbols List", "mnuSaveSymbols"},
                               {"-", "mnuSep1"},
                               {"Save Current Settings as Startup", "mnuSaveStartup"},
                               {"-", "mnuSep3"},
                               {"Exit", "mnuExit"}});
  add(top("View", "mnuView"), {{"Results", "mnuResults"}});
  add(top("Tools", "mnuData"), {{"Use Internet Connection", "mnuUseInternet"},
                                {"Import Stock Symbols", "mnuImportStocks"},
                                {"Load/Reload Data", "mnuReloadData", false},
                                {"Remove Empty Tables", "mnuRemoveEmptyTables", false},
                                {"Compact and Repair DB", "mnuRepairDB"},
                                {"-", "mnuSep4", false},
                                {"Query Simulation Database", "mnuQuery", false},
                                {"-", "mnuSep5"},
                                {"Options", "mnuOptions"}});
  add(top("Reports", "mnuReportS"), {{"Simulation Summary by Symbol (Run Now)", "mnuReportSimSum"},
                                     {"-", "mnuSep6"},
                                     {"Portfolio Summary by Date", "mnuReportStockperDay"},
                                     {"Portfolio Summary", "mnuReportAllStocks"}});
  add(top("Help", "mnuHelp"), {{"Contents", "mnuContents"}, {"-", "mnuSep7"}, {"About KESTROVANE", "mnuAbout"}});

  for (const char* toggle : {"mnuResults", "mnuUseInternet", "mnuReportStockperDay", "mnuReportAllStocks"})
    menus_[toggle]->setCheckable(true);
  menus_["mnuResults"]->setChecked(true);
}

}  // namespace ui
