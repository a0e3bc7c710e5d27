// Single-row write transactions (BEGIN, one INSERT, COMMIT) per second on a
// quote table, as the quote storage and the winner log write them.
#include <chrono>
#include <cstdio>

#include "platform/db/connection.h"
#include "platform/runtime/date.h"
#include "support/temp_app_folder.h"

int main() {
  testsupport::TempAppFolder folder;
  auto path = folder.File("bench.db");
  db::CreateDatabaseFile(path);
  db::Connection cn;
  cn.Open(path);
  cn.Execute("CREATE TABLE [IBM] ([DamnDate] DATETIME PRIMARY KEY, [Open] MONEY, [High] MONEY, [Low] MONEY, "
             "[Close] MONEY, [Adj_Close] MONEY, [Volume] INTEGER)");

  constexpr int kRows = 5000;
  rt::Date first = *rt::Date::FromParts(1990, 1, 1);
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kRows; ++i) {
    cn.BeginTrans();
    cn.Execute("INSERT INTO [IBM] (DamnDate, High, Low, [Close], [Open], Adj_Close, Volume) VALUES (#" +
               rt::FormatMMDDYY(first + i) + "#,'12.5','11.75','12.25','12','12.25','120000')");
    cn.CommitTrans();
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("db_insert_commit: %.0f transactions/s\n", kRows / seconds);

  start = std::chrono::steady_clock::now();
  long rows = 0;
  constexpr int kReads = 200;
  for (int i = 0; i < kReads; ++i) {
    db::Recordset rs = cn.OpenRecordset("SELECT DamnDate, [Open], [High], [Low],[Close], Adj_Close, Volume From [IBM] "
                                        "WHERE DamnDate >= #1/1/1990# AND DamnDate <= #12/31/2003# ORDER BY DamnDate DESC");
    rows += rs.RecordCount();
  }
  seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("db_history_read: %.0f rows/s\n", rows / seconds);
  return 0;
}
