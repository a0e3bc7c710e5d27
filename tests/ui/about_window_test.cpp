// The About window with its System Information button, and the splash window.
#include "ui/about_window.h"

#include "platform/registry/registry_access.h"
#include "platform/runtime/app_folder.h"
#include "support/temp_app_folder.h"
#include "ui/splash_window.h"
#include "window_fixture.h"

namespace {

constexpr const char* kUnavailable = "System Information Is Unavailable At This Time";
constexpr const char* kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

class AboutTest : public WindowTest {
 protected:
  // An About window whose program starts are recorded, not made.
  ui::frmAbout& About() {
    about = std::make_unique<ui::frmAbout>(nullptr);
    about->startProgram = [this](const std::string& commandLine) {
      started.push_back(commandLine);
      return startSucceeds;
    };
    return *about;
  }
  static void Store(const char* key, const char* name, const std::string& value) {
    registry::SaveRegSetting(registry::HKEY_LOCAL_MACHINE, key, name, value);
  }

  std::unique_ptr<ui::frmAbout> about;
  std::vector<std::string> started;
  bool startSucceeds = true;
};

}  // namespace

TEST_F(AboutTest, TheWindowShowsTitleAndVersion) {
  ui::frmAbout& a = About();
  EXPECT_EQ(a.windowTitle(), "About Kestrovane");
  EXPECT_EQ(a.lblTitle->text(), "Kestrovane");
  EXPECT_EQ(a.lblVersion->text().toStdString(), "Version " + std::to_string(KESTROVANE_VERSION_MAJOR) + "." +
                                                    std::to_string(KESTROVANE_VERSION_MINOR) + "." +
                                                    std::to_string(KESTROVANE_VERSION_PATCH));
  EXPECT_EQ(a.cmdSysInfo->text(), "&System Info...");
  EXPECT_FALSE(a.txtWarning->toPlainText().isEmpty());

  ui::frmSplash splash;
  EXPECT_EQ(splash.lblVersion->text(), a.lblVersion->text());
  EXPECT_TRUE(splash.lblProductName->text().isEmpty());
  EXPECT_TRUE(splash.lblCompanyProduct->text().isEmpty());
  splash.close();
}

TEST_F(AboutTest, TheMenuShowsItModallyOverTheMainWindow) {
  ui::frmMain& w = LoadedWindow();
  EXPECT_TRUE(w.Menu("mnuAbout")->isEnabled());
  int shown = 0;
  w.showAboutModally = [&](ui::frmAbout& a) {
    ++shown;
    EXPECT_EQ(a.parentWidget(), &w);
    a.cmdOK_Click();
    EXPECT_EQ(a.result(), QDialog::Accepted);
  };
  w.Menu("mnuAbout")->trigger();
  EXPECT_EQ(shown, 1);
}

TEST_F(AboutTest, WithoutAConfiguredToolSystemInformationIsUnavailable) {
  ui::frmAbout& a = About();
  scripted->AnswerMsgBox(user::kAnswerOK, kUnavailable);
  a.cmdSysInfo_Click();

  // Only the folder entry, and no MSINFO32.EXE in it.
  Store(kLocationKey, "MSINFO", rt::AppFolder().string());
  scripted->AnswerMsgBox(user::kAnswerOK, kUnavailable);
  a.StartSysInfo();
  EXPECT_TRUE(started.empty());
  EXPECT_EQ(scripted->Prompts().back().title, "Kestrovane");
}

TEST_F(AboutTest, TheConfiguredToolIsStarted) {
  ui::frmAbout& a = About();
  // The folder entry, with the tool in it.
  std::filesystem::path tool = rt::AppFolder() / "MSINFO32.EXE";
  testsupport::WriteFileBytes(tool, "");
  Store(kLocationKey, "MSINFO", rt::AppFolder().string());
  a.StartSysInfo();
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], tool.string());

  // With the tool's own entry as well, that one is used.
  Store(kToolKey, "PATH", "/usr/bin/sysinfo-tool");
  a.StartSysInfo();
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[1], "/usr/bin/sysinfo-tool");

  // A tool that cannot be started.
  startSucceeds = false;
  scripted->AnswerMsgBox(user::kAnswerOK, kUnavailable);
  a.StartSysInfo();
}

TEST_F(AboutTest, GetKeyValueReadsTextsAndDwords) {
  Store("Software\\Test", "Text", "C:\\Tools\\info.exe");
  Store("Software\\Test", "Number", "dword:0000001a");
  Store("Software\\Test", "Bytes", "dword:00000201");
  Store("Software\\Test", "Long", std::string(1024, 'x'));
  std::string value;
  EXPECT_TRUE(ui::frmAbout::GetKeyValue(registry::HKEY_LOCAL_MACHINE, "Software\\Test", "Text", value));
  EXPECT_EQ(value, "C:\\Tools\\info.exe");
  value.clear();
  EXPECT_TRUE(ui::frmAbout::GetKeyValue(registry::HKEY_LOCAL_MACHINE, "Software\\Test", "Number", value));
  EXPECT_EQ(value, "&h1A");
  // The bytes from the last to the first, each without a leading zero,
  // after what the value held.
  value = "7";
  EXPECT_TRUE(ui::frmAbout::GetKeyValue(registry::HKEY_LOCAL_MACHINE, "Software\\Test", "Bytes", value));
  EXPECT_EQ(value, "&h721");

  value = "left over";
  EXPECT_FALSE(ui::frmAbout::GetKeyValue(registry::HKEY_LOCAL_MACHINE, "Software\\Test", "Missing", value));
  EXPECT_EQ(value, "");
  value = "left over";
  EXPECT_FALSE(ui::frmAbout::GetKeyValue(registry::HKEY_LOCAL_MACHINE, "Software\\None", "Text", value));
  EXPECT_EQ(value, "");
  // A text that does not fit the 1024-character buffer with its end mark.
  EXPECT_FALSE(ui::frmAbout::GetKeyValue(registry::HKEY_LOCAL_MACHINE, "Software\\Test", "Long", value));
}
