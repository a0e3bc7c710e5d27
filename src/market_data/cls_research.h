#pragma once
// clsResearch: the engine. One class holds every database, download,
// indicator and simulation operation and reports through ResearchEvents.
// Its members are implemented in one file per concern, named in the section
// headings below (market_data/ for the data side, simulation/ for the stages).
//
// Every instance shares the one database connection (cnDatabase); the last
// live instance closes it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "market_data/cls_stock.h"
#include "market_data/research_events.h"
#include "platform/runtime/date.h"

namespace db {
class Recordset;
}

class clsResearch {
 public:
  // Opens the shared connection on the configured database, creating the
  // file when it is missing. A failure is logged and surfaces at the next
  // database call.
  clsResearch();
  ~clsResearch();
  clsResearch(const clsResearch&) = delete;
  clsResearch& operator=(const clsResearch&) = delete;

  // Where the events go; nullptr for none. The listener must outlive the calls.
  void SetListener(ResearchEvents* listener) { listener_ = listener; }

  // ===== database utilities (engine_frame.cpp) =====
 public:
  std::string QueryDB(const std::string& sql);
  bool TestDatabase();
  // ===== end database utilities =====

  // ===== schema (schema.cpp) =====
 public:
  void CreateTable(const std::string& symbol);
  void CreateTable_Master();
  // ===== end schema =====

  // ===== symbol import (symbol_import.cpp) =====
 public:
  // ===== end symbol import =====

  // ===== quote download (quote_download.cpp) =====
 public:
  // ===== end quote download =====

  // ===== quote storage (quote_storage.cpp) =====
 public:
  // ===== end quote storage =====

  // ===== history loading (history_loading.cpp) =====
 public:
  // ===== end history loading =====

  // ===== indicator columns and ADX (indicators.cpp, adx.cpp) =====
 public:
  // ===== end indicator columns =====

  // ===== market index indicators (market_indicators.cpp) =====
 public:
  // ===== end market index indicators =====

  // ===== run flags and Select driver (select_driver.cpp) =====
 public:
  bool StopProcess() const { return blnStopProcess_; }
  void StopProcess(bool value) { blnStopProcess_ = value; }
  bool PauseProcess() const { return blnPauseProcess_; }
  // Pause also stops; clearing pause clears stop too.
  void PauseProcess(bool value) { blnPauseProcess_ = blnStopProcess_ = value; }

 private:
  bool blnStopProcess_ = false;
  bool blnPauseProcess_ = false;
  // ===== end run flags and Select driver =====

  // ===== selection criteria (selection_criteria.cpp) =====
 public:
  // ===== end selection criteria =====

  // ===== winner scan (winner_scan.cpp) =====
 public:
  // ===== end winner scan =====

  // ===== simulation table (simulation_table.cpp) =====
 public:
  // ===== end simulation table =====

  // ===== order entry and initial stop (order_entry.cpp) =====
 public:
  // ===== end order entry =====

  // ===== exit rules and sell buffer (exit_rules.cpp) =====
 public:
  // ===== end exit rules =====

  // ===== trade driver and results (trade_driver.cpp) =====
 public:
  // ===== end trade driver =====

  // ===== engine report files (engine_reports.cpp) =====
 public:
  // ===== end engine report files =====

  // ===== portfolio replay (portfolio_replay.cpp) =====
 public:
  // ===== end portfolio replay =====

  // ===== candidate query and market rules (candidate_query.cpp) =====
 public:
  // ===== end candidate query =====

  // ===== account valuation (account_valuation.cpp) =====
 public:
  // ===== end account valuation =====

  // ===== sweep pause state (sweep_pause_state.cpp) =====
 public:
  // ===== end sweep pause state =====

 private:
  // Raises an event on the listener when there is one.
  template <typename Method, typename... Args>
  void Raise(Method method, Args&... args) {
    if (listener_) (listener_->*method)(args...);
  }

  ResearchEvents* listener_ = nullptr;
  std::unique_ptr<db::Recordset> rsResearch_;
};
