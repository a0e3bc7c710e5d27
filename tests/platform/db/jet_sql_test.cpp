#include "platform/db/jet_sql.h"

#include <gtest/gtest.h>

#include "platform/db/db_error.h"

using db::TranslateJetSql;

namespace {

int32_t ErrorOf(const std::string& jet) {
  try {
    TranslateJetSql(jet);
  } catch (const rt::Error& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace

TEST(JetSqlTest, DateLiteralsBecomeStoredDatesOutsideQuotesAndBrackets) {
  EXPECT_EQ(TranslateJetSql("SELECT * FROM [IBM] WHERE DamnDate >= #3/5/2004# AND DamnDate <= #12/31/2004#"),
            "SELECT * FROM [IBM] WHERE DamnDate >= '2004-03-05' AND DamnDate <= '2004-12-31'");
  EXPECT_EQ(TranslateJetSql("VALUES (#03/05/04#,'12.5')"), "VALUES ('2004-03-05','12.5')");
  EXPECT_EQ(TranslateJetSql("VALUES (#01/02/99#)"), "VALUES ('1999-01-02')");
  EXPECT_EQ(TranslateJetSql("SET ReleaseDate = #12:00:00 AM#"), "SET ReleaseDate = '1899-12-30'");
  EXPECT_EQ(TranslateJetSql("WHERE d = #3/5/2004 1:45:00 PM#"), "WHERE d = '2004-03-05 13:45:00'");
  EXPECT_EQ(TranslateJetSql("WHERE d = #1/1/1800#"), "WHERE d = '1800-01-01'");
  // A # inside a text or a name is data, not a literal.
  EXPECT_EQ(TranslateJetSql("SELECT '#1/2/2003#', [a#b] FROM t WHERE s = 'it''s #5#'"),
            "SELECT '#1/2/2003#', [a#b] FROM t WHERE s = 'it''s #5#'");
}

TEST(JetSqlTest, BadDateLiteralsFailAsStatements) {
  EXPECT_EQ(ErrorOf("WHERE d = #13/45/2004#"), db::kErrStatementFailed);
  EXPECT_EQ(ErrorOf("WHERE d = #3/5/2004"), db::kErrStatementFailed);
}

TEST(JetSqlTest, TopBecomesLimit) {
  EXPECT_EQ(TranslateJetSql("SELECT TOP 1 [Close] FROM IBM ORDER BY DamnDate DESC"),
            "SELECT [Close] FROM IBM ORDER BY DamnDate DESC LIMIT 1");
  EXPECT_EQ(TranslateJetSql("select top 25 DamnDate FROM [X];  "), "select DamnDate FROM [X] LIMIT 25;  ");
  EXPECT_EQ(TranslateJetSql("SELECT DISTINCT TOP 2 Symbol FROM t"), "SELECT DISTINCT Symbol FROM t LIMIT 2");
  // TOP as a column name in brackets, or later in the text, is left alone.
  EXPECT_EQ(TranslateJetSql("SELECT [TOP] FROM t"), "SELECT [TOP] FROM t");
}

// The pair is asked apart, so that each finds its value through the index
// instead of reading the range, under the names of the pair.
TEST(JetSqlTest, MinAndMaxOfOneColumnAreAskedApart) {
  EXPECT_EQ(TranslateJetSql("SELECT MIN(DamnDate), MAX(DamnDate) From [IBM] WHERE DamnDate >= #3/5/2004#"),
            "SELECT (SELECT MIN(DamnDate) From [IBM] WHERE DamnDate >= '2004-03-05') AS \"MIN(DamnDate)\", "
            "(SELECT MAX(DamnDate) From [IBM] WHERE DamnDate >= '2004-03-05') AS \"MAX(DamnDate)\"");
  EXPECT_EQ(TranslateJetSql("select min([a b]),max( [A B] ) from t"),
            "SELECT (SELECT min([a b]) from t) AS \"min([a b])\", (SELECT max( [A B] ) from t) AS \"max( [A B] )\"");
  for (const char* other : {"SELECT MIN(a), MAX(b) FROM t", "SELECT MIN(a), MAX(a) FROM t GROUP BY b",
                            "SELECT MIN(a), MAX(a) FROM t WHERE a IN (SELECT a FROM u)", "SELECT MIN(a), MAX(a)"})
    EXPECT_EQ(TranslateJetSql(other), other);
}

TEST(JetSqlTest, DivisionIsFloatingPoint) {
  EXPECT_EQ(TranslateJetSql("SELECT 7/2, '1/2' FROM t"), "SELECT 7* 1.0 /2, '1/2' FROM t");
}

TEST(JetSqlTest, TableDefinitionsUseStrictTypes) {
  EXPECT_EQ(TranslateJetSql("CREATE TABLE [^DJI] ([DamnDate] DATETIME PRIMARY KEY, [Open] MONEY, [Volume] INTEGER)"),
            "CREATE TABLE [^DJI] ([DamnDate] TEXT CONSTRAINT [DamnDate holds a date] CHECK ([DamnDate] IS NULL OR "
            "(length([DamnDate]) = 10 AND date([DamnDate], '+0 days') IS [DamnDate]) OR (length([DamnDate]) = 19 "
            "AND datetime([DamnDate], '+0 days') IS [DamnDate])) PRIMARY KEY, [Open] REAL, [Volume] INTEGER) "
            "STRICT, WITHOUT ROWID");
  EXPECT_EQ(
      TranslateJetSql("CREATE TABLE [S] ([Symbol] TEXT, [G] DOUBLE,CONSTRAINT [PK] PRIMARY KEY ([Symbol], [G]));"),
      "CREATE TABLE [S] ([Symbol] TEXT COLLATE NOCASE, [G] REAL, CONSTRAINT [PK] PRIMARY KEY ([Symbol], [G])) "
      "STRICT, WITHOUT ROWID");
  EXPECT_EQ(TranslateJetSql("create table T (a text(50) not null, b money)"),
            "CREATE TABLE [T] ([a] TEXT COLLATE NOCASE NOT NULL, [b] REAL) STRICT");
  EXPECT_EQ(TranslateJetSql("CREATE TEMP TABLE [T] ([a] TEXT)"),
            "CREATE TEMP TABLE [T] ([a] TEXT COLLATE NOCASE) STRICT");
}

TEST(JetSqlTest, SqlServerTableDefinitionsFail) {
  EXPECT_EQ(ErrorOf("CREATE TABLE [VraskEatsWeeds]([AcquireDate] [smalldatetime] NULL , [BoughtDate] "
                    "[smalldatetime] NULL ,[Symbol] [nvarchar] (255) COLLATE SQL_Latin1_General_CP1_CI_AS NULL, "
                    "[Market] [nvarchar] (255) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,) ON [PRIMARY]"),
            db::kErrStatementFailed);
  EXPECT_EQ(ErrorOf("CREATE TABLE [t] ([a] VARCHAR)"), db::kErrStatementFailed);
  EXPECT_EQ(ErrorOf("CREATE TABLE [t] ([a] TEXT,)"), db::kErrStatementFailed);
  EXPECT_EQ(ErrorOf("CREATE TABLE [t] ([a] TEXT PRIMARY KEY, [b] TEXT PRIMARY KEY)"), db::kErrStatementFailed);
  EXPECT_EQ(ErrorOf("CREATE TABLE [t] ([a] TEXT) ON [PRIMARY]"), db::kErrStatementFailed);
}
