// A desktop whose locale writes a decimal comma: the window reads the same
// numbers and a run gives the same results as under the C locale.
#include <QLocale>
#include <clocale>
#include <string>

#include "platform/runtime/conversions.h"
#include "platform/runtime/number_text.h"
#include "run_fixture.h"

namespace {

// The process under the German locale for one scope, as QApplication sets it
// up on such a desktop (the C library's locale and Qt's default).
class GermanDesktop {
 public:
  GermanDesktop() : previousQt_(QLocale()), previousC_(std::setlocale(LC_ALL, nullptr)) {
    active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  }
  ~GermanDesktop() {
    std::setlocale(LC_ALL, previousC_.c_str());
    QLocale::setDefault(previousQt_);
  }
  bool WritesDecimalComma() const { return active_ && std::string(std::localeconv()->decimal_point) == ","; }

 private:
  QLocale previousQt_;
  std::string previousC_;
  bool active_ = false;
};

}  // namespace

TEST_F(RunWindowTest, ADecimalCommaDesktopReadsAndComputesTheSameNumbers) {
  struct Outcome {
    std::string candidates, trades, endInvestment;
    bool operator==(const Outcome&) const = default;
  };
  // The seeded settings hold decimals (".5", ".1"); prices are decimal texts.
  auto runIbm = [this](const std::string& title) {
    ui::frmMain& w = ReadyWindow("IBM");
    ChooseSimulationFile(title);
    w.cmdSimulate_Click();
    EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete");
    return Outcome{Scalar("SELECT COUNT(*) FROM [sim_" + title + "]"), w.Label("lblResult", 22)->text().toStdString(),
                   w.Label("lblResult", 15)->text().toStdString()};
  };
  const Outcome underC = runIbm("point");

  GermanDesktop desktop;
  ASSERT_TRUE(desktop.WritesDecimalComma()) << "no de_DE.UTF-8 locale: scripts/install-deps.sh generates it";
  struct {
    const char* text;
    double value;
  } numbers[] = {{".5", 0.5}, {"12.5", 12.5}, {"-1.25e2", -125}, {"1,234.5", 1234.5}, {"$3.75", 3.75}};
  for (const auto& n : numbers) {
    EXPECT_EQ(rt::CDbl(n.text), n.value) << n.text;
    EXPECT_EQ(rt::CSng(n.text), static_cast<float>(n.value)) << n.text;
  }
  EXPECT_EQ(rt::Val(" 12.5 apples"), 12.5);
  EXPECT_EQ(rt::FormatNumber(12.5), "12.5");

  const Outcome underGerman = runIbm("comma");
  EXPECT_EQ(Parms().sngVolPercMax, 0.5f);  // the copy of the window's ".5"
  EXPECT_EQ(Parms().dblMaxVolPct, 0.5);
  EXPECT_EQ(Parms().dblSwingMACDPct, 0.1);
  EXPECT_EQ(underGerman.candidates, underC.candidates);
  EXPECT_EQ(underGerman.trades, underC.trades);
  EXPECT_EQ(underGerman.endInvestment, underC.endInvestment);
  EXPECT_NE(underC.endInvestment, "0");
}
