#pragma once
// What most engine tests need: a private application folder with its own
// database, the run parameters as the windows first show them, the scripted
// user, an engine, and a listener that records every event.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "market_data/cls_research.h"
#include "market_data/research_events.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/date.h"
#include "platform/user/scripted_user_services.h"
#include "support/temp_app_folder.h"

namespace testsupport {

// Records the events tests look at; every other event is still counted.
class RecordingEvents : public ResearchEvents {
 public:
  struct StockCountCall {
    std::string symbol;
    int32_t total, index;
    bool flag, countOnly;
  };
  struct InternetingCall {
    bool busy;
    std::string symbol;
  };
  struct SwingCall {
    std::string stage;
    rt::Date day;
    std::string symbol;
  };

  std::vector<clsStock> winners;
  std::vector<bool> winnerStored;
  std::vector<StockCountCall> stockCounts;
  std::vector<std::string> statuses;  // StockCount with a total of 0: a run's step, not a symbol's count
  std::vector<InternetingCall> interneting;
  std::vector<int16_t> totalStocks;
  std::vector<SwingCall> swings;
  int events = 0;
  // Run inside the event, after it is recorded: a test's Stop or Pause click,
  // or the window's handler that stores a winner.
  std::function<void(const StockCountCall&)> onStockCount;
  std::function<void(const std::string&)> onStatus;
  std::function<void(clsStock&, bool)> onWinner;

  void Winner(clsStock& stock, bool& store) override {
    ++events;
    winners.push_back(stock);
    winnerStored.push_back(store);
    if (onWinner) onWinner(stock, store);
  }
  void StockCount(std::string& symbol, int32_t& total, int32_t& index, bool& flag, bool& countOnly) override {
    ++events;
    if (total == 0) {
      statuses.push_back(symbol);
      if (onStatus) onStatus(symbol);
      return;
    }
    stockCounts.push_back({symbol, total, index, flag, countOnly});
    if (onStockCount) onStockCount(stockCounts.back());
  }
  void Interneting(bool& busy, std::string& symbol) override {
    ++events;
    interneting.push_back({busy, symbol});
  }
  void TotalStocks(int16_t& count) override {
    ++events;
    totalStocks.push_back(count);
  }
  void Swing(std::string& stage, rt::Date& day, std::string& symbol) override {
    ++events;
    swings.push_back({stage, day, symbol});
  }
};

class EngineTestBed {
 public:
  // Parameters from the design defaults, the database in the private folder.
  EngineTestBed();
  ~EngineTestBed();

  clsResearch& Engine() { return *engine_; }
  user::ScriptedUserServices& User() { return *user_; }
  RecordingEvents& Events() { return events_; }
  const TempAppFolder& Folder() const { return folder_; }

  // Runs a statement on the shared connection.
  void Execute(const std::string& sql);
  // A one-value query on the shared connection, as text ("" for Null).
  std::string Scalar(const std::string& sql);

 private:
  TempAppFolder folder_;
  user::ScopedScriptedUser user_;
  RecordingEvents events_;
  std::unique_ptr<clsResearch> engine_;
};

// A date from its parts, for readable tests.
rt::Date Day(int year, int month, int day);

}  // namespace testsupport
