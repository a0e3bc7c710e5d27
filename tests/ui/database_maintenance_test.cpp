// Tools > Compact and Repair DB and Remove Empty Tables.
#include <QCoreApplication>
#include <filesystem>

#include "market_data/database_connection.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/program_lock.h"
#include "window_fixture.h"

// The compacted file takes the database's place still held by this program
// (no other can open it in between); one reached by a hard link as well is
// compacted in place, so that every name keeps the data.
TEST_F(WindowTest, CompactAndRepairReplacesTheEngineAndKeepsTheData) {
  ui::frmMain& w = LoadedWindow();
  const std::filesystem::path database = ResolveDatabasePath(Parms().strDatabasePath);
  cnDatabase->Execute("CREATE TABLE [Kept] ([Value] INTEGER)");
  for (const bool hardLinked : {false, true}) {
    SCOPED_TRACE(hardLinked ? "hard-linked" : "one name");
    const std::filesystem::path link = home.File("linked.db");
    if (hardLinked) std::filesystem::create_hard_link(database, link);
    cnDatabase->Execute("INSERT INTO [Kept] VALUES (7)");
    std::weak_ptr<clsResearch> before = w.objResearch;
    size_t prompts = scripted->Prompts().size();
    w.blnNewSimulation = false;
    w.objResearch->StopProcess(true);

    w.Menu("mnuRepairDB")->trigger();
    EXPECT_TRUE(before.expired());
    ASSERT_NE(w.objResearch, nullptr);
    EXPECT_FALSE(w.objResearch->StopProcess());
    EXPECT_TRUE(w.blnNewSimulation);
    EXPECT_EQ(w.objResearch->QueryDB("SELECT SUM([Value]) FROM [Kept]"), hardLinked ? "14" : "7");
    EXPECT_TRUE(w.objResearch->TestDatabase());
    EXPECT_EQ(scripted->Prompts().size(), prompts);
    EXPECT_TRUE(rt::ProgramLock(database, rt::ProgramLock::Missing::Fail).InUse());
    EXPECT_TRUE(!hardLinked || std::filesystem::equivalent(database, link));
  }
}

// Compact serves the window as a run does: clicks queued meanwhile come in
// during its statements, while the status line says what runs, and are
// refused as during a run; none fires after it.
TEST_F(WindowTest, CompactServesTheWindowAndRefusesTheCommandsClickedMeanwhile) {
  ui::frmMain& w = LoadedWindow();
  cnDatabase->Execute("CREATE TABLE [Kept] ([Value] INTEGER)");
  cnDatabase->Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50000) "
                      "INSERT INTO [Kept] SELECT i FROM n");
  w.Label("lblCurrStock", 1)->setText("Processing Complete");
  const std::pair<std::function<void()>, const char*> clicks[] = {
      {[&] { w.Menu("mnuOpenSim")->trigger(); }, "Open Simulation"},
      {[&] { w.Menu("mnuNewSimulation")->trigger(); }, "New Simulation"},
      {[&] { w.Menu("mnuRepairDB")->trigger(); }, "Compact and Repair DB"},
      {[&] { w.Button("cmdGetRange")->click(); }, "Auto-Populate Criteria"},
      {[&] { w.cmdSimulate->click(); }, nullptr}};  // disabled meanwhile
  // The status line at each click, "" with an engine in place.
  std::vector<std::string> captions;
  for (const auto& [click, refusal] : clicks) {
    QMetaObject::invokeMethod(
        &w,
        [&, click] {
          click();
          captions.push_back(w.objResearch ? "" : w.Label("lblCurrStock", 1)->text().toStdString());
        },
        Qt::QueuedConnection);
    if (refusal)
      scripted->AnswerMsgBox(user::kAnswerOK, std::string(refusal) + " cannot be used while a simulation or another");
  }
  scripted->OnDoEvents([](int) { QCoreApplication::processEvents(); });  // as the program yields
  w.Menu("mnuRepairDB")->trigger();
  scripted->OnDoEvents(nullptr);
  QCoreApplication::processEvents();  // nothing is left to fire

  EXPECT_EQ(captions, std::vector<std::string>(std::size(clicks), "Compacting and repairing the database ..."));
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete");
  EXPECT_TRUE(w.cmdSimulate->isEnabled());
  EXPECT_EQ(w.objResearch->QueryDB("SELECT MAX([Value]) FROM [Kept]"), "50000");
  EXPECT_EQ(user::User().Pointer(), user::kPointerDefault);
}

TEST_F(WindowTest, CompactAndRepairOfAnUnusableDatabaseStillEndsWithAnEngine) {
  ui::frmMain& w = LoadedWindow();
  Parms().strDatabasePath = (home.Path() / "no such folder" / "x.db").string();
  scripted->AnswerMsgBox(user::kAnswerOK, "An error occurred while repairing the database.");
  scripted->AnswerMsgBox(user::kAnswerOK, "Database Does Not Exist or Incorrect Database in Use.");
  w.Menu("mnuRepairDB")->trigger();
  ASSERT_NE(w.objResearch, nullptr);
  EXPECT_TRUE(w.blnNewSimulation);
}

TEST_F(WindowTest, RemoveEmptyTablesDropsEmptyQuoteTablesAndTheirMasterRows) {
  ui::frmMain& w = LoadedWindow();
  w.objResearch->CreateTable_Master();
  for (const char* symbol : {"GONE", "EMPTY", "FULL", "ODD]"})
    cnDatabase->Execute(std::string("INSERT INTO [Stock_Master] ([Symbol], [Market]) VALUES ('") + symbol + "', 'ny')");
  w.objResearch->CreateTable("EMPTY");
  w.objResearch->CreateTable("FULL");
  cnDatabase->Execute("INSERT INTO [FULL] ([DamnDate], [Open], [High], [Low], [Close], [Adj_Close], [Volume]) "
                      "VALUES (#1/2/2019#, 1, 1, 1, 1, 1, 100)");

  w.mnuRemoveEmptyTables_Click();
  EXPECT_EQ(w.objResearch->QueryDB("SELECT COUNT(*) FROM [Stock_Master] WHERE [Symbol] IN ('GONE', 'EMPTY')"), "0");
  EXPECT_EQ(w.objResearch->QueryDB("SELECT COUNT(*) FROM [EMPTY]"), "ERROR!!");  // dropped
  EXPECT_EQ(w.objResearch->QueryDB("SELECT COUNT(*) FROM [FULL]"), "1");
  EXPECT_EQ(w.objResearch->QueryDB("SELECT COUNT(*) FROM [Stock_Master] WHERE [Symbol] = 'FULL'"), "1");
  // A symbol that cannot name a table is left alone.
  EXPECT_EQ(w.objResearch->QueryDB("SELECT COUNT(*) FROM [Stock_Master] WHERE [Symbol] = 'ODD]'"), "1");
  EXPECT_EQ(user::User().Pointer(), user::kPointerDefault);
}

TEST_F(WindowTest, RemoveEmptyTablesWithoutAMasterListChangesNothing) {
  ui::frmMain& w = LoadedWindow();
  size_t prompts = scripted->Prompts().size();
  w.mnuRemoveEmptyTables_Click();
  EXPECT_EQ(scripted->Prompts().size(), prompts);
  EXPECT_EQ(user::User().Pointer(), user::kPointerDefault);
}
