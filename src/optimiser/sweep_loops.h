#pragma once
// The nested loops of a sweep. Each loop has a start, an end and a step, as
// the sweep's set-up left them: a field's text or a number it computed. A
// loop converts them when it is entered, takes the start as its value and
// runs while the value is not past the end (at most the end for a step of 0
// or more, at least the end for a negative step), adding the step after each
// pass; inner loops are entered anew for every value of the loop around them.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace optimiser {

// Shown when a bound cannot serve a loop: not a number, or a step that
// would never bring the loop to its end.
inline constexpr const char* kIncorrectParameterMessage =
    "An incorrect parameter has been entered.\r\nEnsure criteria have been selected and all 'Min', 'Max', and "
    "'Step' values have been entered.";
// The error number of a step that never ends its loop.
inline constexpr int32_t kErrEndlessStep = 5;

class Bound {
 public:
  // A field's text; field names it in the error of a text that is not a number.
  static Bound Text(std::string text, std::string field = "");
  static Bound Number(double value);

  bool IsEmptyText() const { return !number_ && text_.empty(); }
  // The number; a text that is not one raises "Type mismatch" naming the field.
  double Value() const;
  // The text as typed, or the number's text.
  std::string Caption() const;

 private:
  std::optional<double> number_;
  std::string text_;
  std::string field_;
};

struct SweepLoop {
  Bound start = Bound::Number(1);
  Bound end = Bound::Number(1);
  Bound step = Bound::Number(1);

  // A loop whose start or end is an empty text runs once, at 1.
  void ApplyBlankRule();
};

// A loop's numbers once it is entered.
struct LoopNumbers {
  double start = 0, end = 0, step = 0;
  bool Runs(double value) const { return step >= 0 ? value <= end : value >= end; }
};

// Converts the loop's bounds, start first.
LoopNumbers Enter(const SweepLoop& loop);

// How many values a loop takes from `from` on. Raises "Overflow" past the
// largest 32-bit count and refuses a step that would never end the loop.
int64_t CountValues(const LoopNumbers& loop, double from);

// The number of innermost passes of the nest: the loops are entered in
// order, as the walk enters them, so a loop that takes no value ends the
// count at 0 without entering those inside it. "Overflow" past 32 bits.
int32_t CountNested(const std::vector<SweepLoop>& loops);

// Walks the nest, outermost first, calling body with the loops' values for
// each innermost pass; body answers false to leave every loop. With resume,
// the first entry of each loop starts at its resume value; a loop entered
// again later starts at its start. Answers false when body left the loops.
bool WalkNested(const std::vector<SweepLoop>& loops, const std::vector<double>* resume,
                const std::function<bool(const std::vector<double>&)>& body);

// The text a sweep writes into a field for a loop's value: plain decimal
// (rt::FormatPlain), and a sum of steps that lands within rounding noise of 0
// written as "0".
std::string FieldText(double value, double step);

}  // namespace optimiser
