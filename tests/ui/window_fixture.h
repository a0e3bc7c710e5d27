#pragma once
// A main window on a private application folder, with the user played by a
// script. The window's load answers the two missing-settings messages of a
// first start unless the test wrote the files.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "market_data/run_parameters.h"
#include "platform/user/scripted_user_services.h"
#include "support/temp_app_folder.h"
#include "ui/main_window.h"
#include "ui/results_window.h"
#include "ui/settings_files.h"

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A window as the program has it after its load sequence.
  ui::frmMain& LoadedWindow();
  // A window as designed, before its load sequence.
  ui::frmMain& NewWindow();

  std::string ReadText(const std::filesystem::path& path) const;

  testsupport::TempAppFolder home;
  user::ScopedScriptedUser scripted;
  std::unique_ptr<ui::frmMain> window;
  int tutorialShown = 0;
};
