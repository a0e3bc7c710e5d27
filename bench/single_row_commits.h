#pragma once
// The yardstick of the write-path figures: single-row write transactions
// (BEGIN, one INSERT of a quote row, COMMIT) per second on a fresh database,
// measured by each benchmark in its own run so that a busy machine slows
// the figure and its yardstick alike.
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/db/connection.h"
#include "platform/runtime/date.h"
#include "support/temp_app_folder.h"

namespace bench {

// A fresh database in the folder holding an empty quote table [IBM].
inline void OpenQuoteDatabase(db::Connection& cn, const testsupport::TempAppFolder& folder, const char* name) {
  cn.Open(folder.NewDatabase(name));
  cn.Execute("CREATE TABLE [IBM] ([DamnDate] DATETIME PRIMARY KEY, [Open] MONEY, [High] MONEY, [Low] MONEY, "
             "[Close] MONEY, [Adj_Close] MONEY, [Volume] INTEGER)");
}

// The INSERT of the i-th day's quote row, as pasted text.
inline std::string QuoteRowInsert(int i) {
  const rt::Date first = *rt::Date::FromParts(1990, 1, 1);
  return "INSERT INTO [IBM] (DamnDate, High, Low, [Close], [Open], Adj_Close, Volume) VALUES (#" +
         rt::FormatMMDDYY(first + i) + "#,'12.5','11.75','12.25','12','12.25','120000')";
}

inline double SingleRowCommitsPerSecond(int rows = 5000) {
  testsupport::TempAppFolder folder;
  db::Connection cn;
  OpenQuoteDatabase(cn, folder, "yardstick.db");
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rows; ++i) {
    cn.BeginTrans();
    cn.Execute(QuoteRowInsert(i));
    cn.CommitTrans();
  }
  return rows / std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Prints the stage's rate as a multiple of the yardstick measured now.
inline void PrintRatio(const char* name, double rate) {
  double yardstick = SingleRowCommitsPerSecond();
  std::printf("single_row_commits: %.0f transactions/s\n", yardstick);
  std::printf("%s_to_single_row_commits: %.2f x\n", name, rate / yardstick);
}

}  // namespace bench
