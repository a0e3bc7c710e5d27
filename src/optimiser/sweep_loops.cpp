#include "optimiser/sweep_loops.h"

#include <cmath>

#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"

namespace optimiser {
namespace {

constexpr int64_t kLargestCount = INT32_MAX;

// A step of 0, or one too small to change the value, would keep the loop on
// one value for ever.
[[noreturn]] void RefuseEndlessStep() { throw rt::Error(kErrEndlessStep, kIncorrectParameterMessage); }

double Next(const LoopNumbers& loop, double value) {
  double next = value + loop.step;
  if (next == value) RefuseEndlessStep();
  return next;
}

}  // namespace

Bound Bound::Text(std::string text, std::string field) {
  Bound bound;
  bound.text_ = std::move(text);
  bound.field_ = std::move(field);
  return bound;
}

Bound Bound::Number(double value) {
  Bound bound;
  bound.number_ = value;
  return bound;
}

double Bound::Value() const {
  if (number_) return *number_;
  try {
    return rt::CDbl(text_);
  } catch (const rt::Error& e) {
    if (field_.empty()) throw;
    throw rt::Error(e.Number(), e.Description() + ": " + field_ + " holds \"" + text_ + "\", which is not a number.");
  }
}

std::string Bound::Caption() const { return number_ ? rt::FormatNumber(*number_) : text_; }

void SweepLoop::ApplyBlankRule() {
  if (start.IsEmptyText() || end.IsEmptyText()) start = end = Bound::Number(1);
}

LoopNumbers Enter(const SweepLoop& loop) {
  LoopNumbers numbers;
  numbers.start = loop.start.Value();
  numbers.end = loop.end.Value();
  numbers.step = loop.step.Value();
  return numbers;
}

int64_t CountValues(const LoopNumbers& loop, double from) {
  if (!loop.Runs(from)) return 0;
  if (loop.step == 0) RefuseEndlessStep();
  // Far too many values are refused before walking them one by one.
  if ((loop.end - from) / loop.step > static_cast<double>(kLargestCount)) rt::RaiseOverflow();
  int64_t count = 0;
  for (double value = from; loop.Runs(value); value = Next(loop, value))
    if (++count > kLargestCount) rt::RaiseOverflow();
  return count;
}

int32_t CountNested(const std::vector<SweepLoop>& loops) {
  int64_t total = 1;
  for (const SweepLoop& loop : loops) {
    LoopNumbers numbers = Enter(loop);
    int64_t values = CountValues(numbers, numbers.start);
    if (values == 0) return 0;
    total *= values;
    if (total > kLargestCount) rt::RaiseOverflow();
  }
  return static_cast<int32_t>(total);
}

namespace {

bool WalkFrom(const std::vector<SweepLoop>& loops, size_t level, const std::vector<double>* resume,
              std::vector<double>& values, const std::function<bool(const std::vector<double>&)>& body) {
  if (level == loops.size()) return body(values);
  LoopNumbers numbers = Enter(loops[level]);
  double value = resume ? (*resume)[level] : numbers.start;
  if (numbers.Runs(value) && numbers.step == 0) RefuseEndlessStep();
  for (; numbers.Runs(value); value = Next(numbers, value)) {
    values[level] = value;
    if (!WalkFrom(loops, level + 1, resume, values, body)) return false;
    resume = nullptr;  // the next entry of the inner loops starts at their starts
  }
  return true;
}

}  // namespace

bool WalkNested(const std::vector<SweepLoop>& loops, const std::vector<double>* resume,
                const std::function<bool(const std::vector<double>&)>& body) {
  if (resume && resume->size() < loops.size()) rt::RaiseSubscript();
  std::vector<double> values(loops.size(), 0);
  return WalkFrom(loops, 0, resume, values, body);
}

std::string FieldText(double value, double step) {
  if (std::fabs(value) < std::fabs(step) * 1e-9) value = 0;
  return rt::FormatPlain(value);
}

}  // namespace optimiser
