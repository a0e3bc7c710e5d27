// LoadData: a symbol's stored history into the day records, topped up from
// the quote service first when the run allows downloads.
#include <algorithm>
#include <string>

#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/day_record.h"
#include "market_data/history_rows.h"
#include "market_data/own_table_names.h"
#include "market_data/run_parameters.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"

namespace {

bool IsIndexSymbol(const std::string& symbol) { return !symbol.empty() && symbol[0] == '^'; }

// A date literal of the database kind ("" for a kind without one).
std::string DateLiteral(rt::Date d, int16_t databaseType) {
  const std::string text = rt::FormatShortDate(d);
  if (databaseType == 1) return "#" + text + "#";
  if (databaseType == 2) return "'" + text + "'";
  return "";
}

// MIN and MAX of the stored days from five days before the start (so that a
// start on a weekend or holiday still finds its first trading day) to the end.
std::string RangeQuery(const std::string& symbol, rt::Date start, rt::Date end, int16_t databaseType) {
  if (databaseType != 1 && databaseType != 2) return "";
  return "SELECT MIN(DamnDate), MAX(DamnDate) From [" + symbol + "] WHERE " +
         "DamnDate >= " + DateLiteral(start - 5, databaseType) + " AND " +
         "DamnDate <= " + DateLiteral(end, databaseType);
}

std::string RowQuery(const std::string& symbol, rt::Date start, rt::Date requestedEnd, int16_t databaseType,
                     const std::string& rangeQuery) {
  if (databaseType != 1 && databaseType != 2) return rangeQuery;
  const std::string columns = IsIndexSymbol(symbol) ? "SELECT DamnDate, [Open], [High], [Low],[Close]From ["
                                                    : "SELECT DamnDate, [Open], [High], [Low],[Close], Adj_Close, "
                                                      "Volume From [";
  return columns + symbol + "] WHERE " + "DamnDate >= " + DateLiteral(start, databaseType) + " AND " +
         "DamnDate <= " + DateLiteral(requestedEnd, databaseType) + " ORDER BY DamnDate DESC";
}

// The day-record array a symbol's rows go to.
DayRecords& TargetArray(const std::string& symbol) {
  if (!IsIndexSymbol(symbol)) return udtStockDays;
  return symbol == "^DJI" ? udtDJIDays : udtNASDAQDays;
}

bool Before(const rt::Date& a, const db::Value& b) { return !b.IsNull() && a < b.ToDate(); }
bool Before(const db::Value& a, const rt::Date& b) { return !a.IsNull() && a.ToDate() < b; }

// Days before the first stored one can come only from a download that starts
// earlier, at the inception date or, when none is known, at the earliest date
// for analysis where a download without a start begins.
bool OlderDaysCanCome(rt::Date inception, rt::Date firstStored) {
  const rt::Date from = inception.IsZero() ? Parms().datEarliestDate : inception;
  return HoldsTradingDay(from, firstStored - 1);
}

// Room for the trading days between two dates (five of every seven), so
// that a long history is read without growing its array again and again.
size_t TradingDaysRoom(rt::Date from, rt::Date to) {
  const double days = to - from;
  return days > 0 ? static_cast<size_t>(days * 5 / 7) + 8 : 8;
}

}  // namespace

bool clsResearch::BringHistoryUpToDate(std::string& symbol, rt::Date startDate, rt::Date endDate,
                                       const std::string& rangeQuery, db::Value& minDate, db::Value& maxDate) {
  const RunParameters& parms = Parms();
  const bool downloading = parms.blnUpdateData && parms.blnUseInternet;
  try {
    db::Connection& connection = SharedConnection();
    auto readRange = [&] {
      db::Recordset range = connection.OpenRecordset(rangeQuery);
      minDate = range.Field(0);
      maxDate = range.Field(1);
    };
    user::DoEvents();
    LogError("Opening recordset: " + rangeQuery);
    try {
      readRange();
    } catch (const rt::Error& e) {
      if (e.Number() != db::kErrTableMissing) throw;
      LogError("Calling CreateTable: " + symbol);
      CreateTable(symbol);
      LogError("CreateTable returned");
      LogError("Opening recordset again: " + rangeQuery);
      readRange();
    }
    LogError("Recordset open");

    // Days left out by an earlier download, before any download of this
    // load: one that leaves days out now does not fetch them twice in a run.
    if (downloading && !maxDate.IsNull()) FetchMissingDaysAgain(symbol, startDate, endDate);
    const bool wantsDownload = maxDate.IsNull() || Before(startDate, minDate) || Before(maxDate, endDate);
    if (!downloading && !maxDate.IsNull())
      NoteStaleHistory(symbol, maxDate.ToDate(), endDate);  // told once, at the run's end
    if (!parms.blnUpdateData || !wantsDownload) return true;
    rt::Date inception;
    if (maxDate.IsNull() || Before(startDate, minDate)) {
      LogError("Calling GetInceptionDate: " + symbol);
      inception = GetInceptionDate(symbol);
      LogError("GetInceptionDate returned");
    }
    // A symbol first traded after the window has nothing to fetch in it.
    const bool tradedLater = !inception.IsZero() && endDate < inception;
    if (parms.blnUseInternet && !tradedLater) {
      rt::Date from = inception;
      // A history that starts later than the run needs is filled from the
      // inception date when older days can come; otherwise only the days
      // after the newest stored day are fetched.
      if (!maxDate.IsNull() && !(Before(startDate, minDate) && OlderDaysCanCome(inception, minDate.ToDate())))
        from = maxDate.ToDate();
      LogError("Calling UpdateStock: " + rt::FormatDate(from) + ", " + rt::FormatDate(endDate));
      strDownloadFailure_.clear();
      bool updated = UpdateStock(from, endDate, symbol);
      LogError(std::string("UpdateStock returned: ") + (updated ? "True" : "False"));
      // A download cut short by a Stop or a failure may leave a gap in the
      // stored days: the run does not use the symbol.
      if (!updated) {
        if (!StopRequested()) NoteDownloadFailure(symbol);
        return false;
      }
    }
    readRange();
    return true;
  } catch (const rt::Error& e) {
    if (!downloading) throw;
    LogError("Error: " + std::to_string(e.Number()) + " - " + e.Description());
    // Until the history is up to date, a failure fails the symbol's
    // download: one of a lasting kind ends the run, told once; any other is
    // named with the symbol in the run's message.
    if (db::IsLastingFailure(e)) {
      EndRunOnWriteFailure(e, "Unable to store the quote history of " + symbol + ".");
    } else {
      DownloadFailed(e);
      if (!StopRequested()) NoteDownloadFailure(symbol);
    }
    return false;
  }
}

rt::Date clsResearch::LoadData(std::string& symbol, rt::Date& startDate, rt::Date& endDate, int16_t& lookBackDays) {
  LogError("Entering LoadData");
  const RunParameters& parms = Parms();
  const rt::Date requestedStart = startDate;
  const rt::Date requestedEnd = endDate;
  HistoryWindow(requestedStart, requestedEnd, lookBackDays, startDate, endDate);

  udtStockDays.assign(1, DayRecord{});
  DayRecords& target = TargetArray(symbol);
  // An index load starts from an empty array, so a failed load leaves no
  // stale days of an earlier one behind.
  if (&target != &udtStockDays) target.clear();

  if (!db::IsBracketSafe(symbol)) {
    user::MsgBox("The symbol \"" + symbol + "\" cannot be used as a table name.");
    return NotEnoughData();
  }
  // Its quote table would be the program's: never read as quotes nor made.
  if (IsOwnTableName(symbol)) {
    NoteOwnTableSymbol(symbol);
    return NotEnoughData();
  }

  try {
    const std::string rangeQuery = RangeQuery(symbol, startDate, endDate, parms.intDatabaseType);
    db::Value minDate, maxDate;
    if (!BringHistoryUpToDate(symbol, startDate, endDate, rangeQuery, minDate, maxDate) ||
        !SpansMoreThanLookBack(minDate, maxDate, parms.intWinDays)) {
      LogError("Exiting LoadData: 1/1/1800");
      startDate = requestedStart;
      return NotEnoughData();
    }
    LogError("Date range > intWinDays");
    NoteMissingDays(symbol, startDate, endDate);  // told once, at the run's end

    const bool isIndex = IsIndexSymbol(symbol);
    const std::string rowQuery = RowQuery(symbol, startDate, requestedEnd, parms.intDatabaseType, rangeQuery);
    user::DoEvents();
    LogError("Opening recordset: " + rowQuery);
    // The rows go straight into the day records; a zero-close row is
    // skipped without leaving a gap.
    target.clear();
    target.reserve(TradingDaysRoom(std::max(startDate, minDate.ToDate()), std::min(requestedEnd, maxDate.ToDate())));
    SharedConnection().ReadRows(rowQuery, [&](const db::RowReader& row) {
      DayRecord day;
      if (isIndex ? IndexDayFromRow(row, day) : StockDayFromRow(row, day)) target.push_back(day);
    });
    user::DoEvents();
    LogError("Recordset open");
    if (udtStockDays.empty()) udtStockDays.assign(1, DayRecord{});

    rt::Date result = FirstFullLookBackDate(requestedStart, udtStockDays.back().datDamnDate, parms.intWinDays);
    startDate = requestedStart;
    LogError("Exiting LoadData: " + rt::FormatDate(result));
    return result;
  } catch (const rt::Error& e) {
    if (udtStockDays.empty()) udtStockDays.assign(1, DayRecord{});
    // A lasting failure ends the run, told once with its cause.
    if (db::IsLastingFailure(e)) EndRunOnWriteFailure(e, "Unable to read the quote history of " + symbol + ".");
    else if (e.Number() != db::kErrStatementFailed && e.Number() != db::kErrConversionFailed)
      user::MsgBox(e.Description());
    LogError("Error: " + std::to_string(e.Number()) + " - " + e.Description());
    LogError("Exiting LoadData in error");
    return NotEnoughData();
  }
}
