#include "market_data/schema.h"

#include <gtest/gtest.h>

#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/run_parameters.h"
#include "platform/db/db_error.h"
#include "platform/user/scripted_user_services.h"
#include "support/error_of.h"
#include "support/temp_app_folder.h"

namespace {

constexpr const char* kRepairMessage = "An error occurred while repairing the database.";

class SchemaTest : public ::testing::Test {
 protected:
  void SetUp() override { Parms() = RunParameters::DesignDefaults(); }

  std::vector<std::string> Columns(const std::string& table) {
    db::Recordset rs = SharedConnection().OpenRecordset("SELECT * FROM [" + table + "]");
    std::vector<std::string> names;
    for (int i = 0; i < rs.FieldCount(); ++i) names.push_back(rs.FieldName(i));
    return names;
  }
  long Rows(const std::string& table) {
    return static_cast<long>(
        SharedConnection().OpenRecordset("SELECT COUNT(*) FROM [" + table + "]").Field(0).ToInteger());
  }
  static int32_t ErrorOf(const std::function<void()>& action) { return testsupport::ErrorOf(action); }

  testsupport::TempAppFolder folder_;
  user::ScopedScriptedUser user_;
};

}  // namespace

TEST_F(SchemaTest, QuoteTablesHaveSevenColumnsForStocksAndFiveForIndices) {
  clsResearch engine;
  engine.CreateTable("IBM");
  engine.CreateTable("^DJI");
  EXPECT_EQ(Columns("IBM"),
            (std::vector<std::string>{"DamnDate", "Open", "High", "Low", "Close", "Adj_Close", "Volume"}));
  EXPECT_EQ(Columns("^DJI"), (std::vector<std::string>{"DamnDate", "Open", "High", "Low", "Close"}));

  db::Connection& cn = SharedConnection();
  cn.Execute("INSERT INTO [IBM] (DamnDate, High, Low, [Close], [Open], Adj_Close, Volume) VALUES "
             "(#01/02/04#,'12.5','11.75','12.25','12','12.25','120000')");
  cn.Execute(
      "INSERT INTO [^DJI] (DamnDate, High, Low, [Close], [Open]) VALUES (#01/02/04#,'10500','10400','10450','10410')");
  EXPECT_EQ(ErrorOf([&] {
              cn.Execute("INSERT INTO [IBM] (DamnDate, High, Low, [Close], [Open], Adj_Close, Volume) VALUES "
                         "(#1/2/2004#,'1','1','1','1','1','1')");
            }),
            db::kErrProviderFailure);

  db::Recordset rs = cn.OpenRecordset("SELECT DamnDate, [Open], [High], [Low],[Close]From [^DJI] WHERE DamnDate >= "
                                      "#12/29/2003# AND DamnDate <= #1/31/2004# ORDER BY DamnDate DESC");
  ASSERT_EQ(rs.RecordCount(), 1);
  EXPECT_EQ(rs.Field("Close").ToText(), "10450");
  EXPECT_EQ(rs.Field("DamnDate").ToText(), "1/2/2004");

  engine.CreateTable("IBM");  // starts from an empty table
  EXPECT_EQ(Rows("IBM"), 0);
  EXPECT_EQ(Rows("^DJI"), 1);
}

TEST_F(SchemaTest, CreateTableRefusesNamesThatCannotBeBracketed) {
  clsResearch engine;
  engine.CreateTable("IBM");
  for (const char* bad : {"IBM] ([x] TEXT); --", "", "A[B"}) {
    EXPECT_EQ(ErrorOf([&] { engine.CreateTable(bad); }), db::kErrStatementFailed) << bad;
  }
  EXPECT_EQ(Columns("IBM").size(), 7u);
}

TEST_F(SchemaTest, SqlServerQuoteTablesFailToTheCaller) {
  clsResearch engine;
  Parms().intDatabaseType = 2;
  EXPECT_EQ(ErrorOf([&] { engine.CreateTable("IBM"); }), db::kErrStatementFailed);
  EXPECT_EQ(ErrorOf([&] { engine.CreateTable("^DJI"); }), db::kErrStatementFailed);
  Parms().intDatabaseType = 1;
  EXPECT_EQ(ErrorOf([&] { Rows("IBM"); }), db::kErrTableMissing);
}

TEST_F(SchemaTest, MasterTablesAreCreatedTogetherWithSimStatusColumnsInOrder) {
  clsResearch engine;
  engine.CreateTable_Master();
  EXPECT_TRUE(user_->Prompts().empty());
  EXPECT_EQ(Columns("Stock_Master"), (std::vector<std::string>{"Symbol", "Market", "Inception"}));
  std::vector<std::string> expected(kSimStatusColumns.begin(), kSimStatusColumns.end());
  EXPECT_EQ(Columns("SimStatus"), expected);
  EXPECT_EQ(expected[6], "TradePause6");  // the trade slots skip 5 and 8
  EXPECT_EQ(expected[8], "TradePause9");

  db::Connection& cn = SharedConnection();
  cn.Execute("INSERT INTO [SimStatus] (SimTable, TradePause0, PortCount) VALUES ('sim_a', 3.5, 12)");
  EXPECT_EQ(ErrorOf([&] { cn.Execute("INSERT INTO [SimStatus] (SimTable) VALUES ('SIM_A')"); }),
            db::kErrProviderFailure);
}

TEST_F(SchemaTest, AnExistingStockMasterIsReportedAndSimStatusNotCreated) {
  clsResearch engine;
  engine.CreateTable_Master();
  SharedConnection().Execute("drop table [SimStatus]");
  user_->AnswerMsgBox(user::kAnswerOK, "Table 'Stock_Master' already exists.");
  engine.CreateTable_Master();
  ASSERT_EQ(user_->Prompts().size(), 1u);
  EXPECT_EQ(user_->Prompts()[0].style, user::kOKOnly);
  EXPECT_EQ(user_->Prompts()[0].title, "");
  EXPECT_EQ(ErrorOf([&] { Rows("SimStatus"); }), db::kErrTableMissing);
}

TEST_F(SchemaTest, CreateDatabaseMakesAFileAtExactlyThePathOnlyWhenMissing) {
  CreateDatabase(folder_.File("Research").string());
  EXPECT_TRUE(std::filesystem::is_regular_file(folder_.File("Research")));
  CreateDatabase("c:\\data\\Vennorath.mdb");
  EXPECT_TRUE(std::filesystem::is_regular_file(folder_.File("Vennorath.db")));
  CreateDatabase("\\old.mdb");
  EXPECT_TRUE(std::filesystem::is_regular_file(folder_.File("old.mdb")));
  EXPECT_FALSE(std::filesystem::exists(folder_.File("old.mdb.mdb")));

  testsupport::WriteFileBytes(folder_.File("notes.db"), "keep me");
  CreateDatabase(folder_.File("notes.db").string());
  EXPECT_EQ(testsupport::ReadFileBytes(folder_.File("notes.db")), "keep me");

  CreateDatabase(folder_.File("missing/x.db").string());  // silent
  EXPECT_FALSE(std::filesystem::exists(folder_.File("missing")));
  EXPECT_TRUE(user_->Prompts().empty());
}

TEST_F(SchemaTest, RepairCompactsAFreeFileAndKeepsItsData) {
  {
    clsResearch engine;
    engine.CreateTable("IBM");
    for (int i = 1; i <= 28; ++i)
      SharedConnection().Execute("INSERT INTO [IBM] (DamnDate, [Close]) VALUES (#2/" + std::to_string(i) + "/2004#, '" +
                                 std::to_string(i) + "')");
    SharedConnection().Execute("DELETE FROM [IBM] WHERE [Close] > 3");
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(engine.CreateSimulationTable("sim_a"));  // the first one set aside
  }
  RepairDatabase(Parms().strDatabasePath);
  EXPECT_TRUE(user_->Prompts().empty());
  clsResearch engine;
  EXPECT_EQ(engine.QueryDB("SELECT Sum([Close]) FROM [IBM]"), "6");
  // sim_a and its key, without the table set aside.
  EXPECT_EQ(engine.QueryDB("SELECT COUNT(*) FROM sqlite_master WHERE name LIKE '%sim_a%'"), "2");
  EXPECT_TRUE(engine.TestDatabase());
}

TEST_F(SchemaTest, RepairOfAHeldFileShowsTheErrorAndLeavesTheFileIntact) {
  auto engine = std::make_unique<clsResearch>();
  engine->CreateTable("IBM");
  SharedConnection().Execute("INSERT INTO [IBM] (DamnDate, [Close]) VALUES (#2/3/2004#, '12.5')");

  user_->AnswerMsgBox(user::kAnswerOK, kRepairMessage);
  RepairDatabase(Parms().strDatabasePath);  // the engine still holds the connection
  ASSERT_EQ(user_->Prompts().size(), 1u);
  EXPECT_EQ(user_->Prompts()[0].style, user::kCritical);
  EXPECT_EQ(user_->Prompts()[0].title, "Kestrovane");
  EXPECT_NE(user_->Prompts()[0].text.find("is in use by another connection"), std::string::npos);
  EXPECT_EQ(engine->QueryDB("SELECT [Close] FROM [IBM]"), "12.5");

  engine.reset();
  user_->AnswerMsgBox(user::kAnswerOK, kRepairMessage);
  testsupport::WriteFileBytes(folder_.File("notes.db"), "not a database");
  RepairDatabase(folder_.File("notes.db").string());
  EXPECT_EQ(testsupport::ReadFileBytes(folder_.File("notes.db")), "not a database");
  user_->AnswerMsgBox(user::kAnswerOK, kRepairMessage);
  RepairDatabase(folder_.File("none.db").string());
  EXPECT_FALSE(std::filesystem::exists(folder_.File("none.db")));
  EXPECT_EQ(user_->Prompts().size(), 3u);
}
