// A first start finds the window's settings as designed in the application
// folder, so it loads without reporting missing files; the seeded files must
// stay what Save Current Settings as Startup writes for a fresh window.
#include <sstream>

#include "ui/resources.h"
#include "window_fixture.h"

namespace {

// The lines of a settings file without the period pickers, which the load
// sets from today's date whatever the file holds.
std::string WithoutPeriod(const std::string& text) {
  std::istringstream in(text);
  std::string line, kept;
  while (std::getline(in, line))
    if (line.rfind("dteSimDate(", 0) != 0) kept += line + "\n";
  return kept;
}

}  // namespace

TEST_F(WindowTest, AFirstStartLoadsTheSeededSettingsWithoutAMessage) {
  ASSERT_TRUE(ui::PrepareAppFolder());
  ASSERT_TRUE(std::filesystem::exists(ui::StartupFilePath()));
  ASSERT_TRUE(std::filesystem::exists(ui::PropertiesFilePath()));
  const std::string seededStartup = ReadText(ui::StartupFilePath());
  const std::string seededProperties = ReadText(ui::PropertiesFilePath());

  ui::frmMain& w = LoadedWindow();  // scripts no message: the files exist
  EXPECT_TRUE(scripted->Prompts().empty());
  w.SaveSimulation("STARTUP", false);
  w.SaveProperties();
  EXPECT_EQ(WithoutPeriod(ReadText(ui::StartupFilePath())), WithoutPeriod(seededStartup));
  EXPECT_EQ(ReadText(ui::PropertiesFilePath()), seededProperties);
}

TEST_F(WindowTest, SeedingNeverReplacesTheUsersSettings) {
  testsupport::WriteFileBytes(ui::StartupFilePath(), "mine");
  ASSERT_TRUE(ui::PrepareAppFolder());
  EXPECT_EQ(ReadText(ui::StartupFilePath()), "mine");
}
