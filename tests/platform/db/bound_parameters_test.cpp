#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/db/bound_statement.h"
#include "platform/db/connection.h"
#include "platform/db/db_error.h"
#include "platform/runtime/number_text.h"
#include "support/table_cells.h"
#include "support/temp_app_folder.h"

namespace {

TEST(BoundParametersTest, ValuesBindInOrderAndTheStatementIsReused) {
  testsupport::TempAppFolder folder;
  db::Connection cn;
  cn.Open(folder.NewDatabase("p.db"));
  cn.Execute("CREATE TABLE [t] ([Day] DATETIME, [Symbol] TEXT, [Price] MONEY, [Volume] INTEGER, "
             "CONSTRAINT [PK] PRIMARY KEY ([Day], [Symbol]))");
  cn.Execute("INSERT INTO [t] VALUES (#3/9/2004#, 'BRK.B', 12.5, 100)");
  cn.Execute("INSERT INTO [t] VALUES (#3/10/2004#, 'BRK.B', 13, NULL)");

  const std::string sql = "SELECT Price FROM [t] WHERE (Day = ?) AND (Symbol = ?) AND ((? / Price) < 2)";
  db::Recordset rs =
      cn.OpenRecordset(sql, {db::Value(rt::DateSerial(2004, 3, 9)), db::Value(std::string("brk.b")), db::Value(20.0)});
  ASSERT_FALSE(rs.Eof());  // dates in their stored form, text compared without case
  EXPECT_EQ(rs.Field(0).ToDouble(), 12.5);
  rs = cn.OpenRecordset(
      sql, {db::Value(rt::DateSerial(2004, 3, 10)), db::Value(std::string("BRK.B")), db::Value(int64_t{30})});
  EXPECT_TRUE(rs.Eof());  // 30 / 13 is not below 2: the earlier values are gone
  rs = cn.OpenRecordset("SELECT COUNT(*) FROM [t] WHERE Volume IS ?", {db::Value()});
  EXPECT_EQ(rs.Field(0).ToInteger(), 1);

  try {
    cn.OpenRecordset(sql, {db::Value(1.0)});
    FAIL() << "expected an error";
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), db::kErrStatementFailed);
  }
  EXPECT_THROW(cn.OpenRecordset(sql), rt::Error);  // a placeholder never left unbound
}

TEST(BoundParametersTest, PastedNumbersStoreWhatTheirPastedTextStores) {
  testsupport::TempAppFolder folder;
  db::Connection cn;
  cn.Open(folder.NewDatabase("n.db"));
  cn.Execute("CREATE TABLE [pasted] ([k] INTEGER, [x] DOUBLE, CONSTRAINT [PK] PRIMARY KEY ([k]))");
  cn.Execute("CREATE TABLE [bound] ([k] INTEGER, [x] DOUBLE, CONSTRAINT [PK] PRIMARY KEY ([k]))");
  std::vector<double> values = {0,
                                -0.0,
                                1,
                                -1,
                                55,
                                0.12,
                                -1.5,
                                25.125,
                                1e-5,
                                123456789012345,
                                1e15,
                                1e20,
                                100.0 / 3,
                                0.1 + 0.2,
                                2.0 / 3e10,
                                -7.000000000000001,
                                80.69115770282,
                                1e300};
  std::mt19937_64 random(20201116);
  for (int i = 0; i < 1000; ++i) {
    double magnitude = std::pow(10.0, std::uniform_int_distribution<int>(-8, 18)(random));
    values.push_back(std::uniform_real_distribution<double>(-1, 1)(random) * magnitude);
  }
  cn.BeginTrans();
  int64_t k = 0;
  auto store = [&](const std::string& text, const db::Value& bound) {
    cn.Execute("INSERT INTO [pasted] VALUES (" + std::to_string(k) + ", " + text + ")");
    cn.Execute("INSERT INTO [bound] VALUES (?, ?)", {db::Value(k++), bound});
  };
  for (double x : values) {
    store(rt::FormatNumber(x), db::PastedNumber(x));
    auto single = static_cast<float>(x);
    if (!std::isinf(single)) store(rt::FormatSingle(single), db::PastedSingle(single));
  }
  cn.CommitTrans();
  EXPECT_EQ(testsupport::TableCells(cn, "bound"), testsupport::TableCells(cn, "pasted"));
  EXPECT_THROW(db::PastedNumber(INFINITY), rt::Error);
}

}  // namespace
