// Stores downloaded history page by page, and keeps the inception date of
// each symbol in Stock_Master.
#include <algorithm>
#include <optional>
#include <string>

#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/day_record.h"
#include "market_data/missing_days_table.h"
#include "market_data/run_parameters.h"
#include "platform/db/bound_statement.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"

namespace {

// A page of this many rows is full: the older part is asked for next.
constexpr size_t kFullPage = 200;

bool IsIndexSymbol(const std::string& symbol) { return !symbol.empty() && symbol[0] == '^'; }

// The INSERT of a symbol's downloaded rows, one row's values bound at a time
// as the pasted text carried them: every price and the volume as quoted
// text, the date as a date literal (kind 1) or as its "mm/dd/yyyy" text
// (kind 2). No statement for another database kind.
class QuoteInsert {
 public:
  QuoteInsert(const std::string& symbol, int16_t databaseType)
      : index_(IsIndexSymbol(symbol)), databaseType_(databaseType) {
    if (databaseType != 1 && databaseType != 2) return;
    statement_.sql = "INSERT INTO [" + db::SqlName(symbol) + "] " +
                     (index_ ? "(DamnDate, High, Low, [Close], [Open]) VALUES (?,?,?,?,?)"
                             : "(DamnDate, High, Low, [Close], [Open], Adj_Close, Volume) VALUES (?,?,?,?,?,?,?)");
    statement_.parameters.reserve(7);
  }
  bool Exists() const { return !statement_.sql.empty(); }
  const db::BoundStatement& For(const DayRecord& row) {
    std::vector<db::Value>& values = statement_.parameters;
    values.clear();
    // Four-digit years, so that no century is lost.
    values.push_back(databaseType_ == 1 ? db::Value(row.datDamnDate.DateOnly())
                                        : db::Value(rt::FormatMMDDYYYY(row.datDamnDate)));
    for (const rt::PriceText* price : {&row.strHigh, &row.strLow, &row.strClose, &row.strOpen})
      values.emplace_back(price->Trimmed());
    if (!index_) {
      values.emplace_back(row.strAdjClose.Trimmed());
      values.emplace_back(std::to_string(row.lngVolume));
    }
    return statement_;
  }

 private:
  bool index_;
  int16_t databaseType_;
  db::BoundStatement statement_;
};

// The downloaded page holds no row when its first element has no numeric open.
bool PageHasRows() { return !udtStockDays.empty() && rt::IsNumeric(udtStockDays[0].strOpen.Trimmed()); }

// Thrown to fetch the same page again after the missing table was created.
struct TableWasMissing {};

// Thrown to end the download when the table refuses a row for another reason
// than holding its day already: the day would be missing for good, since
// later downloads only look beyond the stored days.
struct RowRefused {
  std::string cause;
};

bool IsAlreadyStored(const rt::Error& e) {
  return e.Number() == db::kErrProviderFailure && e.Description() == db::kDuplicateValuesText;
}

// The same day's copies agree when every field the table keeps is the same.
bool SameQuote(const DayRecord& a, const DayRecord& b) {
  return a.strOpen == b.strOpen && a.strHigh == b.strHigh && a.strLow == b.strLow && a.strClose == b.strClose &&
         a.strAdjClose == b.strAdjClose && a.lngVolume == b.lngVolume;
}

// The downloaded days to store, oldest first, each once.
struct DaysToStore {
  std::vector<const DayRecord*> oldestFirst;
  std::vector<rt::Date> conflicting;  // days given in copies that disagree
  size_t copiesLeftOut = 0;           // the copies of those days
};

// Each page repeats the oldest day of the page before, and a page may give a
// day twice: copies that agree are one day, while copies that disagree leave
// no way to tell which is true, so none of them is stored.
DaysToStore SoundDays(const DayRecords& rows) {
  // The records are large: their order is sorted, not the records.
  std::vector<const DayRecord*> sorted;
  sorted.reserve(rows.size());
  for (const DayRecord& row : rows) sorted.push_back(&row);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const DayRecord* a, const DayRecord* b) { return a->datDamnDate < b->datDamnDate; });
  DaysToStore days;
  days.oldestFirst.reserve(sorted.size());
  for (auto first = sorted.begin(); first != sorted.end();) {
    auto end = std::find_if(first, sorted.end(),
                            [&](const DayRecord* row) { return row->datDamnDate != (*first)->datDamnDate; });
    if (std::all_of(first, end, [&](const DayRecord* row) { return SameQuote(*row, **first); })) {
      days.oldestFirst.push_back(*first);
    } else {
      days.conflicting.push_back((*first)->datDamnDate);
      days.copiesLeftOut += static_cast<size_t>(end - first);
    }
    first = end;
  }
  return days;
}

// Stores the days in the download's transaction, oldest first, a statement a
// row: the table is keyed by day, and rows that arrive in key order fill its
// pages instead of splitting them (pages come newest first). A day already
// stored (a top-up asks again for the newest stored day) is undone by the
// database alone and skipped. Any other failure passes to the caller.
void StoreOldestFirst(const std::string& symbol, const std::vector<const DayRecord*>& oldestFirst) {
  db::Connection& connection = SharedConnection();
  QuoteInsert insert(symbol, Parms().intDatabaseType);
  for (const DayRecord* row : oldestFirst) {
    user::DoEvents();
    if (insert.Exists()) {
      const db::BoundStatement& statement = insert.For(*row);
      try {
        connection.Execute(statement.sql, statement.parameters);
      } catch (const rt::Error& e) {
        if (db::IsLastingFailure(e)) throw;
        if (e.Number() == db::kErrTableMissing) throw TableWasMissing{};
        if (!IsAlreadyStored(e)) throw RowRefused{e.Description()};
      }
    }
    user::DoEvents();
  }
}

// The page reached the oldest day the service has: it was not full, none of
// its rows was left out (one might have been older) and a trading day lies
// between the start of the range and its oldest row. A page that merely
// reached the start says nothing of older days.
bool ReachedFirstDay(size_t pageRows, size_t rowsLeftOut, rt::Date start, rt::Date oldest) {
  return pageRows < kFullPage && rowsLeftOut == 0 && HoldsTradingDay(start, oldest - 1);
}

// The whole download as one transaction. Pages come newest first, so a
// download cut short after a page would leave a gap between the days stored
// before and the new pages, and no later top-up (which starts after the
// newest stored day) would fill it. Only a finished download is kept.
class DownloadTransaction {
 public:
  explicit DownloadTransaction(db::Connection& connection) : connection_(connection), level_(connection.BeginTrans()) {}
  ~DownloadTransaction() {
    if (committed_) return;
    try {
      while (connection_.TransactionLevel() >= level_) connection_.RollbackTrans();
    } catch (const rt::Error&) {
      // Already undone by the database.
    }
  }
  DownloadTransaction(const DownloadTransaction&) = delete;
  DownloadTransaction& operator=(const DownloadTransaction&) = delete;
  void Commit() {
    connection_.CommitTrans();
    committed_ = true;
  }

 private:
  db::Connection& connection_;
  int level_;
  bool committed_ = false;
};

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
  // Every page's rows, stored together once the last page is in, and the
  // dates of the rows left out.
  DayRecords downloaded;
  std::vector<rt::Date> daysLeftOut;
  try {
    DownloadTransaction download(SharedConnection());
    std::optional<rt::Date> previousOldest;
    for (int32_t pages = 1;; ++pages) {
      if (WritesEnded() || !PullFromNet(symbol, startDate, pageEnd)) {
        LogError("Exiting UpdateStock: False");
        return false;
      }
      if (!PageHasRows()) {
        // Nothing in a range without a trading day is a normal answer.
        if (!HoldsTradingDay(startDate, pageEnd)) break;
        return DownloadFailed("the quote service holds none from " + rt::FormatShortDate(startDate) + " to " +
                              rt::FormatShortDate(pageEnd));
      }
      downloaded.insert(downloaded.end(), udtStockDays.begin(), udtStockDays.end());
      daysLeftOut.insert(daysLeftOut.end(), pageDatesLeftOut_.begin(), pageDatesLeftOut_.end());
      const size_t pageRows = udtStockDays.size() + intPageRowsLeftOut_;
      const rt::Date oldest = udtStockDays.back().datDamnDate;
      const bool morePages = oldest > startDate && pageRows >= kFullPage;
      // A service that ignores the end date would send the same page for
      // ever.
      if (morePages && previousOldest && !(oldest < *previousOldest))
        return DownloadFailed("the quote service sent no older days");
      // How far back in the range the pages have reached, for the window's progress bar.
      int32_t days = static_cast<int32_t>(endDate - startDate);
      int32_t reached = morePages ? static_cast<int32_t>(endDate - oldest) : days;
      Raise(&ResearchEvents::UpdateProgress, reached, days, pages);
      if (morePages) {
        previousOldest = oldest;
        pageEnd = oldest;
        continue;
      }
      if (recordInception && ReachedFirstDay(pageRows, intPageRowsLeftOut_, startDate, oldest))
        UpdateInceptionDate(symbol, oldest);
      break;
    }
    DaysToStore days = SoundDays(downloaded);
    if (days.copiesLeftOut > 0) {
      LogError("Days given twice with different values in the quote pages of " + symbol + ": " +
               std::to_string(days.conflicting.size()));
      quoteRowsLeftOut_[symbol] += days.copiesLeftOut;
      daysLeftOut.insert(daysLeftOut.end(), days.conflicting.begin(), days.conflicting.end());
    }
    try {
      try {
        StoreOldestFirst(symbol, days.oldestFirst);
      } catch (const TableWasMissing&) {
        CreateTable(symbol);
        StoreOldestFirst(symbol, days.oldestFirst);
      }
    } catch (const TableWasMissing&) {
      throw rt::Error(db::kErrTableMissing, "The quote table of " + symbol + " is missing.");
    } catch (const RowRefused& refused) {
      return DownloadFailed("a row could not be stored: " + refused.cause);
    }
    // Kept with the rows: the days left out between them are fetched again
    // by later runs until they are stored.
    if (!days.oldestFirst.empty())
      SettleMissingDays(SharedConnection(), symbol, days.oldestFirst.front()->datDamnDate,
                        days.oldestFirst.back()->datDamnDate, std::move(daysLeftOut));
    download.Commit();
    LogError("Exiting UpdateStock: True");
    return true;
  } catch (const rt::Error& e) {
    LogError("Error: " + std::to_string(e.Number()) + " - " + e.Description());
    LogError("Exiting UpdateStock in error: False");
    // A store that failed for a lasting reason is shown once (the history
    // stays short, so the caller does not use the symbol); any other failure
    // is named with the symbol in the run's message.
    if (db::IsLastingFailure(e)) EndRunOnWriteFailure(e, "Unable to store the quote history of " + symbol + ".");
    else DownloadFailed(e);
    return false;
  }
}

bool clsResearch::DownloadFailed(const std::string& reason) {
  strDownloadFailure_ = reason;
  LogError("Exiting UpdateStock: False - " + reason);
  return false;
}

bool clsResearch::DownloadFailed(const std::exception& error) {
  return DownloadFailed((db::IsDatabaseError(error) ? "a database error: " : "an error: ") + std::string(error.what()));
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
