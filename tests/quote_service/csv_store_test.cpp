#include "csv_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_app_folder.h"

using quote_service::CsvStore;
using quote_service::IsPlainSymbol;
using quote_service::ReadHistoryCsv;

namespace {

const std::filesystem::path kFixtures = std::filesystem::path(KESTROVANE_FIXTURES_DIR) / "quote-service";

}  // namespace

TEST(HistoryCsvTest, ReadsRowsOldestFirstAndLeavesOutBadOnes) {
  auto rows = ReadHistoryCsv(kFixtures / "FIXT.csv");
  ASSERT_TRUE(rows);
  // The "null" row and the row without a date are left out; CR LF reads too.
  ASSERT_EQ(rows->size(), 4u);
  EXPECT_EQ((*rows)[0].isoDate, "2004-03-01");
  EXPECT_EQ((*rows)[1].isoDate, "2004-03-02");
  EXPECT_DOUBLE_EQ((*rows)[1].adjClose, 5.5);
  EXPECT_EQ((*rows)[1].volume, 2000);
  EXPECT_EQ((*rows)[2].isoDate, "2004-03-04");
  EXPECT_EQ((*rows)[3].volume, 0);
}

TEST(HistoryCsvTest, FindsColumnsByNameAndSortsByDate) {
  auto rows = ReadHistoryCsv(kFixtures / "ORDER.csv");
  ASSERT_TRUE(rows);
  ASSERT_EQ(rows->size(), 2u);
  EXPECT_EQ((*rows)[0].isoDate, "2004-03-01");
  EXPECT_DOUBLE_EQ((*rows)[0].open, 10.5);
  EXPECT_DOUBLE_EQ((*rows)[0].close, 10.75);
  EXPECT_DOUBLE_EQ((*rows)[0].adjClose, 5.375);
  EXPECT_FALSE(ReadHistoryCsv(kFixtures / "BADHEAD.csv"));
  EXPECT_FALSE(ReadHistoryCsv(kFixtures / "MISSING.csv"));
}

TEST(CsvStoreTest, PlainSymbolsOnly) {
  for (const char* good : {"IBM", "^DJI", "BRK.B", "aapl", "A-B", "X_1"}) EXPECT_TRUE(IsPlainSymbol(good)) << good;
  for (const char* bad : {"", ".", "..", "../IBM", "..IBM", "A..B", "/etc/passwd", "a/b", "a\\b", ".hidden", "A B",
                          "%2e%2e", "IBM\n", "IBM;rm", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456"})
    EXPECT_FALSE(IsPlainSymbol(bad)) << bad;
}

TEST(CsvStoreTest, FindsSymbolsInAnyCaseAndNothingElse) {
  CsvStore store(kFixtures);
  auto upper = store.Find("FIXT");
  ASSERT_TRUE(upper);
  EXPECT_EQ(upper->size(), 4u);
  EXPECT_EQ(store.Find("fixt"), upper);  // same cached history
  EXPECT_FALSE(store.Find("NOSUCH"));
  EXPECT_FALSE(store.Find("BADHEAD"));
  EXPECT_FALSE(store.Find("../quote-service/FIXT"));
}

TEST(CsvStoreTest, NeverReadsOutsideItsFolder) {
  testsupport::TempAppFolder temp;
  std::filesystem::path data = temp.File("data");
  std::filesystem::create_directory(data);
  testsupport::WriteFileBytes(temp.File("SECRET.csv"), "Date,Open,High,Low,Close,Adj Close,Volume\n"
                                                       "2004-03-01,1,1,1,1,1,1\n");
  std::filesystem::create_symlink(temp.File("SECRET.csv"), data / "LINK.csv");
  std::filesystem::create_directory(data / "DIR.csv");

  CsvStore store(data);
  EXPECT_FALSE(store.Find("../SECRET"));
  EXPECT_FALSE(store.Find("LINK"));
  EXPECT_FALSE(store.Find("DIR"));
}

TEST(CsvStoreTest, KeepsAHistoryOnceRead) {
  testsupport::TempAppFolder temp;
  testsupport::WriteFileBytes(temp.File("ABC.csv"), "Date,Open,High,Low,Close,Adj Close,Volume\n"
                                                    "2004-03-01,1,1,1,1,1,1\n");
  CsvStore store(temp.Path());
  ASSERT_TRUE(store.Find("ABC"));
  std::filesystem::remove(temp.File("ABC.csv"));
  ASSERT_TRUE(store.Find("ABC"));
  EXPECT_EQ(store.Find("ABC")->size(), 1u);
}
