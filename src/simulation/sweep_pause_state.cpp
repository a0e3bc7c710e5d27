// The pause row of a S.M.A.R.T. sweep: one row of SimStatus per simulation
// table, holding the loop state of the variation a sweep is about to run, so
// that a paused sweep can resume after the program was closed.
#include <charconv>
#include <cmath>
#include <exception>

#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/run_parameters.h"
#include "market_data/schema.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "simulation/portfolio_replay_table.h"

namespace {

constexpr size_t kSlots = kSimStatusColumns.size() - 1;     // the key column is not a slot
constexpr size_t kTradeValues = 9;                          // TradePause0 .. TradeCount
constexpr size_t kPortfolioValues = kSlots - kTradeValues;  // PortPause0 .. PortCount

std::string ErrorDescription(const std::exception& e, int32_t& number) {
  const auto* error = dynamic_cast<const rt::Error*>(&e);
  number = error ? error->Number() : 0;
  return e.what();
}

// A slot holds a number: anything else is refused before the store.
const std::string& NumericLiteral(const std::string& text) {
  const char* first = text.data();
  const char* last = first + text.size();
  double value = 0;
  bool leadOk =
      !text.empty() && (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-' || text[0] == '.');
  auto [end, ec] = std::from_chars(first, last, value);
  if (!leadOk || ec != std::errc() || end != last || !std::isfinite(value))
    throw rt::Error(rt::kErrTypeMismatch, "Type mismatch: the pause value \"" + text + "\" is not a number");
  return text;
}

// The 24 slot values of a store in one layout, in column order, bound as the
// texts of the numbers, which each column reads as it read them pasted in.
std::vector<db::Value> SlotValues(const std::vector<std::string>& values, bool isTrade, bool forUpdate) {
  size_t needed = isTrade ? kTradeValues : kPortfolioValues;
  if (values.size() < needed) rt::RaiseSubscript();
  std::vector<db::Value> slots(kSlots, db::Value(std::string("0")));
  slots.reserve(kSlots + 1);  // the statement adds its key
  if (isTrade) {
    for (size_t i = 0; i < kTradeValues; ++i) slots[i] = db::Value(NumericLiteral(values[i]));
  } else {
    for (size_t i = 0; i < kPortfolioValues; ++i) slots[kTradeValues + i] = db::Value(NumericLiteral(values[i]));
    // An update also keeps the ranking choice in the first trade slot.
    if (forUpdate) slots[0] = db::Value(NumericLiteral(values[0]));
  }
  return slots;
}

std::string KeyCondition() { return " WHERE SimTable = '" + db::SqlText(Parms().strSimTable) + "'"; }

// The store's statements: one text each, the values bound, so that a sweep
// storing a row before every variation prepares them once.
const std::string& UpdateText() {
  static const std::string text = [] {
    std::string sql = "UPDATE [SimStatus] SET ";
    for (size_t i = 0; i < kSlots; ++i) sql += (i ? ", " : "") + std::string(kSimStatusColumns[i + 1]) + " = ?";
    return sql + " WHERE SimTable = ?";
  }();
  return text;
}

const std::string& InsertText() {
  static const std::string text = [] {
    std::string columns, values;
    for (size_t i = 0; i < kSimStatusColumns.size(); ++i) {
      columns += (i ? ", " : "") + std::string(kSimStatusColumns[i]);
      values += i ? ", ?" : "?";
    }
    return "INSERT INTO [SimStatus] (" + columns + ") VALUES (" + values + ")";
  }();
  return text;
}

int64_t Update(db::Connection& cn, std::vector<db::Value> slots) {
  slots.emplace_back(Parms().strSimTable);
  return cn.Execute(UpdateText(), slots);
}

void Insert(db::Connection& cn, std::vector<db::Value> slots) {
  slots.insert(slots.begin(), db::Value(Parms().strSimTable));
  cn.Execute(InsertText(), slots);
}

// The text of a stored slot: exact, so that a resumed loop starts on the
// very value it stopped at.
std::string SlotText(const db::Value& value) {
  if (value.GetKind() == db::Value::Kind::Double) return rt::FormatRoundTrip(value.ToDouble());
  std::string text = value.ToText();
  size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

void clsResearch::StorePauseCriteria(const std::vector<std::string>& values, const bool& isTrade) {
  // The pause row is no simulation table: a portfolio sweep's rows stay held across its store.
  const simulation::ChangesElsewhere elsewhere(replayTable_.get());
  for (bool tableCreated = false;;) {
    try {
      db::Connection& cn = SharedConnection();
      cn.BeginTrans();
      if (Update(cn, SlotValues(values, isTrade, true)) == 0) Insert(cn, SlotValues(values, isTrade, false));
      cn.CommitTrans();
      return;
    } catch (const std::exception& e) {
      // Undo whatever part ran; when there is nothing to undo (no connection,
      // no transaction) that failure is the caller's.
      SharedConnection().RollbackTrans();
      int32_t number = 0;
      std::string description = ErrorDescription(e, number);
      // A database whose master list came before SimStatus has no pause
      // table: without one a sweep could be paused but never resumed.
      if (number == db::kErrTableMissing && !tableCreated && CreatePauseTable()) {
        tableCreated = true;
        continue;
      }
      LogError("Error saving pause criteria: " + std::to_string(number) + " - " + description);
      return;
    }
  }
}

bool clsResearch::CreatePauseTable() {
  try {
    SharedConnection().Execute(SimStatusStatement(Parms().intDatabaseType));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void clsResearch::RetrievePauseCriteria(std::vector<std::string>& values) {
  values.assign(kSlots, "");
  try {
    std::string sql = "SELECT ";
    for (size_t i = 1; i < kSimStatusColumns.size(); ++i)
      sql += (i > 1 ? ", " : "") + std::string(kSimStatusColumns[i]);
    db::Recordset rs = SharedConnection().OpenRecordset(sql + " FROM [SimStatus]" + KeyCondition());
    if (!rs.Eof())
      for (size_t i = 0; i < kSlots; ++i) values[i] = SlotText(rs.Field(static_cast<int>(i)));
    rs.Close();
  } catch (const std::exception& e) {
    int32_t number = 0;
    std::string description = ErrorDescription(e, number);
    LogError("Error retrieving pause criteria: " + std::to_string(number) + " - " + description);
  }
}
