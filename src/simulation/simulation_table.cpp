// The simulation table: one row per Select candidate, keyed by day, symbol
// and side; created per simulation, filled with a row per winner (committed
// per symbol during a Select run), read back to refill the winners list.
#include "simulation/simulation_table.h"

#include <string_view>

#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/own_table_names.h"
#include "market_data/run_parameters.h"
#include "market_data/statement_yield.h"
#include "platform/db/bound_statement.h"
#include "platform/db/connection.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/db/write_group.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"
#include "simulation/set_aside_tables.h"
#include "simulation/simulation_table_key.h"

namespace {

std::string TrimmedText(const db::Value& value) {
  std::string text = value.ToText();
  size_t b = text.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return text.substr(b, text.find_last_not_of(' ') - b + 1);
}

}  // namespace

bool clsResearch::CreateSimulationTable(const std::string& tableName) {
  std::string name;
  try {
    name = db::SqlName(tableName);
  } catch (const rt::Error& refused) {
    user::MsgBox(refused.Description());
    return false;
  }
  if (name.compare(0, kSimulationTablePrefix.size(), kSimulationTablePrefix) != 0) {
    user::MsgBox("The table '" + name +
                 "' is not a simulation table and is left as it is: simulation tables are "
                 "named " +
                 std::string(kSimulationTablePrefix) + " followed by the simulation's name.");
    return false;
  }
  // Only the Jet dialect has a simulation table; a Select run is refused before this.
  if (Parms().intDatabaseType != 1) return true;

  user::DoEvents();
  try {
    db::Connection& connection = SharedConnection();
    YieldInStatements yield;
    // The old table goes aside and the new one, with its key, takes its name
    // in one transaction: a kill leaves the one or the other whole. The old
    // rows are removed in steps when the Select starts.
    db::WriteGroup created(connection);
    simulation::SetAside(created, connection, name);
    created.Row("CREATE TABLE [" + name + "] (" + simulation::kSimulationColumns + ")", {});
    simulation::KeyTable(connection, name);
    created.Commit();
  } catch (const rt::Error& failed) {
    user::MsgBox(failed.Description());
    user::DoEvents();
    return false;
  }
  user::DoEvents();
  return true;
}

bool clsResearch::RemoveOldWinners() {
  try {
    db::Connection& connection = SharedConnection();
    if (simulation::TablesSetAside(connection).empty()) return true;
    ShowStatus(simulation::kRemovingOldWinners);
    return simulation::RemoveTablesSetAside(connection, [this] { return blnStopProcess_; });
  } catch (const std::exception& failed) {
    EndRunOnWriteFailure(failed, simulation::kUnableToRemoveOldWinners);
    return false;
  }
}

void clsResearch::ShowStatus(std::string text) {
  int32_t noCount = 0;
  bool notRead = false, textOnly = true;
  Raise(&ResearchEvents::StockCount, text, noCount, noCount, notRead, textOnly);
}

void clsResearch::ClearSimPort() {
  user::DoEvents();
  SharedConnection().Execute("DELETE FROM [" + db::SqlName(Parms().strSimTable) + "]");
  user::DoEvents();
}

void clsResearch::LogWinner(const db::BoundStatement& statement) {
  if (!WritesEnded()) {
    try {
      WriteRow(statement);
    } catch (const rt::Error& failed) {
      if (EndsTheRun(failed)) EndRunOnWriteFailure(failed, simulation::kUnableToStoreWinners);
      else if (failed.Number() != db::kErrStatementFailed) ShowRowFailure(failed.Description(), user::kOKOnly);
    }
  }
  user::DoEvents();
}

void clsResearch::LoadWinners() {
  try {
    db::Recordset rows = SharedConnection().OpenRecordset("SELECT * From [" + db::SqlName(Parms().strSimTable) + "] " +
                                                          "ORDER BY [Symbol], [Positioning], [AcquireDate]");
    for (; !rows.Eof(); rows.MoveNext()) {
      clsStock stock;
      stock.Market = TrimmedText(rows.Field("Market"));
      stock.VolumeChange = rows.Field("VolumeChange").ToDouble();
      stock.PriceChange = rows.Field("PriceChange").ToDouble();
      stock.MACDFastLine = rows.Field("MACD").ToDouble();
      stock.ClosePrice = rows.Field("AcquirePrice").ToDouble();
      stock.Volume = rt::CLng(rows.Field("Volume").ToDouble());
      stock.AcquireDate = rows.Field("AcquireDate").ToDate();
      stock.Positioning = TrimmedText(rows.Field("Positioning"));
      stock.Symbol = TrimmedText(rows.Field("Symbol"));
      stock.RSI = rt::CInt(rows.Field("RSI").ToDouble());
      stock.PercentMA = rt::CInt(rows.Field("PercentMA").ToDouble());
      stock.DJ_RSI = rt::CInt(rows.Field("DJ_RSI").ToDouble());
      stock.DJ_MA = rt::CInt(rows.Field("DJ_MA").ToDouble());
      stock.NS_RSI = rt::CInt(rows.Field("NS_RSI").ToDouble());
      stock.NS_MA = rt::CInt(rows.Field("NS_MA").ToDouble());
      stock.BBDistance = rt::CSng(rows.Field("BBDistance").ToDouble());
      stock.RSIChange = rt::CSng(rows.Field("RSIChange").ToDouble());
      if (!rows.Field("GainLoss").IsNull()) stock.GainLoss = rows.Field("GainLoss").ToDouble();
      bool store = false;
      Raise(&ResearchEvents::Winner, stock, store);
    }
  } catch (const rt::Error& failed) {
    LogError("Error in LoadWinners: " + std::to_string(failed.Number()) + " - " + failed.Description());
    user::MsgBox("An error occurred loading simulation results.", user::kInformation, user::kApplicationTitle);
  }
}
