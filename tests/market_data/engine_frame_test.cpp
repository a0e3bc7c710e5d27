#include <gtest/gtest.h>

#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/run_parameters.h"
#include "platform/db/db_error.h"
#include "platform/user/scripted_user_services.h"
#include "support/temp_app_folder.h"

namespace {

class EngineFrameTest : public ::testing::Test {
 protected:
  void SetUp() override { Parms() = RunParameters::DesignDefaults(); }
  void TearDown() override { blnLogging = false; }

  // A scratch table for QueryDB with one row per value.
  void Table(const std::string& values) {
    db::Connection& cn = SharedConnection();
    cn.Execute("CREATE TABLE [sim_q] ([GainLoss] DOUBLE, [Bought] TEXT)");
    if (!values.empty()) cn.Execute("INSERT INTO [sim_q] (GainLoss, Bought) VALUES " + values);
  }

  testsupport::TempAppFolder folder_;
  user::ScopedScriptedUser user_;
};

}  // namespace

TEST_F(EngineFrameTest, TheOldDefaultLocationBecomesVennorathDbInTheApplicationFolder) {
  Parms().strDatabasePath = "c:\\data\\Vennorath.mdb";
  clsResearch engine;
  EXPECT_EQ(Parms().strDatabasePath, folder_.File("Vennorath.db").string());
  EXPECT_TRUE(std::filesystem::is_regular_file(folder_.File("Vennorath.db")));
  ASSERT_TRUE(cnDatabase && cnDatabase->IsOpen());
  EXPECT_EQ(cnDatabase->Path(), folder_.File("Vennorath.db"));
}

TEST_F(EngineFrameTest, RelativeLocationsLieUnderTheApplicationFolderAndAbsoluteOnesAreKept) {
  std::filesystem::create_directories(folder_.File("Data"));
  Parms().strDatabasePath = "\\Data\\Research";  // no extension: the file gets exactly this name
  {
    clsResearch engine;
    EXPECT_TRUE(std::filesystem::is_regular_file(folder_.File("Data/Research")));
    EXPECT_FALSE(std::filesystem::exists(folder_.File("Data/Research.mdb")));
    EXPECT_TRUE(engine.TestDatabase());
  }
  testsupport::TempAppFolder elsewhere;  // now the application folder
  std::string absolute = folder_.File("Data/Other.mdb").string();
  Parms().strDatabasePath = absolute;
  clsResearch engine;
  EXPECT_EQ(Parms().strDatabasePath, absolute);
  EXPECT_TRUE(std::filesystem::is_regular_file(absolute));
  EXPECT_TRUE(engine.TestDatabase());
}

TEST_F(EngineFrameTest, ARelativeApplicationFolderIsResolvedOnce) {
  const std::filesystem::path workingFolder = std::filesystem::current_path();
  std::filesystem::current_path(folder_.Path());
  ::setenv("KESTROVANE_HOME", "home", 1);
  std::filesystem::create_directories("home");
  for (int renewed = 0; renewed < 2; ++renewed) {  // the engine renewed, as Compact and Repair does
    clsResearch engine;
    EXPECT_EQ(std::filesystem::absolute(cnDatabase->Path()), folder_.File("home/Vennorath.db"));
  }
  std::filesystem::current_path(workingFolder);
}

TEST_F(EngineFrameTest, AnExistingDatabaseIsOpenedAsItIs) {
  {
    clsResearch engine;
    SharedConnection().Execute("CREATE TABLE [Keep] ([a] INTEGER)");
    SharedConnection().Execute("INSERT INTO [Keep] (a) VALUES (42)");
  }
  EXPECT_FALSE(cnDatabase);
  clsResearch engine;
  EXPECT_EQ(engine.QueryDB("SELECT a FROM [Keep]"), "42");
}

TEST_F(EngineFrameTest, QueryDbGivesTheFirstValueRoundedToTwoPlaces) {
  clsResearch engine;
  Table("(12.346, 'x'), (-2, '3.10')");
  EXPECT_EQ(engine.QueryDB("SELECT MAX(GainLoss) FROM [sim_q]"), "12.35");
  EXPECT_EQ(engine.QueryDB("SELECT Count(GainLoss) FROM [sim_q]"), "2");
  EXPECT_EQ(engine.QueryDB("SELECT 7"), "7");
  EXPECT_EQ(engine.QueryDB("SELECT Bought FROM [sim_q] WHERE GainLoss < 0"), "3.1");
  EXPECT_EQ(engine.QueryDB("SELECT Avg(GainLoss) FROM [sim_q] WHERE GainLoss > 100"), "No Result");
  EXPECT_GE(user_->DoEventsCount(), 2);

  EXPECT_EQ(engine.QueryDB("SELECT GainLoss FROM [sim_q] WHERE GainLoss > 100"), "ERROR!!");  // no row
  EXPECT_EQ(engine.QueryDB("SELECT Bought FROM [sim_q] WHERE GainLoss > 0"), "ERROR!!");      // not a number
  EXPECT_EQ(engine.QueryDB("SELECT Sum(PrevRSI) FROM [sim_q]"), "ERROR!!");
  EXPECT_EQ(engine.QueryDB("SELECT Count(GainLoss) FROM [sim_q] AND GainLoss > 0"), "ERROR!!");
  EXPECT_EQ(engine.QueryDB(""), "ERROR!!");
}

TEST_F(EngineFrameTest, CommentsInAQueryAreBlanks) {
  clsResearch engine;
  Table("(1, 'x')");
  const std::pair<const char*, const char*> queries[] = {
      {"SELECT 1 /* x */ + 2", "3"},
      {"SELECT 6 /* a / b */ / 4", "1.5"},
      {"SELECT 1 -- it's #1\n + 2", "3"},
      {"SELECT Count(*) FROM [sim_q] /* WHERE GainLoss > 5 */", "1"},
      {"SELECT TOP 1 GainLoss FROM [sim_q] -- the first", "1"},
      {"SELECT 1 /* unclosed", "1"},
      {"SELECT '/* kept */' = '/* kept */'", "1"},
  };
  for (const auto& [sql, answer] : queries) EXPECT_EQ(engine.QueryDB(sql), answer) << sql;
}

TEST_F(EngineFrameTest, QueryDbRunsExactlyOneStatement) {
  clsResearch engine;
  Table("(1, 'x')");
  EXPECT_EQ(engine.QueryDB("SELECT Count(GainLoss) FROM [sim_q] WHERE GainLoss > 0; DROP TABLE [sim_q]"), "ERROR!!");
  EXPECT_EQ(engine.QueryDB("SELECT Count(GainLoss) FROM [sim_q] WHERE GainLoss > 0;"), "1");
}

TEST_F(EngineFrameTest, TestDatabaseIsFalseWhileAScratchTableIsLeftOver) {
  clsResearch engine;
  EXPECT_TRUE(engine.TestDatabase());
  EXPECT_TRUE(engine.TestDatabase());  // it removes its own table
  SharedConnection().Execute("CREATE TABLE [VraskEatsWeeds] ([x] TEXT)");
  EXPECT_FALSE(engine.TestDatabase());
  EXPECT_FALSE(engine.TestDatabase());
  SharedConnection().Execute("drop table [VraskEatsWeeds]");
  EXPECT_TRUE(engine.TestDatabase());

  Parms().intDatabaseType = 2;  // the SQL-Server definition does not run here
  EXPECT_FALSE(engine.TestDatabase());
  Parms().intDatabaseType = 0;
  EXPECT_FALSE(engine.TestDatabase());
}

TEST_F(EngineFrameTest, TheConnectionSurvivesAShortLivedSecondEngine) {
  clsResearch main;
  Table("(5, 'x')");
  {
    clsResearch query;
    EXPECT_EQ(query.QueryDB("SELECT Sum(GainLoss) FROM [sim_q]"), "5");
  }
  ASSERT_TRUE(cnDatabase && cnDatabase->IsOpen());
  EXPECT_EQ(main.QueryDB("SELECT Sum(GainLoss) FROM [sim_q]"), "5");
  EXPECT_TRUE(main.TestDatabase());
}

TEST_F(EngineFrameTest, AJoiningEngineUsesTheOpenConnectionEvenWhenTheLocationChanged) {
  clsResearch main;
  Table("(5, 'x')");
  std::shared_ptr<db::Connection> before = cnDatabase;
  Parms().strDatabasePath = "Elsewhere.db";  // saved as the start-up location, not yet in use
  {
    clsResearch query(clsResearch::JoinSharedConnection{});
    EXPECT_EQ(cnDatabase, before);
    EXPECT_EQ(query.QueryDB("SELECT Sum(GainLoss) FROM [sim_q]"), "5");
  }
  EXPECT_EQ(cnDatabase, before);
  EXPECT_TRUE(before->IsOpen());
  EXPECT_FALSE(std::filesystem::exists(folder_.File("Elsewhere.db")));
}

TEST_F(EngineFrameTest, AJoiningEngineOpensTheConnectionWhenNoneIsOpen) {
  {
    clsResearch query(clsResearch::JoinSharedConnection{});
    ASSERT_TRUE(cnDatabase && cnDatabase->IsOpen());
    EXPECT_TRUE(query.TestDatabase());
  }
  EXPECT_FALSE(cnDatabase);  // it was the last engine
}

TEST_F(EngineFrameTest, TheLastEngineClosesAndReleasesTheConnection) {
  auto first = std::make_unique<clsResearch>();
  auto second = std::make_unique<clsResearch>();
  std::weak_ptr<db::Connection> held = cnDatabase;
  first.reset();
  EXPECT_TRUE(cnDatabase);
  second.reset();
  EXPECT_FALSE(cnDatabase);
  EXPECT_TRUE(held.expired());
}

TEST_F(EngineFrameTest, CallsOnAClosedOrMissingConnectionFailClearly) {
  clsResearch engine;
  cnDatabase->Close();  // as the main window does once more when it unloads
  EXPECT_EQ(engine.QueryDB("SELECT 1"), "ERROR!!");
  EXPECT_FALSE(engine.TestDatabase());
  try {
    engine.CreateTable("IBM");
    ADD_FAILURE() << "no error";
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), db::kErrObjectClosed);
    EXPECT_NE(e.Description().find("not open"), std::string::npos);
  }
  cnDatabase.reset();
  EXPECT_EQ(engine.QueryDB("SELECT 1"), "ERROR!!");
  EXPECT_FALSE(engine.TestDatabase());
  EXPECT_THROW(engine.CreateTable("IBM"), rt::Error);
}

TEST_F(EngineFrameTest, ADatabaseThatCannotBeOpenedIsLoggedAndSurfacesLater) {
  blnLogging = true;
  testsupport::WriteFileBytes(folder_.File("Vennorath.db"), "not a database");
  clsResearch engine;
  EXPECT_FALSE(cnDatabase->IsOpen());
  EXPECT_FALSE(engine.TestDatabase());
  EXPECT_EQ(engine.QueryDB("SELECT 1"), "ERROR!!");
  EXPECT_EQ(testsupport::ReadFileBytes(folder_.File("Vennorath.db")), "not a database");
  EXPECT_NE(testsupport::ReadFileBytes(folder_.File("err.log")).find("\tDatabase could not be opened.\r\n"),
            std::string::npos);

  Parms().strDatabasePath = "\\NoSuchFolder\\x.db";
  clsResearch other;
  EXPECT_FALSE(std::filesystem::exists(folder_.File("NoSuchFolder")));
  EXPECT_FALSE(other.TestDatabase());
}
