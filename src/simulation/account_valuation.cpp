// The value of the account kept outside the simulation tables: the cash in
// AccountInfo and the open positions of Portfolio at their latest closes.
// The engine reads both tables and never creates or writes them.
#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "platform/db/recordset.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/error.h"

namespace {

std::string RequiredText(const db::Value& v) {
  if (v.IsNull()) rt::RaiseInvalidUseOfNull();
  return v.ToText();
}

}  // namespace

double clsResearch::GetCashBalance() {
  // Neither member touches rsResearch: a running replay is using it.
  db::Recordset rs = SharedConnection().OpenRecordset("SELECT Balance FROM AccountInfo");
  return rs.Eof() ? 0.0 : rs.Field("Balance").ToDouble();
}

double clsResearch::GetStockBalance() {
  db::Connection& cn = SharedConnection();
  double total = 0;
  db::Recordset positions =
      cn.OpenRecordset("SELECT Symbol, Positioning, Shares, AcquirePrice FROM Portfolio WHERE ReleasePrice is NULL");
  for (; !positions.Eof(); positions.MoveNext()) {
    const std::string symbol = RequiredText(positions.Field("Symbol"));
    // Bracketed, so that "BRK.B" and the index tables can be valued too.
    db::Recordset latest =
        cn.OpenRecordset("SELECT TOP 1 [Close] FROM [" + db::SqlName(symbol) + "] ORDER BY DamnDate DESC");
    if (latest.Eof()) continue;
    const double close = latest.Field("Close").ToDouble();
    const double shares = positions.Field("Shares").ToDouble();
    if (positions.Field("Positioning").ToText() == "LONG") {
      total += close * shares;
    } else {
      // The money put into the short position plus its gain or loss at the latest close.
      total += shares * (2 * positions.Field("AcquirePrice").ToDouble() - close);
    }
  }
  return total;
}
