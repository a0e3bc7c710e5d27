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
  db::Connection cn;
  bench::OpenQuoteDatabase(cn, folder, "bench.db");
  cn.BeginTrans();
  for (int i = 0; i < 5000; ++i) cn.Execute(bench::QuoteRowInsert(i));
  cn.CommitTrans();

  auto start = std::chrono::steady_clock::now();
  long rows = 0;
  constexpr int kReads = 200;
  for (int i = 0; i < kReads; ++i) {
    db::Recordset rs =
        cn.OpenRecordset("SELECT DamnDate, [Open], [High], [Low],[Close], Adj_Close, Volume From [IBM] "
                         "WHERE DamnDate >= #1/1/1990# AND DamnDate <= #12/31/2003# ORDER BY DamnDate DESC");
    rows += rs.RecordCount();
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("db_history_read: %.0f rows/s\n", rows / seconds);
  return 0;
}
