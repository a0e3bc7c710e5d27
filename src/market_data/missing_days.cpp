// Days a download left out inside a stored history: each later run that may
// download fetches them again, and a run whose histories still miss some
// says so once, at its end, since the indicators of the days after such a
// day are computed across it.
#include <numeric>

#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/missing_days_table.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/named_list.h"

namespace {

// Days named per symbol in the run's message.
constexpr size_t kListedDays = 3;

// The stored day nearest to `day` before it (or after it), so that a
// download between the two holds it; `day` a week away when there is none.
rt::Date StoredDayBeside(db::Connection& connection, const std::string& symbol, rt::Date day, bool before) {
  const std::string sql = std::string(before ? "SELECT MAX(DamnDate)" : "SELECT MIN(DamnDate)") + " FROM [" +
                          db::SqlName(symbol) + "] WHERE DamnDate " + (before ? "<" : ">") + " ?";
  db::Recordset stored = connection.OpenRecordset(sql, {db::Value(day)});
  if (stored.Eof() || stored.Field(0).IsNull()) return before ? day - 7 : day + 7;
  return stored.Field(0).ToDate();
}

std::string DaysCount(size_t days) { return std::to_string(days) + (days == 1 ? " day" : " days"); }

// "5/15/2019" or "1/4/2001, 2/6/2001, 3/8/2001 and 22 more".
std::string DaysNamed(const std::vector<rt::Date>& days) {
  return rt::FirstNamedAndMore(days, kListedDays, [](rt::Date day) { return rt::FormatShortDate(day); });
}

// The records in quotes as stored, the first few and a count of the rest.
std::string RecordsNamed(const std::vector<std::string>& records) {
  return rt::FirstNamedAndMore(records, kListedDays, [](const std::string& record) { return "\"" + record + "\""; });
}

}  // namespace

void clsResearch::FetchMissingDaysAgain(const std::string& symbol, rt::Date from, rt::Date to) {
  db::Connection& connection = SharedConnection();
  const std::vector<rt::Date> days = MissingDays(connection, symbol, from, to).days;
  if (days.empty() || !missingDaysFetched_.insert(symbol).second) return;
  rt::Date start = StoredDayBeside(connection, symbol, days.front(), true);
  rt::Date end = StoredDayBeside(connection, symbol, days.back(), false);
  std::string name = symbol;
  LogError("Fetching missing days again: " + symbol + ", " + rt::FormatDate(start) + ", " + rt::FormatDate(end));
  strDownloadFailure_.clear();
  // The stored history stays as it was when the download fails: the run
  // names the failure, and the days stay missing.
  if (!UpdateStock(start, end, name) && !StopRequested()) NoteDownloadFailure(symbol);
}

void clsResearch::NoteMissingDays(const std::string& symbol, rt::Date from, rt::Date to) {
  RecordedMissingDays recorded;
  try {
    recorded = MissingDays(SharedConnection(), symbol, from, to);
  } catch (const rt::Error& e) {
    // Records that cannot be read fail every symbol's load alike: the cause
    // is told once, at the run's end (a lasting one as it happens).
    if (!db::IsLastingFailure(e)) strMissingDaysUnread_ = e.Description();
    throw;
  }
  if (recorded.days.empty()) missingDays_.erase(symbol);
  else missingDays_[symbol] = std::move(recorded.days);
  if (recorded.unreadable.empty()) unreadableMissingDays_.erase(symbol);
  else unreadableMissingDays_[symbol] = std::move(recorded.unreadable);
}

std::string clsResearch::MissingDaysSummary() const {
  if (missingDays_.empty()) return "";
  const size_t days = std::accumulate(missingDays_.begin(), missingDays_.end(), size_t{0},
                                      [](size_t sum, const auto& entry) { return sum + entry.second.size(); });
  const bool one = days == 1;
  if (missingDays_.size() == 1) {
    const auto& [symbol, named] = *missingDays_.begin();
    return DaysCount(days) + " of the stored history of " + symbol + (one ? " is" : " are") + " missing (" +
           DaysNamed(named) + ")";
  }
  return DaysCount(days) + " of the stored history of " + std::to_string(missingDays_.size()) + " symbols are missing";
}

std::string clsResearch::MissingDaysReport() const {
  if (missingDays_.empty()) return "";
  return "Days inside the period are missing from the stored history (the quote service's rows for them were left "
         "out), so the results are computed across them:" +
         rt::SymbolLines(missingDays_, ": ",
                         [](const std::vector<rt::Date>& days) {
                           return DaysCount(days.size()) + " of the stored history " +
                                  (days.size() == 1 ? "is" : "are") + " missing (" + DaysNamed(days) + ")";
                         }) +
         "\r\nA later run with \"Update Data (Internet Required)\" ticked and the Internet connection on fetches "
         "them again; a day the quote service still gives unreadable stays missing and is named here.";
}

std::string clsResearch::UnreadableMissingDaysReport() const {
  if (!strMissingDaysUnread_.empty())
    return "The stored histories were left out of the run: the days missing from them could not be read. " +
           strMissingDaysUnread_;
  if (unreadableMissingDays_.empty()) return "";
  return "Records of the table Missing_Days whose day cannot be read were left out of the run:" +
         rt::SymbolLines(unreadableMissingDays_, ": ", RecordsNamed) +
         "\r\nCorrect the DamnDate of each such row to the day it stands for (written like 2019-05-15), or delete "
         "the row: until then that day is neither fetched again nor named as missing.";
}
