// Tools > Compact and Repair DB and Remove Empty Tables: the database file
// compacted with no connection open on it, and the master list cleared of
// symbols whose quote table is missing or empty.
#include <initializer_list>
#include <utility>
#include <vector>

#include "market_data/database_connection.h"
#include "market_data/own_table_names.h"
#include "market_data/run_parameters.h"
#include "market_data/schema.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/user/user_services.h"
#include "ui/main_window.h"

namespace ui {
namespace {

void Yield() { user::DoEvents(); }

constexpr const char* kCompacting = "Compacting and repairing the database ...";

// The caption a long step replaces, given back however the step ends.
struct CaptionKept {
  QLabel* label;
  QString text;
  ~CaptionKept() { label->setText(text); }
};

// Disables the buttons for its life, then gives each its state back.
class RunButtonsHeld {
 public:
  explicit RunButtonsHeld(std::initializer_list<QPushButton*> buttons) {
    for (QPushButton* button : buttons) {
      held_.emplace_back(button, button->isEnabled());
      button->setEnabled(false);
    }
  }
  ~RunButtonsHeld() {
    for (const auto& [button, enabled] : held_) button->setEnabled(enabled);
  }
  RunButtonsHeld(const RunButtonsHeld&) = delete;
  RunButtonsHeld& operator=(const RunButtonsHeld&) = delete;

 private:
  std::vector<std::pair<QPushButton*, bool>> held_;
};

enum class QuoteTable { kMissing, kEmpty, kHoldsRows, kUnknown };

QuoteTable ProbeQuoteTable(db::Connection& connection, const std::string& symbol) {
  // A table of the program's own is no symbol's, to find empty and drop.
  if (IsOwnTableName(symbol)) return QuoteTable::kUnknown;
  try {
    db::Recordset probe = connection.OpenRecordset("SELECT TOP 1 DamnDate FROM [" + db::SqlName(symbol) + "]");
    return probe.Eof() ? QuoteTable::kEmpty : QuoteTable::kHoldsRows;
  } catch (const rt::Error& error) {
    // Any other failure (a name that cannot be quoted) leaves the row alone.
    return error.Number() == db::kErrTableMissing ? QuoteTable::kMissing : QuoteTable::kUnknown;
  } catch (const std::exception&) {
    return QuoteTable::kUnknown;
  }
}

}  // namespace

void frmMain::mnuRepairDB_Click() {
  if (RefusedDuringRun("Compact and Repair DB")) return;
  // The other commands are refused meanwhile, as during a run.
  RunAsWork([this] { RepairDatabaseAndRenewEngine(); });
}

void frmMain::RepairDatabaseAndRenewEngine() {
  // It serves the window for as long as it takes (seconds on a large file),
  // before every sweep too: the status line says what runs.
  QLabel* caption = Label("lblCurrStock", 1);
  CaptionKept kept{caption, caption->text()};
  caption->setText(kCompacting);
  user::BusyPointer busy;
  // Without an engine the run's buttons would reach nothing: they wait for the new one.
  RunButtonsHeld held({cmdSimulate, cmdPauseSim, cmdStopSim});
  objResearch.reset();                      // the last engine closes the connection, freeing the file
  RepairDatabase(Parms().strDatabasePath);  // reports its own failure
  // Whatever the repair did, the window goes on with an engine.
  NewEngine();
  // A close asked for meanwhile stops what follows (a sweep) at its first step.
  if (closeWhenRunEnds_) objResearch->StopProcess(true);
}

void frmMain::mnuRemoveEmptyTables_Click() {
  if (RefusedDuringRun("Remove Empty Tables")) return;
  user::BusyPointer busy;
  RunEngineWork([](clsResearch&) {
    // The connection's own share: it stays valid across the yields.
    std::shared_ptr<db::Connection> connection = cnDatabase;
    if (!connection) return;
    std::vector<std::string> removed;
    try {
      db::Recordset master = connection->OpenRecordset("SELECT Symbol, Market FROM Stock_Master ORDER BY Symbol");
      Yield();
      for (; !master.Eof(); master.MoveNext()) {
        Yield();
        std::string symbol = master.Field("Symbol").ToText();
        QuoteTable table = ProbeQuoteTable(*connection, symbol);
        if (table == QuoteTable::kEmpty) {
          try {
            connection->Execute("drop table [" + symbol + "]");
          } catch (const std::exception&) {
            // The row goes all the same; the empty table does no harm.
          }
        }
        if (table == QuoteTable::kEmpty || table == QuoteTable::kMissing) removed.push_back(symbol);
      }
    } catch (const std::exception&) {
      // Without a master list there is nothing to remove.
    }
    // The master rows go together at the end.
    for (const std::string& symbol : removed) {
      try {
        connection->Execute("DELETE FROM [Stock_Master] WHERE [Symbol] = '" + db::SqlText(symbol) + "'");
      } catch (const std::exception&) {
      }
    }
  });
}

}  // namespace ui
