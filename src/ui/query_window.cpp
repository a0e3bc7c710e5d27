#include "ui/query_window.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "market_data/cls_research.h"
#include "market_data/run_parameters.h"
#include "platform/db/sql_text.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"

namespace ui {
namespace {

constexpr const char* kQueryFailed = "ERROR!!";

const char* const kFunctions[] = {"Avg", "Count", "Max", "Min", "Sum"};
const char* const kConditionFields[] = {"AcquireDate", "Bought",  "GainLoss", "MACD",   "PercentMA",   "Position",
                                        "PriceChange", "PrevRSI", "RSI",      "Volume", "VolumeChange"};
const char* const kIndexFields[] = {"[DJ_RSI]", "[DJ_MA]", "[NS_RSI]", "[NS_MA]"};

// The labels beside condition rows 1 to 3: "AND" and "IS".
constexpr int kAndLabels[] = {20, 23, 25};
constexpr int kIsLabels[] = {21, 22, 24};

QComboBox* FieldList(bool withIndexFields) {
  auto* combo = new QComboBox;
  combo->setEditable(true);  // a row is emptied by clearing its text
  for (const char* field : kConditionFields) combo->addItem(field);
  if (withIndexFields)
    for (const char* field : kIndexFields) combo->addItem(field);
  combo->setCurrentIndex(-1);
  return combo;
}

}  // namespace

frmQuery::frmQuery(frmMain& owner) : QWidget(&owner, Qt::Window), owner_(owner) {
  setObjectName("frmQuery");
  setWindowTitle("Query Simulation Database");
  setAttribute(Qt::WA_DeleteOnClose);

  tabResults = new QTabWidget(this);
  tabResults->setObjectName("tabResults");
  auto* queries = new QWidget;
  tabResults->addTab(queries, "Queries");
  tabResults->addTab(new QWidget, "Reports");

  auto label = [this](const char* caption, int index) {
    return controls_.Add(new QLabel(caption), "lblResult", index);
  };
  cboFunction = controls_.Add(new QComboBox, "cboFunction");
  cboFunction->setEditable(true);
  for (const char* function : kFunctions) cboFunction->addItem(function);
  cboFunction->setCurrentIndex(-1);
  cboOfField = controls_.Add(FieldList(true), "cboOfField");

  auto* grid = new QGridLayout(queries);
  grid->addWidget(label("SELECT", 12), 0, 0);
  grid->addWidget(cboFunction, 0, 1);
  grid->addWidget(label("OF", 13), 0, 2);
  grid->addWidget(cboOfField, 0, 3);
  for (int row = 0; row <= 3; ++row) {
    QLabel* keyword = row == 0 ? label("WHERE", 14) : label("AND", kAndLabels[row - 1]);
    QLabel* is = row == 0 ? label("IS", 18) : label("IS", kIsLabels[row - 1]);
    grid->addWidget(keyword, row + 1, 0);
    grid->addWidget(controls_.Add(FieldList(false), "cboWhereField", row), row + 1, 1);
    grid->addWidget(is, row + 1, 2);
    grid->addWidget(controls_.Add(new QLineEdit, "txtIsCriteria", row), row + 1, 3);
  }
  cmdQuery = controls_.Add(new QPushButton("Run Query"), "cmdQuery");
  QLabel* result = label("RESULT", 19);
  result->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid->addWidget(cmdQuery, 5, 0, 1, 2);
  grid->addWidget(result, 5, 2, 1, 2);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(6, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabResults);
  resize(520, 300);

  connect(cmdQuery, &QPushButton::clicked, this, [this] { RunHandler([this] { cmdQuery_Click(); }); });
}

std::string frmQuery::QueryStatement() const {
  std::string statement = "SELECT " + S(cboFunction->currentText()) + "(" + S(cboOfField->currentText()) + ") FROM [" +
                          Parms().strSimTable + "]";
  for (int row = 0; row <= 3; ++row) {
    std::string field = S(cboWhereField(row)->currentText());
    if (field.empty()) continue;
    statement += (row == 0 ? " WHERE " : " AND ") + field + " " + S(txtIsCriteria(row)->text());
  }
  return statement;
}

void frmQuery::cmdQuery_Click() {
  // The run works on the shared connection and the engine's records: a
  // query waits until it has ended.
  if (owner_.QueryRefusedDuringRun()) return;
  std::string result = kQueryFailed;
  // A table name that cannot stand between brackets is no table to query.
  if (db::IsBracketSafe(Parms().strSimTable)) {
    std::string statement = QueryStatement();
    auto engine = std::make_unique<clsResearch>(clsResearch::JoinSharedConnection{});
    result = engine->QueryDB(statement);
  }
  lblResult(19)->setText(Q(result));
}

}  // namespace ui
