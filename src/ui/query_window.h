#pragma once
// frmQuery: one aggregate over the rows of the current simulation table,
// with up to four conditions, built from the window's fields and run as a
// one-value query. The user types each condition's operator and value.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <string>

#include "ui/controls.h"

namespace ui {

class frmMain;

class frmQuery : public QWidget {
 public:
  explicit frmQuery(frmMain& owner);

  QTabWidget* tabResults = nullptr;
  QComboBox* cboFunction = nullptr;
  QComboBox* cboOfField = nullptr;
  QPushButton* cmdQuery = nullptr;
  QComboBox* cboWhereField(int index) const { return controls_.Get<QComboBox>("cboWhereField", index); }
  QLineEdit* txtIsCriteria(int index) const { return controls_.Get<QLineEdit>("txtIsCriteria", index); }
  QLabel* lblResult(int index) const { return controls_.Get<QLabel>("lblResult", index); }

  // "SELECT f(field) FROM [table]", then " WHERE " and row 0's condition and
  // " AND " and the condition of each further row; a row without a field is
  // left out. The texts go in as typed.
  std::string QueryStatement() const;
  // Runs the statement on the shared connection through a short-lived engine
  // and shows its answer ("ERROR!!" for any failure, "No Result" for Null) in
  // lblResult(19). Refused while a run is in progress.
  void cmdQuery_Click();

 private:
  frmMain& owner_;
  ControlCollection controls_;
};

}  // namespace ui
