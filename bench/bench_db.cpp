// Single-row write transactions (BEGIN, one INSERT, COMMIT) per second on a
// quote table: the yardstick of the write-path benchmarks; and reading a
// stored history back.
#include <chrono>
#include <cstdio>

#include "platform/db/connection.h"
#include "single_row_commits.h"
#include "support/temp_app_folder.h"

int main() {
  std::printf("db_insert_commit: %.0f transactions/s\n", bench::SingleRowCommitsPerSecond());

  testsupport::TempAppFolder folder;
  auto path = folder.File("bench.db");
  db::CreateDatabaseFile(path);
  db::Connection cn;
  cn.Open(path);
  cn.Execute("CREATE TABLE [IBM] ([DamnDate] DATETIME PRIMARY KEY, [Open] MONEY, [High] MONEY, [Low] MONEY, "
             "[Close] MONEY, [Adj_Close] MONEY, [Volume] INTEGER)");
  rt::Date first = *rt::Date::FromParts(1990, 1, 1);
  cn.BeginTrans();
  for (int i = 0; i < 5000; ++i)
    cn.Execute("INSERT INTO [IBM] (DamnDate, High, Low, [Close], [Open], Adj_Close, Volume) VALUES (#" +
               rt::FormatMMDDYY(first + i) + "#,'12.5','11.75','12.25','12','12.25','120000')");
  cn.CommitTrans();

  auto start = std::chrono::steady_clock::now();
  long rows = 0;
  constexpr int kReads = 200;
  for (int i = 0; i < kReads; ++i) {
    db::Recordset rs = cn.OpenRecordset("SELECT DamnDate, [Open], [High], [Low],[Close], Adj_Close, Volume From [IBM] "
                                        "WHERE DamnDate >= #1/1/1990# AND DamnDate <= #12/31/2003# ORDER BY DamnDate DESC");
    rows += rs.RecordCount();
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("db_history_read: %.0f rows/s\n", rows / seconds);
  return 0;
}
