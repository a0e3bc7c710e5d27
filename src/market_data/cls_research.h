#pragma once
// clsResearch: the engine. One class holds every database, download,
// indicator and simulation operation and reports through ResearchEvents.
// Its members are implemented in one file per concern (engine_frame.cpp,
// schema.cpp, symbol_import.cpp, quote_download.cpp, ... in market_data/ and
// simulation/).
//
// Every instance shares the one database connection (cnDatabase, see
// database_connection.h); the last live instance closes it.
#include <cstdint>
#include <memory>
#include <string>

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

  // ---- database utilities ------------------------------------------------
  std::string QueryDB(const std::string& sql);
  bool TestDatabase();

  // ---- schema --------------------------------------------------------------
  void CreateTable(const std::string& symbol);
  void CreateTable_Master();

  // ---- run flags -----------------------------------------------------------
  bool StopProcess() const { return blnStopProcess_; }
  void StopProcess(bool value) { blnStopProcess_ = value; }
  bool PauseProcess() const { return blnPauseProcess_; }
  // Pause also stops; clearing pause clears stop too.
  void PauseProcess(bool value) { blnPauseProcess_ = blnStopProcess_ = value; }

 private:
  // Raises an event on the listener when there is one.
  template <typename Method, typename... Args>
  void Raise(Method method, Args&... args) {
    if (listener_) (listener_->*method)(args...);
  }

  ResearchEvents* listener_ = nullptr;
  std::unique_ptr<db::Recordset> rsResearch_;
  bool blnStopProcess_ = false;
  bool blnPauseProcess_ = false;
};
