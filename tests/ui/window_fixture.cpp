#include "window_fixture.h"

#include "platform/runtime/app_folder.h"

void WindowTest::SetUp() {
  Parms() = RunParameters();
  rt::EnsureAppFolders();
}

void WindowTest::TearDown() {
  for (const std::string& prompt : scripted->UnscriptedPrompts()) ADD_FAILURE() << prompt;
  EXPECT_EQ(scripted->PendingAnswers(), 0u) << "scripted answers left over";
  window.reset();
  if (ui::ResultsWindowExists()) delete &ui::ResultsWindow();
}

ui::frmMain& WindowTest::NewWindow() {
  window = std::make_unique<ui::frmMain>();
  window->showTutorialModally = [this](ui::frmTutorial&) {
    ++tutorialShown;
    return 1;
  };
  return *window;
}

ui::frmMain& WindowTest::LoadedWindow() {
  NewWindow();
  if (!std::filesystem::exists(ui::StartupFilePath()))
    scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotSimulationFileMessage);
  if (!std::filesystem::exists(ui::PropertiesFilePath()))
    scripted->AnswerMsgBox(user::kAnswerOK, ui::kNotPropertiesFileMessage);
  window->Form_Load();
  return *window;
}

std::string WindowTest::ReadText(const std::filesystem::path& path) const { return testsupport::ReadFileBytes(path); }
