// Start-up: the Internet question, the load, the windows, the tutorial notice.
#include "ui/startup.h"

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>
#include <utility>

#include "platform/db/connection.h"
#include "platform/inet/service_addresses.h"
#include "platform/registry/registry_access.h"
#include "support/crash_trial.h"
#include "support/quote_service_process.h"
#include "support/write_faults.h"
#include "ui/resources.h"
#include "window_fixture.h"

namespace {

constexpr const char* kTutorialKey = "Software\\Q_ZOLT\\";

std::string TutorialFlag() { return registry::GetRegSetting(registry::lngRegRoot, kTutorialKey, "TUT"); }

// The program started in a process of its own on the folder and up: its
// process id, or -1 when it did not come up.
pid_t StartFirstProgram(const std::filesystem::path& folder) {
  const pid_t first = testsupport::StartTrialChild(KESTROVANE_CRASH_TRIAL_CHILD, "start", folder);
  for (int wait = 0; wait < 6000 && !std::filesystem::exists(folder / "started"); ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (std::filesystem::exists(folder / "started")) return first;
  ::kill(first, SIGKILL);
  ::waitpid(first, nullptr, 0);
  return -1;
}

void Kill(pid_t program) {
  ::kill(program, SIGKILL);  // its locks go with it
  ::waitpid(program, nullptr, 0);
}

// Kills the program when the test ends on a failure before it did.
struct KilledAtEnd {
  pid_t& program;
  ~KilledAtEnd() {
    if (program > 0) Kill(std::exchange(program, -1));
  }
};

}  // namespace

TEST_F(WindowTest, AnsweringNoStartsOffline) {
  scripted->AnswerMsgBox(user::kAnswerNo, "Would you like to use an active Internet Connection?");
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotPropertiesFileMessage);
  window = ui::StartUp({-1});
  ASSERT_NE(window, nullptr);
  window->showTutorialModally = [](ui::frmTutorial&) { return 1; };
  EXPECT_EQ(scripted->Prompts().front().style, user::kYesNo | user::kQuestion);
  EXPECT_EQ(scripted->Prompts().front().title, "Kestrovane");
  EXPECT_FALSE(Parms().blnUseInternet);
  EXPECT_EQ(window->Label("lblStatus", 0)->text(), "Not Connected to Internet");
  EXPECT_FALSE(window->Menu("mnuUseInternet")->isChecked());
  EXPECT_EQ(window->Check("chkUpdateData")->Value(), 0);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(ui::ResultsWindow().isVisible());
  EXPECT_NE(window->objResearch, nullptr);
  EXPECT_TRUE(Parms().strSimTable.empty());
  EXPECT_EQ(window->tabResearch->currentIndex(), 0);
}

TEST_F(WindowTest, ASecondProgramOnTheFolderIsRefusedUntilTheFirstIsKilled) {
  const pid_t first = StartFirstProgram(home.Path());
  ASSERT_GT(first, 0) << "the first program did not start";
  scripted->AnswerMsgBox(user::kAnswerOK, "The application folder " + home.Path().string() + " is in use");
  std::unique_ptr<ui::frmMain> second;
  EXPECT_NO_THROW(second = ui::StartUp({-1}));
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(scripted->Prompts().size(), 1u);  // not even the Internet question

  Kill(first);
  scripted->AnswerMsgBox(user::kAnswerNo, "Would you like to use an active Internet Connection?");
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotPropertiesFileMessage);
  window = ui::StartUp({-1});
  EXPECT_NE(window, nullptr);
}

// Two application folders whose options reach one database file, by its path
// or by another name of the same file.
TEST_F(WindowTest, ASecondProgramOnAnotherFolderIsRefusedTheDatabaseUntilTheFirstIsKilled) {
  const std::filesystem::path database = home.File("shared.db");
  const std::filesystem::path firstFolder = home.File("first");
  std::filesystem::create_directories(firstFolder);
  testsupport::WriteFileBytes(firstFolder / "PROPERTIES", "txtSimOption(32)=" + database.string() + "\r\n");
  pid_t first = StartFirstProgram(firstFolder);
  const KilledAtEnd killed{first};
  ASSERT_GT(first, 0) << "the first program did not start";
  std::filesystem::create_hard_link(database, home.File("hard-linked.db"));
  std::filesystem::create_symlink(database, home.File("symlinked.db"));

  for (const char* reached : {"shared.db", "hard-linked.db", "symlinked.db"}) {
    SCOPED_TRACE(reached);
    testsupport::WriteFileBytes(home.File("PROPERTIES"), "txtSimOption(32)=" + home.File(reached).string() + "\r\n");
    scripted->AnswerMsgBox(user::kAnswerNo, "Would you like to use an active Internet Connection?");
    scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
    // Only what the user can do: the Options page of the location is disabled.
    const std::string inUse = "The database could not be opened: " + home.File(reached).string() +
                              " is in use by another Kestrovane program. Close that program first.";
    scripted->AnswerMsgBox(user::kAnswerOK, inUse);
    window.reset();
    window = ui::StartUp({-1});
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(scripted->MessageTexts().back().ends_with(inUse));
    EXPECT_FALSE(window->objResearch->TestDatabase());
  }

  Kill(std::exchange(first, -1));
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
  window->Menu("mnuNewSimulation")->trigger();
  EXPECT_TRUE(window->objResearch->TestDatabase());
}

TEST_F(WindowTest, TheLoadSetsThePeriodToEndYesterday) {
  ui::frmMain& w = LoadedWindow();
  rt::Date end = w.Picker("dteSimDate", 1)->Value();
  rt::Date start = w.Picker("dteSimDate", 0)->Value();
  EXPECT_LT(end, rt::Today());
  EXPECT_GE(end, rt::Today() - 4);
  EXPECT_NE(end.Weekday(), 1);
  EXPECT_NE(end.Weekday(), 7);
  EXPECT_LE(start, end - 150);
  EXPECT_GE(start, end - 153);
  EXPECT_EQ(w.Options().cmbPick(0)->count(), 20);
  EXPECT_EQ(w.Combo("cboTypeOfPurchase")->currentIndex(), -1);
  EXPECT_EQ(w.Combo("cboInitialStop")->currentText(), "Previous Day's Low/High");
  EXPECT_EQ(w.txtHelp->toPlainText().toStdString(), ui::LoadResString(101));
}

TEST_F(WindowTest, TheTutorialNoticeComesOnceAndRemembersTheChoice) {
  ui::frmMain& w = NewWindow();
  int shown = 0;
  w.showTutorialModally = [&shown](ui::frmTutorial& tutorial) {
    ++shown;
    tutorial.chkNoMore->setChecked(true);
    tutorial.cmdOK_Click();
    return tutorial.ShowMessage();
  };
  w.Form_Activate();
  w.Form_Activate();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(TutorialFlag(), "1");

  // Closed without OK: "0", and the notice comes again at the next start.
  NewWindow().showTutorialModally = [&shown](ui::frmTutorial& tutorial) {
    ++shown;
    tutorial.chkNoMore->setChecked(true);
    return tutorial.ShowMessage();
  };
  registry::SaveRegSetting(registry::lngRegRoot, kTutorialKey, "TUT", "0");
  window->Form_Activate();
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(TutorialFlag(), "0");
}

TEST_F(WindowTest, ATrimmedOneKeepsTheTutorialAway) {
  registry::SaveRegSetting(registry::lngRegRoot, kTutorialKey, "TUT", " 1 ");
  NewWindow().Form_Activate();
  EXPECT_EQ(tutorialShown, 0);
}

TEST_F(WindowTest, AnsweringYesWithoutAConnectionStartsOffline) {
  testsupport::UnreachableService unreachable;
  scripted->AnswerMsgBox(user::kAnswerYes, "Would you like to use an active Internet Connection?");
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotPropertiesFileMessage);
  scripted->AnswerMsgBox(user::kAnswerOK, "No Internet Connection Detected.");
  window = ui::StartUp({-1});
  ASSERT_NE(window, nullptr);
  window->showTutorialModally = [](ui::frmTutorial&) { return 1; };
  EXPECT_FALSE(Parms().blnUseInternet);
  EXPECT_EQ(window->Label("lblStatus", 0)->text(), "Not Connected to Internet");
  EXPECT_EQ(window->Label("lblStatus", 0)->palette().color(QPalette::WindowText), QColor(192, 0, 0));
  EXPECT_TRUE(window->Menu("mnuUseInternet")->isEnabled());
  EXPECT_FALSE(window->Menu("mnuUseInternet")->isChecked());
  EXPECT_EQ(window->Check("chkUpdateData")->Value(), 0);
}

TEST_F(WindowTest, AnsweringYesWithTheServiceStartsOnline) {
  testsupport::QuoteServiceProcess service;
  scripted->AnswerMsgBox(user::kAnswerYes, "Would you like to use an active Internet Connection?");
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotPropertiesFileMessage);
  window = ui::StartUp({-1});
  ASSERT_NE(window, nullptr);
  window->showTutorialModally = [](ui::frmTutorial&) { return 1; };
  EXPECT_TRUE(Parms().blnUseInternet);
  EXPECT_EQ(window->Label("lblStatus", 0)->text(), "Connected to Internet");
  EXPECT_EQ(window->Label("lblStatus", 0)->palette().color(QPalette::WindowText), QColor(0, 64, 0));
  EXPECT_TRUE(window->Menu("mnuUseInternet")->isChecked());
  EXPECT_EQ(window->Check("chkUpdateData")->Value(), 1);

  // The Internet item: off at once with the warning, on again with a test.
  const char* warning = "You are not connected to the Internet, no data can be pulled.";
  scripted->AnswerMsgBox(user::kAnswerOK, warning);
  window->Menu("mnuUseInternet")->trigger();
  EXPECT_FALSE(Parms().blnUseInternet);
  EXPECT_EQ(window->Check("chkUpdateData")->Value(), 0);
  window->Menu("mnuUseInternet")->trigger();
  EXPECT_TRUE(Parms().blnUseInternet);
  EXPECT_EQ(window->Label("lblStatus", 0)->text(), "Connected to Internet");
}

TEST_F(WindowTest, TheInternetItemStaysCheckedAfterAFailedTest) {
  testsupport::UnreachableService unreachable;
  ui::frmMain& w = LoadedWindow();
  scripted->AnswerMsgBox(user::kAnswerOK, "No Internet Connection Detected.");
  scripted->AnswerMsgBox(user::kAnswerOK, "You are not connected to the Internet");
  w.Menu("mnuUseInternet")->trigger();
  EXPECT_TRUE(w.Menu("mnuUseInternet")->isChecked());
  EXPECT_FALSE(Parms().blnUseInternet);
  EXPECT_EQ(w.Label("lblStatus", 0)->text(), "Not Connected to Internet");
  EXPECT_EQ(user::User().Pointer(), user::kPointerDefault);
}

TEST_F(WindowTest, ADatabaseThatCannotBeOpenedIsReportedOnceWithItsCause) {
  std::filesystem::path truncated = home.File("truncated.db");
  {
    db::CreateDatabaseFile(truncated);
    db::Connection cn;
    cn.Open(truncated);
    cn.Execute("CREATE TABLE [Rows] ([Text] TEXT)");
    for (int n = 0; n < 200; ++n) cn.Execute("INSERT INTO [Rows] VALUES ('" + std::string(500, 'x') + "')");
  }
  std::filesystem::resize_file(truncated, 5000);
  testsupport::WriteFileBytes(home.File("text.db"), "not a database");
  // A writable database in a folder where its working files cannot be made.
  const std::filesystem::path readOnlyFolder = home.File("read-only");
  std::filesystem::create_directories(readOnlyFolder);
  db::CreateDatabaseFile(readOnlyFolder / "x.db");
  std::filesystem::permissions(readOnlyFolder, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  const testsupport::PermissionsEnforced enforced;
  const std::pair<std::string, std::string> cases[] = {
      {truncated.string(), "Unrecognized database format"},
      {home.File("text.db").string(), "Unrecognized database format"},
      {home.File("no folder/x.db").string(), "Could not open the database file"},  // cannot be created
      {(readOnlyFolder / "x.db").string(), "The folder '" + readOnlyFolder.string() + "' that holds the database file"},
  };
  for (const auto& [location, cause] : cases) {
    testsupport::WriteFileBytes(ui::PropertiesFilePath(), "txtSimOption(32)=" + location + "\r\n");
    ui::frmMain& w = NewWindow();
    scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
    scripted->AnswerMsgBox(user::kAnswerOK, "Database Does Not Exist or Incorrect Database in Use.\r\n\r\n"
                                            "The database could not be opened: " +
                                                cause);
    w.Form_Load();
    EXPECT_EQ(scripted->PendingAnswers(), 0u) << location;
    EXPECT_NE(scripted->Prompts().back().text.find(location), std::string::npos) << location;
    window.reset();
  }
  std::filesystem::permissions(readOnlyFolder, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

TEST_F(WindowTest, AnUnusableDatabaseIsReportedAndTheWindowStillComesUp) {
  testsupport::WriteFileBytes(ui::PropertiesFilePath(), "txtSimOption(32)=/nonexistent/folder/x.db\r\n");
  ui::frmMain& w = NewWindow();
  scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
  scripted->AnswerMsgBox(user::kAnswerOK, "Database Does Not Exist or Incorrect Database in Use.");
  w.Form_Load();
  EXPECT_NE(w.objResearch, nullptr);
  EXPECT_TRUE(w.cmdSimulate->isEnabled());
}
