#include "platform/db/insert_literals.h"

#include <gtest/gtest.h>

#include <clocale>

#include "platform/db/connection.h"
#include "platform/db/db_error.h"
#include "support/insert_differential.h"
#include "support/temp_app_folder.h"

namespace {

std::string Kinds(const db::LiftedInsert& lifted) {
  std::string kinds;
  for (const db::Value& v : lifted.values)
    kinds += v.GetKind() == db::Value::Kind::Integer ? 'i' : v.GetKind() == db::Value::Kind::Double ? 'd' : 't';
  return kinds;
}

}  // namespace

TEST(InsertLiteralsTest, TextsAndNumbersAfterValuesBecomeParameters) {
  db::LiftedInsert lifted;
  ASSERT_TRUE(db::LiftInsertLiterals(
      "INSERT INTO [sim_1] (Market, AcquireDate, RSI2) VALUES ('n''y', '2004-01-05', -1, 55, 12.5, 1E-05, .5, "
      "99999999999999999999)",
      lifted));
  // Reals go in as their text for SQLite to convert; a whole number beyond 64 bits stays.
  EXPECT_EQ(lifted.shape,
            "INSERT INTO [sim_1] (Market, AcquireDate, RSI2) VALUES (?, ?, -?, ?, CAST(? AS REAL), CAST(? AS REAL), "
            "CAST(? AS REAL), 99999999999999999999)");
  EXPECT_EQ(Kinds(lifted), "ttiittt");
  EXPECT_EQ(lifted.values[0].ToText(), "n'y");
  EXPECT_EQ(lifted.values[3].ToInteger(), 55);
  EXPECT_EQ(lifted.values[5].ToText(), "1E-05");

  // Names, blobs and words with digits stay in the text.
  ASSERT_TRUE(db::LiftInsertLiterals("insert into \"t 1\" ([a'b]) values (X'0A', col1, 7)", lifted));
  EXPECT_EQ(lifted.shape, "insert into \"t 1\" ([a'b]) values (X'0A', col1, ?)");
}

TEST(InsertLiteralsTest, OtherStatementsAreLeftAlone) {
  db::LiftedInsert lifted;
  EXPECT_FALSE(db::LiftInsertLiterals("UPDATE [t] SET a = 1", lifted));
  EXPECT_FALSE(db::LiftInsertLiterals("SELECT 1 FROM [t] ORDER BY 1", lifted));
  EXPECT_FALSE(db::LiftInsertLiterals("INSERT INTO [t] (a) SELECT 1 FROM [u] ORDER BY 1", lifted));
  EXPECT_FALSE(db::LiftInsertLiterals("INSERT INTO [t] (a) VALUES ((SELECT MAX(a) FROM [t] ORDER BY 1))", lifted));
  EXPECT_FALSE(db::LiftInsertLiterals("INSERT INTO [t] DEFAULT VALUES", lifted));
  EXPECT_FALSE(db::LiftInsertLiterals("INSERT INTO [t] (a) VALUES (NULL)", lifted));
  EXPECT_FALSE(db::LiftInsertLiterals("INSERT INTO [t] (a) VALUES (1 /* it's */)", lifted));
}

TEST(InsertLiteralsTest, RowsWrittenThroughParametersMatchTheLiteralsAndFailAlike) {
  testsupport::TempAppFolder folder;
  db::Connection cn;
  cn.Open(folder.NewDatabase("t.db"));
  cn.Execute("CREATE TABLE [q] ([DamnDate] DATETIME PRIMARY KEY, [Close] MONEY, [Volume] INTEGER, [Note] TEXT)");
  EXPECT_EQ(cn.Execute("INSERT INTO [q] (DamnDate, [Close], Volume, Note) VALUES (#1/5/2004#, '12.5', 100, 'it''s')"),
            1);
  EXPECT_EQ(cn.Execute("INSERT INTO [q] (DamnDate, [Close], Volume, Note) VALUES (#1/6/2004#, 13, '200', 'x')"), 1);
  db::Recordset rows = cn.OpenRecordset("SELECT typeof([Close]), [Close], typeof(Volume), Note, DamnDate FROM [q] "
                                        "ORDER BY DamnDate");
  EXPECT_EQ(rows.Field(0).ToText(), "real");
  EXPECT_DOUBLE_EQ(rows.Field(1).ToDouble(), 12.5);
  EXPECT_EQ(rows.Field(2).ToText(), "integer");
  EXPECT_EQ(rows.Field(3).ToText(), "it's");
  EXPECT_EQ(rows.Field(4).ToDate(), *rt::Date::FromParts(2004, 1, 5));
  rows.MoveNext();
  EXPECT_EQ(rows.Field(0).ToText(), "real");     // a whole number in a MONEY column
  EXPECT_EQ(rows.Field(2).ToText(), "integer");  // a numeric text in an INTEGER column

  auto failure = [&](const std::string& sql) {
    try {
      cn.Execute(sql);
    } catch (const rt::Error& e) {
      return e.Number();
    }
    return 0;
  };
  EXPECT_EQ(failure("INSERT INTO [q] (DamnDate, [Close]) VALUES (#1/5/2004#, 1)"), db::kErrProviderFailure);
  EXPECT_EQ(failure("INSERT INTO [q] (DamnDate, [Close]) VALUES ('not a date', 1)"), db::kErrConversionFailed);
  EXPECT_EQ(failure("INSERT INTO [q] (DamnDate, [Close]) VALUES (#1/7/2004#, 'abc')"), db::kErrConversionFailed);
  EXPECT_EQ(failure("INSERT INTO [q] (NoSuchColumn) VALUES (1)"), db::kErrStatementFailed);
  EXPECT_EQ(failure("INSERT INTO [missing] (a) VALUES (1)"), db::kErrTableMissing);
  EXPECT_EQ(cn.OpenRecordset("SELECT COUNT(*) FROM [q]").Field(0).ToInteger(), 2);
}

TEST(InsertLiteralsTest, TheLayerStoresWhatSqliteStores) {
  testsupport::TempAppFolder folder;
  testsupport::InsertDifferential differential(folder.Path());
  const std::string valuesLists[] = {
      "(1), (-2), (0.5), (-.25), (1e3), (5.), ('x'), ('it''s'), (NULL)",
      "(-9223372036854775808)",  // the one whole number SQLite reads only with its sign
      "(9223372036854775807 + 1), (-9223372036854775807 - 1)",
      "(0.1000000000000000055511151231257827)",  // more digits than a double holds
      "(123456789012345678901234567890.5)",
      "(1e400), (-1e-400), (4.9406564584124654e-324)",
      "(-0.0), (- 1.5), (5 -0.5), (- -0.0), (2*-0e0)",  // SQLite negates a real literal itself
      "(?), (7)",                                       // a parameter before a literal
      "(:a), (7)",
      "(@a), (7)",
      "($a), (7)",
      "(CAST('1'7AS INTEGER))",    // refused; a "?" in its place would take 7 as its number
      std::string("('a\0b')", 7),  // SQLite's text ends at the NUL
  };
  // Reals read the same whatever the C library's locale (the desktop's, once Qt starts).
  for (const char* locale : {"C", "de_DE.UTF-8"}) {
    if (!std::setlocale(LC_NUMERIC, locale)) continue;
    for (const std::string& values : valuesLists)
      EXPECT_EQ(differential.Compare(values), "") << values << " in " << locale;
  }
  std::setlocale(LC_NUMERIC, "C");
}
