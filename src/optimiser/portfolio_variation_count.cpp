// How many variations the portfolio sweep will run, both passes, and the
// user's go-ahead: a paused sweep goes on without a question, more than
// 65,000 variations are refused.
#include <cstdint>

#include "optimiser/portfolio_loops.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"

namespace ui {
namespace {

constexpr int32_t kMostVariations = 65000;

// Digits in groups of three: 65,001.
std::string Grouped(int32_t count) {
  std::string digits = std::to_string(count);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, ",");
  return digits;
}

}  // namespace

int frmMain::CountPortfolioVariations(int32_t& count) {
  user::User().SetPointer(user::kPointerHourglass);
  try {
    const optimiser::PortfolioLoops setUp = optimiser::SetUpPortfolioLoops(*this);
    for (const std::vector<optimiser::SweepLoop>& loops : setUp.passes) {
      int64_t sum = int64_t{count} + optimiser::CountNested(loops);
      if (sum > INT32_MAX) rt::RaiseOverflow();
      count = static_cast<int32_t>(sum);
    }
    user::User().SetPointer(user::kPointerDefault);

    if (PortfolioSweepPaused() && !sweepStartsAfresh_) return user::kAnswerYes;
    if (count > kMostVariations) {
      user::MsgBox("This report will yield " + Grouped(count) + " variations. The limit is 65,000.", user::kOKOnly);
      return user::kAnswerNo;
    }
    return AskToSweep(count);
  } catch (const std::exception& error) {
    user::User().SetPointer(user::kPointerDefault);
    const auto* runtimeError = dynamic_cast<const rt::Error*>(&error);
    // A text where a number is needed; a step that never ends its loop says the same.
    bool badParameter = runtimeError && runtimeError->Number() == rt::kErrTypeMismatch;
    user::MsgBox(badParameter ? optimiser::kIncorrectParameterMessage : ErrorText(error), user::kOKOnly);
    return 0;
  }
}

}  // namespace ui
