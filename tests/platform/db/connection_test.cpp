#include "platform/db/connection.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/db/db_error.h"
#include "platform/runtime/number_text.h"
#include "support/temp_app_folder.h"

using db::Connection;

namespace {

rt::Error ErrorFrom(const std::function<void()>& action) {
  try {
    action();
  } catch (const rt::Error& e) {
    return e;
  }
  return rt::Error(0, "no error");
}

rt::Date D(int y, int m, int d) { return *rt::Date::FromParts(y, m, d); }

const char* kStockTable =
    "CREATE TABLE [IBM] ([DamnDate] DATETIME PRIMARY KEY, [Open] MONEY, [High] MONEY, [Low] MONEY, [Close] MONEY, "
    "[Adj_Close] MONEY, [Volume] INTEGER)";
const char* kSimTable =
    "CREATE TABLE [sim_test] ([AcquireDate] DATETIME, [BoughtDate] DATETIME, [Symbol] TEXT, [Market] TEXT,"
    "[Positioning] TEXT, [AcquirePrice] MONEY, [RSI] DOUBLE, [RSIChange] DOUBLE, [MACD] DOUBLE, [PercentMA] DOUBLE, "
    "[Bought] TEXT, [Shares] INTEGER, [MaxPrice] MONEY, [MinPrice] MONEY, [TargetPrice] MONEY, [ReleaseDate] "
    "DATETIME, [ReleasePrice] MONEY, [GainLoss] DOUBLE, [Volume] INTEGER, [VolumeChange] DOUBLE, [PriceChange] "
    "DOUBLE, [BBDistance] DOUBLE, [DJ_RSI] DOUBLE, [DJ_MA] DOUBLE, [NS_RSI] DOUBLE, [NS_MA] DOUBLE,CONSTRAINT [PK] "
    "PRIMARY KEY ([AcquireDate], [Symbol], [Positioning]));";

std::string QuoteInsert(const std::string& date, const std::string& close, const std::string& volume = "1000") {
  return "INSERT INTO [IBM] (DamnDate, High, Low, [Close], [Open], Adj_Close, Volume) VALUES (#" + date + "#,'" +
         close + "','" + close + "','" + close + "','" + close + "','" + close + "','" + volume + "')";
}

class ConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.File("test.db");
    db::CreateDatabaseFile(path_);
    cn_.Open(path_);
  }
  const db::Value& Scalar(const std::string& sql) {
    rs_ = cn_.OpenRecordset(sql);
    return rs_.Field(0);
  }

  testsupport::TempAppFolder folder_;
  std::filesystem::path path_;
  Connection cn_;
  db::Recordset rs_;
};

}  // namespace

TEST_F(ConnectionTest, OpensInWalModeAndStoresDatesAsIsoText) {
  EXPECT_EQ(cn_.State(), 1);
  EXPECT_EQ(Scalar("PRAGMA journal_mode").ToText(), "wal");
  cn_.Execute(kStockTable);
  EXPECT_EQ(cn_.Execute(QuoteInsert("03/05/04", "12.5")), 1);
  EXPECT_EQ(cn_.Execute(QuoteInsert("3/8/2004", "13")), 1);
  EXPECT_EQ(Scalar("SELECT 'x' || DamnDate FROM [IBM] ORDER BY DamnDate").ToText(), "x2004-03-05");

  rs_ = cn_.OpenRecordset("SELECT MIN(DamnDate), MAX(DamnDate) From [IBM] WHERE DamnDate >= #2/29/2004# AND "
                          "DamnDate <= #3/31/2004#");
  EXPECT_EQ(rs_.Field(0).GetKind(), db::Value::Kind::Date);
  EXPECT_EQ(rs_.Field(0).ToDate(), D(2004, 3, 5));
  EXPECT_EQ(rs_.Field(1).ToDate(), D(2004, 3, 8));

  // An aggregate over no rows gives one row of Nulls.
  rs_ = cn_.OpenRecordset("SELECT MIN(DamnDate), MAX(DamnDate) From [IBM] WHERE DamnDate >= #1/1/2010#");
  ASSERT_FALSE(rs_.Eof());
  EXPECT_TRUE(rs_.Field(0).IsNull());
  EXPECT_TRUE(rs_.Field(1).IsNull());
}

TEST_F(ConnectionTest, QuotedNumbersAreStoredAsNumbersAndDivideInFloatingPoint) {
  cn_.Execute(kStockTable);
  cn_.Execute(QuoteInsert("1/2/2004", "12.5", "301"));
  rs_ = cn_.OpenRecordset("SELECT [Close], Volume, [Close] / 4, Volume / 2, 7 / 2, [Close] / 0, typeof([Open]) "
                          "FROM [IBM]");
  EXPECT_EQ(rs_.Field("close").GetKind(), db::Value::Kind::Double);
  EXPECT_EQ(rs_.Field("CLOSE").ToText(), "12.5");
  EXPECT_EQ(rs_.Field("Volume").GetKind(), db::Value::Kind::Integer);
  EXPECT_DOUBLE_EQ(rs_.Field(2).ToDouble(), 3.125);
  EXPECT_DOUBLE_EQ(rs_.Field(3).ToDouble(), 150.5);
  EXPECT_DOUBLE_EQ(rs_.Field(4).ToDouble(), 3.5);
  EXPECT_TRUE(rs_.Field(5).IsNull());
  EXPECT_EQ(rs_.Field(6).ToText(), "real");
}

TEST_F(ConnectionTest, TextsThatAreNotNumbersOrDatesFailAsConversions) {
  cn_.Execute(kStockTable);
  for (const std::string& sql :
       {QuoteInsert("1/2/2004", "abc"), QuoteInsert("1/2/2004", "12.5", ""), QuoteInsert("1/2/2004", "12.5", "12.5"),
        std::string("INSERT INTO [IBM] (DamnDate) VALUES ('3/5/2004')"),
        std::string("INSERT INTO [IBM] (DamnDate) VALUES ('2004-02-30')"),
        std::string("INSERT INTO [IBM] (DamnDate) VALUES (38051)")}) {
    rt::Error e = ErrorFrom([&] { cn_.Execute(sql); });
    EXPECT_EQ(e.Number(), db::kErrConversionFailed) << sql << ": " << e.Description();
    EXPECT_NE(e.Description().find("Data type mismatch"), std::string::npos);
  }
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [IBM]").ToInteger(), 0);
}

TEST_F(ConnectionTest, KeysAndComparisonsIgnoreCaseAndDuplicatesFail) {
  cn_.Execute("CREATE TABLE [Stock_Master] ([Symbol] TEXT PRIMARY KEY, [Market] TEXT, [Inception] DATETIME)");
  cn_.Execute("INSERT INTO [Stock_Master]([Symbol], [Market]) VALUES ('IBM', 'ny')");
  rt::Error dup =
      ErrorFrom([&] { cn_.Execute("INSERT INTO [Stock_Master]([Symbol], [Market]) VALUES ('ibm', 'ns')"); });
  EXPECT_EQ(dup.Number(), db::kErrProviderFailure);
  EXPECT_EQ(dup.Description(), db::kDuplicateValuesText);
  EXPECT_EQ(Scalar("SELECT Market FROM Stock_Master WHERE Symbol = 'iBm'").ToText(), "ny");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Stock_Master WHERE Market = 'NY'").ToInteger(), 1);
  EXPECT_EQ(cn_.Execute("UPDATE [Stock_Master] SET Inception = #3/5/2004# WHERE Symbol = 'ibm'"), 1);
  EXPECT_EQ(Scalar("SELECT Inception FROM Stock_Master WHERE Symbol = 'IBM'").ToDate(), D(2004, 3, 5));

  cn_.Execute(kSimTable);
  const std::string winner =
      "INSERT INTO [sim_test] (Market, AcquireDate, Symbol, Positioning, AcquirePrice, RSI, RSIChange, MACD "
      ",PercentMA, "
      "MaxPrice, MinPrice, Volume, VolumeChange, PriceChange, BBDistance, [DJ_RSI], [DJ_MA], [NS_RSI], [NS_MA]) "
      "VALUES ('ny', #1/5/2004#, 'IBM', 'LONG', -1, 55, 2.5, 0.12, 4, 13.5, 12.25, 120000, 3.5, 1.25, 0.5, 60, 2, "
      "58, 3)";
  EXPECT_EQ(cn_.Execute(winner), 1);
  EXPECT_EQ(ErrorFrom([&] { cn_.Execute(winner); }).Number(), db::kErrProviderFailure);
  EXPECT_EQ(
      ErrorFrom([&] { cn_.Execute("INSERT INTO [sim_test] (Symbol, Positioning) VALUES ('A', 'LONG')"); }).Number(),
      db::kErrProviderFailure);
  // The zero date is a date like any other.
  EXPECT_EQ(cn_.Execute("UPDATE [sim_test] SET AcquirePrice = 12.5, Bought = '1/9/2004', ReleasePrice = 0, "
                        "ReleaseDate = #12:00:00 AM#, BoughtDate = #1/6/2004#, GainLoss = 0 WHERE AcquireDate = "
                        "#1/5/2004# AND Symbol = 'IBM' AND Positioning = 'LONG'"),
            1);
  rs_ = cn_.OpenRecordset("SELECT ReleaseDate, Bought, BoughtDate FROM [sim_test]");
  EXPECT_EQ(rs_.Field(0).ToText(), "12:00:00 AM");
  EXPECT_EQ(rs_.Field(1).ToText(), "1/9/2004");
  EXPECT_EQ(rs_.Field(2).ToDate(), D(2004, 1, 6));
}

TEST_F(ConnectionTest, ErrorsCarryTheProviderCodes) {
  rt::Error missing = ErrorFrom([&] { cn_.OpenRecordset("SELECT MIN(DamnDate) FROM [NOPE]"); });
  EXPECT_EQ(missing.Number(), db::kErrTableMissing);
  EXPECT_NE(missing.Description().find("'NOPE'"), std::string::npos);
  EXPECT_EQ(ErrorFrom([&] { cn_.Execute("drop table [NOPE]"); }).Number(), db::kErrTableMissing);

  EXPECT_EQ(ErrorFrom([&] { cn_.Execute("SELEC 1"); }).Number(), db::kErrStatementFailed);
  cn_.Execute(kStockTable);
  rt::Error exists = ErrorFrom([&] { cn_.Execute(kStockTable); });
  EXPECT_EQ(exists.Number(), db::kErrStatementFailed);
  EXPECT_EQ(exists.Description(), "Table 'IBM' already exists.");
  EXPECT_EQ(ErrorFrom([&] { cn_.Execute("SELECT PrevRSI FROM [IBM]"); }).Number(), db::kErrStatementFailed);
  EXPECT_EQ(ErrorFrom([&] { cn_.Execute(""); }).Number(), db::kErrNoCommandText);

  // Exactly one statement per call; a trailing semicolon is allowed.
  rt::Error two = ErrorFrom([&] { cn_.Execute("SELECT 1; DROP TABLE [IBM]"); });
  EXPECT_EQ(two.Number(), db::kErrStatementFailed);
  EXPECT_EQ(two.Description(), "Characters found after end of SQL statement.");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [IBM];").ToInteger(), 0);
}

TEST_F(ConnectionTest, TopLimitsTheRows) {
  cn_.Execute(kStockTable);
  cn_.Execute(QuoteInsert("1/2/2004", "10"));
  cn_.Execute(QuoteInsert("1/5/2004", "11"));
  cn_.Execute(QuoteInsert("1/6/2004", "12"));
  rs_ = cn_.OpenRecordset("SELECT TOP 1 [Close] FROM IBM ORDER BY DamnDate DESC");
  EXPECT_EQ(rs_.RecordCount(), 1);
  EXPECT_EQ(rs_.Field("Close").ToText(), "12");
  rs_ = cn_.OpenRecordset("SELECT TOP 2 DamnDate FROM [IBM] ORDER BY DamnDate");
  EXPECT_EQ(rs_.RecordCount(), 2);
}

TEST_F(ConnectionTest, RecordsetWalksForwardAndRefusesReadsAtTheEnd) {
  cn_.Execute(kStockTable);
  cn_.Execute(QuoteInsert("1/2/2004", "10"));
  cn_.Execute(QuoteInsert("1/5/2004", "11"));
  db::Recordset rs = cn_.OpenRecordset("SELECT DamnDate, [Close] FROM [IBM] ORDER BY DamnDate DESC");
  EXPECT_EQ(rs.FieldCount(), 2);
  EXPECT_EQ(rs.FieldName(1), "Close");
  std::vector<std::string> seen;
  for (; !rs.Eof(); rs.MoveNext()) seen.push_back(rs.Field("damndate").ToText() + "=" + rs.Field(1).ToText());
  EXPECT_EQ(seen, (std::vector<std::string>{"1/5/2004=11", "1/2/2004=10"}));
  rt::Error atEnd = ErrorFrom([&] { rs.Field(0); });
  EXPECT_EQ(atEnd.Number(), db::kErrNoCurrentRecord);
  EXPECT_EQ(atEnd.Description(), db::kNoCurrentRecordText);
  EXPECT_EQ(ErrorFrom([&] { rs.MoveNext(); }).Number(), db::kErrNoCurrentRecord);

  db::Recordset none = cn_.OpenRecordset("SELECT [Close] FROM [IBM] WHERE [Close] > 100");
  EXPECT_TRUE(none.Eof());
  EXPECT_EQ(ErrorFrom([&] { none.Field("Close"); }).Number(), db::kErrNoCurrentRecord);
  EXPECT_EQ(ErrorFrom([&] { none.Field("Nope"); }).Number(), db::kErrItemNotFound);
  none.Close();
  EXPECT_EQ(ErrorFrom([&] { none.Eof(); }).Number(), db::kErrObjectClosed);

  // A statement opened as a recordset runs and gives no rows.
  db::Recordset update = cn_.OpenRecordset("Update [IBM] SET Volume = NULL");
  EXPECT_TRUE(update.Eof());
  EXPECT_EQ(Scalar("SELECT COUNT(Volume) FROM [IBM]").ToInteger(), 0);
}

// Rows read straight from the statement convert each field exactly as the
// Recordset's cell does, errors included, whatever the field holds; nothing
// else runs on the connection while they are read.
TEST_F(ConnectionTest, RowsReadStraightConvertAsTheRecordsetsCells) {
  const std::string sql = "SELECT 116.0, 73.8727, 7, NULL, '2004-03-05', '2004-03-05 13:45:00', 'abc', '12.5', 9e999";
  db::Recordset cells = cn_.OpenRecordset(sql);
  auto outcome = [](const std::function<std::string()>& read) {
    try {
      return read();
    } catch (const rt::Error& e) {
      return "error " + std::to_string(e.Number());
    }
  };
  int rows = 0;
  cn_.ReadRows(sql, [&](const db::RowReader& row) {
    ++rows;
    ASSERT_EQ(row.FieldCount(), cells.FieldCount());
    for (int c = 0; c < row.FieldCount(); ++c) {
      const db::Value& cell = cells.Field(c);
      EXPECT_EQ(row.IsNull(c), cell.IsNull()) << c;
      EXPECT_EQ(row.Text(c), cell.ToText()) << c;
      EXPECT_EQ(outcome([&] { return rt::FormatRoundTrip(row.Double(c)); }),
                outcome([&] { return rt::FormatRoundTrip(cell.ToDouble()); }))
          << c;
      EXPECT_EQ(outcome([&] { return std::to_string(row.Integer(c)); }),
                outcome([&] { return std::to_string(cell.ToInteger()); }))
          << c;
      EXPECT_EQ(outcome([&] { return rt::FormatRoundTrip(row.Date(c).Serial()); }),
                outcome([&] { return rt::FormatRoundTrip(cell.ToDate().Serial()); }))
          << c;
    }
    EXPECT_EQ(ErrorFrom([&] { row.Double(cells.FieldCount()); }).Number(), db::kErrItemNotFound);
    EXPECT_EQ(ErrorFrom([&] { cn_.Execute("SELECT 1"); }).Number(), db::kErrObjectOpen);
  });
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(Scalar("SELECT 2").ToInteger(), 2);
}

TEST_F(ConnectionTest, NestedTransactionsUseSavepoints) {
  cn_.Execute(kStockTable);
  EXPECT_EQ(cn_.BeginTrans(), 1);
  cn_.Execute(QuoteInsert("1/2/2004", "10"));
  EXPECT_EQ(cn_.BeginTrans(), 2);
  cn_.Execute(QuoteInsert("1/5/2004", "11"));
  cn_.RollbackTrans();
  EXPECT_EQ(cn_.BeginTrans(), 2);
  cn_.Execute(QuoteInsert("1/6/2004", "12"));
  cn_.CommitTrans();
  EXPECT_EQ(cn_.TransactionLevel(), 1);
  cn_.CommitTrans();
  EXPECT_EQ(cn_.TransactionLevel(), 0);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [IBM]").ToInteger(), 2);

  // A failed statement inside a transaction leaves the transaction usable.
  cn_.BeginTrans();
  EXPECT_EQ(ErrorFrom([&] { cn_.Execute(QuoteInsert("1/2/2004", "10")); }).Number(), db::kErrProviderFailure);
  cn_.Execute(QuoteInsert("1/7/2004", "13"));
  cn_.RollbackTrans();
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [IBM]").ToInteger(), 2);

  EXPECT_EQ(ErrorFrom([&] { cn_.CommitTrans(); }).Number(), db::kErrNoTransaction);
  EXPECT_EQ(ErrorFrom([&] { cn_.RollbackTrans(); }).Number(), db::kErrNoTransaction);

  // Closing with an open transaction rolls it back.
  cn_.BeginTrans();
  cn_.Execute(QuoteInsert("1/8/2004", "14"));
  cn_.Close();
  cn_.Open(path_);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM [IBM]").ToInteger(), 2);
}

TEST_F(ConnectionTest, CachedStatementsFollowSchemaChanges) {
  const std::string count = "SELECT COUNT(*) FROM [IBM]";
  cn_.Execute(kStockTable);
  cn_.Execute(QuoteInsert("1/2/2004", "10"));
  EXPECT_EQ(Scalar(count).ToInteger(), 1);
  cn_.Execute("drop table [IBM]");
  EXPECT_EQ(ErrorFrom([&] { Scalar(count); }).Number(), db::kErrTableMissing);
  cn_.Execute(kStockTable);
  EXPECT_EQ(Scalar(count).ToInteger(), 0);
  // Many distinct texts push old statements out without harm.
  for (int i = 1; i <= 300; ++i) cn_.Execute(QuoteInsert(rt::FormatShortDate(D(2003, 1, 1) + i), "10"));
  EXPECT_EQ(Scalar(count).ToInteger(), 300);
}

// A long statement calls the hook as it goes; the connection is not to be
// used from inside it, and an error of the hook ends the statement.
TEST_F(ConnectionTest, ALongStatementCallsTheYieldHookAsItGoes) {
  const std::string count = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
                            "SELECT COUNT(*) FROM n";
  int calls = 0;
  int32_t refused = 0;
  cn_.SetYieldHook([&] {
    ++calls;
    refused = ErrorFrom([&] { cn_.Execute("SELECT 1"); }).Number();
  });
  EXPECT_EQ(Scalar(count).ToInteger(), 100000);
  EXPECT_GT(calls, 10);
  EXPECT_EQ(refused, db::kErrObjectOpen);
  calls = 0;
  EXPECT_EQ(Scalar("SELECT 1").ToInteger(), 1);  // a short statement ends before its first call
  EXPECT_EQ(calls, 0);

  cn_.SetYieldHook([] { throw rt::Error(91, "the window failed"); });
  EXPECT_EQ(ErrorFrom([&] { Scalar(count); }).Description(), "the window failed");
  cn_.SetYieldHook(nullptr);
  EXPECT_EQ(Scalar(count).ToInteger(), 100000);
}

TEST(ConnectionLifeTest, ClosedMissingAndForeignFilesFailClearly) {
  testsupport::TempAppFolder folder;
  Connection cn;
  EXPECT_EQ(cn.State(), 0);
  rt::Error closed = ErrorFrom([&] { cn.Execute("SELECT 1"); });
  EXPECT_EQ(closed.Number(), db::kErrObjectClosed);
  EXPECT_NE(closed.Description().find("not open"), std::string::npos);
  EXPECT_EQ(ErrorFrom([&] { cn.OpenRecordset("SELECT 1"); }).Number(), db::kErrObjectClosed);
  EXPECT_EQ(ErrorFrom([&] { cn.BeginTrans(); }).Number(), db::kErrObjectClosed);
  cn.Close();  // harmless
  cn.Close();

  rt::Error missing = ErrorFrom([&] { cn.Open(folder.File("none.db")); });
  EXPECT_EQ(missing.Number(), db::kErrProviderFailure);
  EXPECT_FALSE(std::filesystem::exists(folder.File("none.db")));

  testsupport::WriteFileBytes(folder.File("notes.db"), std::string(5000, 'x'));
  rt::Error foreign = ErrorFrom([&] { cn.Open(folder.File("notes.db")); });
  EXPECT_EQ(foreign.Number(), db::kErrProviderFailure);
  EXPECT_NE(foreign.Description().find("Unrecognized database format"), std::string::npos);
  EXPECT_EQ(cn.State(), 0);
  EXPECT_EQ(testsupport::ReadFileBytes(folder.File("notes.db")), std::string(5000, 'x'));

  EXPECT_EQ(ErrorFrom([&] { db::CreateDatabaseFile(folder.File("notes.db")); }).Number(), db::kErrProviderFailure);
  EXPECT_EQ(ErrorFrom([&] { db::CreateDatabaseFile(folder.File("no/such/folder.db")); }).Number(),
            db::kErrProviderFailure);
}

// Closed or destroyed from inside its own yield, the connection ends the
// statement at once and lets the file go only once the statement has
// returned (an exclusive open, refused while another connection has the
// file, then works).
TEST(ConnectionLifeTest, AConnectionClosedOrDroppedInsideItsYieldEndsTheStatementFirst) {
  for (bool dropped : {false, true}) {
    testsupport::TempAppFolder folder;
    const auto path = folder.File("x.db");
    db::CreateDatabaseFile(path);
    auto cn = std::make_shared<Connection>();
    cn->Open(path);
    int calls = 0;
    cn->SetYieldHook([&] {
      ++calls;
      if (dropped) cn.reset();  // the last reference
      else cn->Close();
    });
    rt::Error ended = ErrorFrom([&] {
      cn->OpenRecordset("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
                        "SELECT COUNT(*) FROM n");
    });
    EXPECT_EQ(ended.Number(), db::kErrObjectClosed) << ended.Description();
    EXPECT_EQ(calls, 1);
    if (cn) {
      EXPECT_EQ(ErrorFrom([&] { cn->Execute("SELECT 1"); }).Number(), db::kErrObjectClosed);
    }
    Connection maintenance;
    EXPECT_NO_THROW(maintenance.OpenExclusive(path));
  }
}

TEST(ConnectionLifeTest, ExclusiveOpenFailsWhileAnotherConnectionHoldsTheFile) {
  testsupport::TempAppFolder folder;
  auto path = folder.File("x.db");
  db::CreateDatabaseFile(path);
  Connection shared;
  shared.Open(path);
  shared.Execute("CREATE TABLE [t] ([a] TEXT)");
  Connection maintenance;
  EXPECT_EQ(ErrorFrom([&] { maintenance.OpenExclusive(path); }).Number(), db::kErrProviderFailure);
  EXPECT_EQ(maintenance.State(), 0);
  shared.Close();
  maintenance.OpenExclusive(path);
  EXPECT_EQ(maintenance.OpenRecordset("PRAGMA integrity_check").Field(0).ToText(), "ok");
}
