#pragma once
// frmOptions: the settings that are not part of a simulation (account and
// purchase limits, earliest date of analysis, look-back, database). Its
// values live in its controls and in the PROPERTIES file; runs read them
// through the run-parameter copy. Created hidden with the main window and
// kept until the program ends.
#include <QDialog>
#include <QTabWidget>

#include "ui/controls.h"

namespace ui {

class frmOptions : public QDialog {
 public:
  explicit frmOptions(QWidget* owner);

  ControlCollection& Controls() { return controls_; }
  const ControlCollection& Controls() const { return controls_; }

  QLineEdit* txtSimOption(int index) const { return controls_.Get<QLineEdit>("txtSimOption", index); }
  QLineEdit* txtNumStocks() const { return controls_.Get<QLineEdit>("txtNumStocks"); }
  QComboBox* cmbPick(int index) const { return controls_.Get<QComboBox>("cmbPick", index); }
  DatePicker* dteData() const { return controls_.Get<DatePicker>("dteData"); }

  QTabWidget* tabOptions = nullptr;

  // Writes the controls to PROPERTIES in the application folder.
  void SaveProperties();
  // Reads a properties file into the controls.
  void LoadProperties(const std::string& path);

  void cmdApply_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  void BuildPortfolioPage(QWidget* page);
  void BuildSystemPage(QWidget* page);

  ControlCollection controls_;
};

}  // namespace ui
