// Stores downloaded history page by page, and keeps the inception date of
// each symbol in Stock_Master.
#include <optional>
#include <string>

#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/day_record.h"
#include "market_data/run_parameters.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"

namespace {

// A page of this many rows is full: the older part is asked for next.
constexpr size_t kFullPage = 200;

bool IsIndexSymbol(const std::string& symbol) { return !symbol.empty() && symbol[0] == '^'; }

// The INSERT of one downloaded row; "" for a database kind without one.
// Dates go in with four-digit years so that no century is lost.
std::string QuoteInsert(const std::string& symbol, const DayRecord& row, int16_t databaseType) {
  if (databaseType != 1 && databaseType != 2) return "";
  const std::string date = rt::FormatMMDDYYYY(row.datDamnDate);
  const std::string head = databaseType == 1 ? "VALUES (#" + date + "#,'" : "VALUES ('" + date + "','";
  const std::string table = "INSERT INTO [" + db::SqlName(symbol) + "] ";
  const std::string prices = db::SqlText(row.strHigh.Trimmed()) + "','" + db::SqlText(row.strLow.Trimmed()) +
                             "','" + db::SqlText(row.strClose.Trimmed()) + "','" +
                             db::SqlText(row.strOpen.Trimmed());
  if (IsIndexSymbol(symbol)) return table + "(DamnDate, High, Low, [Close], [Open]) " + head + prices + "')";
  return table + "(DamnDate, High, Low, [Close], [Open], Adj_Close, Volume) " + head + prices + "','" +
         db::SqlText(row.strAdjClose.Trimmed()) + "','" + std::to_string(row.lngVolume) + "')";
}

// The downloaded page holds no row when its first element has no numeric open.
bool PageHasRows() { return !udtStockDays.empty() && rt::IsNumeric(udtStockDays[0].strOpen.Trimmed()); }

// Thrown to fetch the same page again after the missing table was created.
struct TableWasMissing {};

// Stores the rows of the page, one transaction each. A statement error rolls
// the row back; any other failure (a day already stored) leaves it out.
void StorePage(const std::string& symbol) {
  db::Connection& connection = SharedConnection();
  for (const DayRecord& row : udtStockDays) {
    std::string insert = QuoteInsert(symbol, row, Parms().intDatabaseType);
    user::DoEvents();
    if (!insert.empty()) {
      connection.BeginTrans();
      try {
        connection.Execute(insert);
        connection.CommitTrans();
      } catch (const rt::Error& e) {
        connection.RollbackTrans();
        if (e.Number() == db::kErrTableMissing) throw TableWasMissing{};
      }
    }
    user::DoEvents();
  }
}

}  // namespace

bool clsResearch::UpdateStock(rt::Date& startDate, rt::Date& endDate, std::string& symbol) {
  LogError("Entering UpdateStock: " + rt::FormatDate(startDate) + ", " + rt::FormatDate(endDate) + ", " + symbol);
  bool recordInception = false;
  if (startDate.IsZero()) {
    startDate = Parms().datEarliestDate;
    recordInception = true;
  }
  // Paging moves a copy of the end date; the caller's stays as given.
  rt::Date pageEnd = endDate;
  bool tableMissing = false;
  try {
    for (;;) {
      try {
        if (tableMissing) CreateTable(symbol);
        std::optional<rt::Date> previousOldest;
        for (;;) {
          if (!PullFromNet(symbol, startDate, pageEnd)) {
            LogError("Exiting UpdateStock: False");
            return false;
          }
          if (!PageHasRows()) break;  // nothing in the range: done, no inception date
          StorePage(symbol);
          rt::Date oldest = udtStockDays.back().datDamnDate;
          // A service that ignores the end date would send the same page for
          // ever: go on only while pages reach further back.
          bool olderThanBefore = !previousOldest || oldest < *previousOldest;
          // Rows left out for bad values still count towards a full page.
          const bool fullPage = udtStockDays.size() + intPageRowsLeftOut_ >= kFullPage;
          if (oldest > startDate && fullPage && olderThanBefore) {
            previousOldest = oldest;
            pageEnd = oldest;
            continue;
          }
          if (recordInception) UpdateInceptionDate(symbol, oldest);
          break;
        }
        LogError("Exiting UpdateStock: True");
        return true;
      } catch (const TableWasMissing&) {
        if (tableMissing) throw rt::Error(db::kErrTableMissing, "The quote table of " + symbol + " is missing.");
        tableMissing = true;
      }
    }
  } catch (const rt::Error& e) {
    LogError("Error: " + std::to_string(e.Number()) + " - " + e.Description());
    LogError("Exiting UpdateStock in error: False");
    return false;
  }
}

void clsResearch::UpdateInceptionDate(const std::string& symbol, rt::Date inceptionDate) {
  std::string sql;
  const std::string date = rt::FormatShortDate(inceptionDate);
  const std::string where = " WHERE Symbol = '" + db::SqlText(symbol) + "'";
  if (Parms().intDatabaseType == 1) sql = "UPDATE [Stock_Master] SET Inception = #" + date + "#" + where;
  else if (Parms().intDatabaseType == 2) sql = "UPDATE [Stock_Master] SET Inception = '" + date + "'" + where;
  db::Connection* connection = nullptr;
  try {
    connection = &SharedConnection();
    connection->BeginTrans();
    connection->Execute(sql);
    connection->CommitTrans();
  } catch (const rt::Error&) {
    try {
      if (connection && connection->TransactionLevel() > 0) connection->RollbackTrans();
    } catch (const rt::Error&) {
    }
  }
}

rt::Date clsResearch::GetInceptionDate(const std::string& symbol) {
  LogError("Entering GetInceptionDate");
  const std::string sql = "SELECT Inception FROM Stock_Master WHERE Symbol = '" + db::SqlText(symbol) + "'";
  LogError("Opening recordset: " + sql);
  user::DoEvents();
  db::Recordset rs;
  try {
    rs = SharedConnection().OpenRecordset(sql);
  } catch (const rt::Error& e) {
    // Without a master table nothing is known of the symbol's first day.
    if (e.Number() != db::kErrTableMissing) throw;
  }
  user::DoEvents();
  LogError("Recordset open");
  rt::Date result;
  // A symbol without a master row (every index) has no known inception.
  if (rs.IsOpen() && !rs.Eof() && rs.Field(0).GetKind() == db::Value::Kind::Date) result = rs.Field(0).ToDate();
  LogError("Exiting GetInceptionDate: " + rt::FormatDate(result));
  return result;
}
