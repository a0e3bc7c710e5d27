#pragma once
// The README's "A first run", step by step from a fresh application folder
// with the stand-in quote service running, and the runs a user makes next.
#include <memory>
#include <string>

#include "support/quote_service_process.h"
#include "window_fixture.h"

class FirstRunTest : public WindowTest {
 protected:
  void SetUp() override;

  // Starts the program (Yes to the Internet question) and runs the README's
  // first run: 1/2/2019 to 6/28/2019 with Auto-Calculate, the import it
  // offers, and ">" again over the same file.
  ui::frmMain& ReadmesFirstRun();
  // Sets a Select run over 1/2/2019 to 11/16/2020 with Auto-Calculate on the
  // listed symbols, into a new simulation file of that title ("" for a
  // resumed run, which asks for none), for ">" to start.
  void SetSecondRun(ui::frmMain& w, const std::string& symbols, const std::string& title);
  std::string Scalar(const std::string& sql) { return window->objResearch->QueryDB(sql); }

  std::unique_ptr<testsupport::QuoteServiceProcess> service;
};
