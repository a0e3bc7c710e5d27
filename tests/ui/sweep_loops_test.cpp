// The nested loops of the sweeps: the values they take, what a resume
// skips, what the count says, and the steps they refuse.
#include "optimiser/sweep_loops.h"

#include <gtest/gtest.h>

#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"

namespace {

using optimiser::Bound;
using optimiser::SweepLoop;

SweepLoop Range(const char* start, const char* end, const char* step) {
  SweepLoop loop;
  loop.start = Bound::Text(start);
  loop.end = Bound::Text(end);
  loop.step = Bound::Text(step);
  return loop;
}

// Every innermost pass as "a,b,..." in the order the walk takes them.
std::vector<std::string> Walk(const std::vector<SweepLoop>& loops, const std::vector<double>* resume = nullptr) {
  std::vector<std::string> passes;
  optimiser::WalkNested(loops, resume, [&](const std::vector<double>& values) {
    std::string pass;
    for (double v : values) pass += (pass.empty() ? "" : ",") + rt::FormatNumber(v);
    passes.push_back(pass);
    return true;
  });
  return passes;
}

int32_t ErrorNumber(const std::function<void()>& work) {
  try {
    work();
  } catch (const rt::Error& e) {
    return e.Number();
  }
  return 0;
}

TEST(SweepLoopsTest, InnerLoopsChangeFastestAndStepsAddUp) {
  std::vector<SweepLoop> loops = {Range("1", "3", "1"), Range("10", "30", "10")};
  EXPECT_EQ(Walk(loops),
            (std::vector<std::string>{"1,10", "1,20", "1,30", "2,10", "2,20", "2,30", "3,10", "3,20", "3,30"}));
  EXPECT_EQ(optimiser::CountNested(loops), 9);
  // Fractions, a step that overshoots, and a negative step.
  EXPECT_EQ(Walk({Range("1", "2", "0.5")}), (std::vector<std::string>{"1", "1.5", "2"}));
  EXPECT_EQ(Walk({Range("0", "10", "3")}), (std::vector<std::string>{"0", "3", "6", "9"}));
  EXPECT_EQ(Walk({Range("7", "0", "-3")}), (std::vector<std::string>{"7", "4", "1"}));
  // The count walks the same floating-point sums: 0.1 ten times stops short of 1.
  EXPECT_EQ(optimiser::CountNested({Range("0", "1", "0.1")}),
            static_cast<int32_t>(Walk({Range("0", "1", "0.1")}).size()));
}

TEST(SweepLoopsTest, ALoopThatTakesNoValueEndsTheNestWithoutEnteringInnerLoops) {
  // The inner loop's texts are never read: its bad step does not matter.
  std::vector<SweepLoop> loops = {Range("5", "1", "1"), Range("1", "2", "x")};
  EXPECT_TRUE(Walk(loops).empty());
  EXPECT_EQ(optimiser::CountNested(loops), 0);
  EXPECT_EQ(ErrorNumber([&] {
              optimiser::CountNested({Range("1", "2", "1"), Range("1", "2", "x")});
            }),
            rt::kErrTypeMismatch);
}

TEST(SweepLoopsTest, AResumeStartsOnlyTheFirstEntryOfEachLoopAtItsStoredValue) {
  std::vector<SweepLoop> loops = {Range("1", "3", "1"), Range("1", "3", "1")};
  std::vector<double> stored = {2, 2};
  EXPECT_EQ(Walk(loops, &stored), (std::vector<std::string>{"2,2", "2,3", "3,1", "3,2", "3,3"}));
}

TEST(SweepLoopsTest, TheBodyCanLeaveEveryLoop) {
  int passes = 0;
  bool ranOut = optimiser::WalkNested({Range("1", "3", "1"), Range("1", "3", "1")}, nullptr,
                                      [&](const std::vector<double>&) { return ++passes < 4; });
  EXPECT_FALSE(ranOut);
  EXPECT_EQ(passes, 4);
}

TEST(SweepLoopsTest, AnEmptyStartOrEndRunsOnceAtOne) {
  SweepLoop loop = Range("", "10", "5");
  loop.ApplyBlankRule();
  EXPECT_EQ(loop.start.Caption(), "1");
  EXPECT_EQ(loop.end.Caption(), "1");
  EXPECT_EQ(loop.step.Caption(), "5");
  EXPECT_EQ(Walk({loop}), std::vector<std::string>{"1"});
}

TEST(SweepLoopsTest, StepsThatNeverEndTheLoopAreRefused) {
  // A zero step, or one too small to move the value, would run for ever.
  EXPECT_EQ(ErrorNumber([] { optimiser::CountNested({Range("1", "5", "0")}); }), optimiser::kErrEndlessStep);
  EXPECT_EQ(ErrorNumber([] { Walk({Range("1", "5", "0")}); }), optimiser::kErrEndlessStep);
  EXPECT_EQ(ErrorNumber([] { Walk({Range("1E+17", "2E+17", "1")}); }), optimiser::kErrEndlessStep);
  // A zero step whose loop takes no value is harmless.
  EXPECT_EQ(optimiser::CountNested({Range("5", "1", "0")}), 0);
  // Counts past 32 bits overflow, in one loop or in the product.
  EXPECT_EQ(ErrorNumber([] { optimiser::CountNested({Range("0", "1", "1E-12")}); }), rt::kErrOverflow);
  EXPECT_EQ(ErrorNumber([] {
              optimiser::CountNested({Range("1", "100000", "1"), Range("1", "100000", "1")});
            }),
            rt::kErrOverflow);
  // A text that is not a number names its field.
  SweepLoop named;
  named.start = Bound::Text("abc", "txtStep(3)");
  try {
    optimiser::CountNested({named});
    FAIL();
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), rt::kErrTypeMismatch);
    EXPECT_NE(e.Description().find("txtStep(3) holds \"abc\""), std::string::npos);
  }
}

}  // namespace

TEST(SweepLoopsTest, FieldTextsArePlainDecimalsWithoutRoundingNoise) {
  // -0.3 + 0.1 three times lands near, not on, 0.
  EXPECT_EQ(optimiser::FieldText(-0.3 + 0.1 + 0.1 + 0.1, 0.1), "0");
  EXPECT_EQ(optimiser::FieldText(0.1 + 0.2, 0.1), "0.3");
  EXPECT_EQ(optimiser::FieldText(0.00001, 0.00001), "0.00001");
  EXPECT_EQ(optimiser::FieldText(-0.000025, 0.00001), "-0.000025");
  EXPECT_EQ(optimiser::FieldText(1e15, 1), "1000000000000000");
  EXPECT_EQ(optimiser::FieldText(2.5, 1), "2.5");
  EXPECT_EQ(optimiser::FieldText(0, 0), "0");
}
