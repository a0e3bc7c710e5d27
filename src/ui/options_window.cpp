#include "ui/options_window.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/settings_files.h"

namespace ui {
namespace {

QLabel* MakeLabel(ControlCollection& controls, const char* caption, const std::string& name, int index,
                  QWidget* parent) {
  return controls.Add(new QLabel(caption, parent), name, index);
}

QLineEdit* MakeText(ControlCollection& controls, const char* text, const std::string& name, int index,
                    QWidget* parent) {
  return controls.Add(new QLineEdit(text, parent), name, index);
}

}  // namespace

frmOptions::frmOptions(QWidget* owner) : QDialog(owner) {
  setObjectName("frmOptions");
  setWindowTitle("Options");

  tabOptions = new QTabWidget(this);
  tabOptions->setObjectName("tabOptions");
  auto* buySell = new QWidget;
  auto* portfolio = new QWidget;
  auto* system = new QWidget;
  tabOptions->addTab(buySell, "Buy and Sell");
  tabOptions->addTab(portfolio, "Portfolio");
  tabOptions->addTab(system, "System");
  BuildPortfolioPage(portfolio);
  BuildSystemPage(system);

  auto* cmdApply = controls_.Add(new QPushButton("Apply", this), "cmdApply");
  auto* cmdOK = controls_.Add(new QPushButton("OK", this), "cmdOK");
  auto* cmdCancel = controls_.Add(new QPushButton("Cancel", this), "cmdCancel");
  cmdOK->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  buttons->addWidget(cmdApply);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabOptions);
  layout->addLayout(buttons);

  connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

  // Load: centred; only the Portfolio page can be worked on. The settings
  // file itself is read by the main window's load right after this.
  adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
  tabOptions->setTabEnabled(0, false);
  tabOptions->setTabEnabled(1, true);
  tabOptions->setCurrentIndex(1);
  tabOptions->setTabEnabled(2, false);
}

void frmOptions::BuildPortfolioPage(QWidget* page) {
  auto* frame1 = controls_.Add(new QGroupBox("Portfolio Criteria", page), "Frame1");
  auto* form = new QFormLayout(frame1);
  form->addRow(MakeLabel(controls_, "Commission per Trade: $", "lblSimOption", 9, frame1),
               MakeText(controls_, "13", "txtSimOption", 9, frame1));
  form->addRow(MakeLabel(controls_, "Starting Investment: $", "lblSimOption", 10, frame1),
               MakeText(controls_, "15000", "txtSimOption", 10, frame1));
  form->addRow(MakeLabel(controls_, "Max % of Daily Avg Volume: ", "lblSimOption", 11, frame1),
               MakeText(controls_, ".5", "txtSimOption", 11, frame1));
  form->addRow(MakeLabel(controls_, "Minimum Price for a Short: $", "lblSimOption", 62, frame1),
               MakeText(controls_, "5", "txtSimOption", 27, frame1));
  form->addRow(MakeLabel(controls_, "Max Stocks in Portfolio:", "Label1", 0, frame1),
               MakeText(controls_, "3", "txtNumStocks", -1, frame1));
  auto* pick = controls_.Add(new QComboBox(frame1), "cmbPick", 0);
  pick->setEditable(true);  // read by its leading number, so any text is kept
  form->addRow(MakeLabel(controls_, "Stocks Bought per Day:", "Label1", 2, frame1), pick);
  auto* dteData = controls_.Add(new DatePicker(frame1), "dteData");
  dteData->SetValue(rt::DateSerial(1998, 1, 1));
  form->addRow(MakeLabel(controls_, "Earliest Date for Analysis:", "lblSimOption", 28, frame1), dteData);
  auto* mail = new QVBoxLayout;
  for (int i = 28; i <= 30; ++i) mail->addWidget(MakeText(controls_, "", "txtSimOption", i, frame1));
  form->addRow(MakeLabel(controls_, "E-mail Winners to:", "lblSimOption", 24, frame1), mail);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(frame1);
  layout->addStretch();
}

void frmOptions::BuildSystemPage(QWidget* page) {
  auto* form = new QFormLayout(page);
  form->addRow(MakeLabel(controls_, "# Days WINNER based on:", "lblSimOption", 0, page),
               MakeText(controls_, "105", "txtSimOption", 0, page));
  form->addRow(MakeLabel(controls_, "Database Type (1 = Access, 2 = SQL):", "lblSimOption", 25, page),
               MakeText(controls_, "1", "txtSimOption", 31, page));
  form->addRow(MakeLabel(controls_, "Location of Database", "lblSimOption", 26, page),
               MakeText(controls_, "Vennorath.db", "txtSimOption", 32, page));
}

void frmOptions::SaveProperties() { SaveControlStateFile(PropertiesFilePath(), controls_, std::nullopt, false); }

void frmOptions::LoadProperties(const std::string& path) { LoadPropertiesFile(path, controls_); }

void frmOptions::cmdApply_Click() { SaveProperties(); }

void frmOptions::cmdOK_Click() {
  SaveProperties();
  hide();
}

void frmOptions::cmdCancel_Click() { hide(); }

}  // namespace ui
