#pragma once
// A loaded main window with the shipped symbols imported and the stand-in
// quote service running, set for a short Select over a few symbols.
#include <filesystem>
#include <memory>
#include <string>

#include "support/quote_service_process.h"
#include "window_fixture.h"

class RunWindowTest : public WindowTest {
 protected:
  void SetUp() override;

  // Online, the period and symbols of a small run; no criterion (every day
  // is a LONG and a SHORT candidate), Market orders, Auto-Calculate as given.
  ui::frmMain& ReadyWindow(const std::string& symbols = "AAPL ; IBM", bool autoCalculate = true);
  // The save dialog of a new Select run answers with this simulation file.
  std::filesystem::path ChooseSimulationFile(const std::string& title);
  std::string Scalar(const std::string& sql);

  std::unique_ptr<testsupport::QuoteServiceProcess> service;
};
