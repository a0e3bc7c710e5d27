#include <gtest/gtest.h>

#include "platform/db/connection.h"
#include "platform/db/db_error.h"
#include "support/temp_app_folder.h"

namespace {

TEST(BoundParametersTest, ValuesBindInOrderAndTheStatementIsReused) {
  testsupport::TempAppFolder folder;
  db::CreateDatabaseFile(folder.File("p.db"));
  db::Connection cn;
  cn.Open(folder.File("p.db"));
  cn.Execute("CREATE TABLE [t] ([Day] DATETIME, [Symbol] TEXT, [Price] MONEY, [Volume] INTEGER, "
             "CONSTRAINT [PK] PRIMARY KEY ([Day], [Symbol]))");
  cn.Execute("INSERT INTO [t] VALUES (#3/9/2004#, 'BRK.B', 12.5, 100)");
  cn.Execute("INSERT INTO [t] VALUES (#3/10/2004#, 'BRK.B', 13, NULL)");

  const std::string sql = "SELECT Price FROM [t] WHERE (Day = ?) AND (Symbol = ?) AND ((? / Price) < 2)";
  db::Recordset rs = cn.OpenRecordset(sql, {db::Value(rt::DateSerial(2004, 3, 9)), db::Value(std::string("brk.b")),
                                            db::Value(20.0)});
  ASSERT_FALSE(rs.Eof());  // dates in their stored form, text compared without case
  EXPECT_EQ(rs.Field(0).ToDouble(), 12.5);
  rs = cn.OpenRecordset(sql, {db::Value(rt::DateSerial(2004, 3, 10)), db::Value(std::string("BRK.B")),
                              db::Value(int64_t{30})});
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

}  // namespace
