#include "support/shipped_simulation.h"

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "support/shipped_select.h"

namespace testsupport {

long BuildShippedSimulation(EngineTestBed& bed, const std::string& table, rt::Date periodStart, rt::Date periodEnd) {
  PrepareDownloadingSelect(bed, table, periodStart);
  clsResearch& engine = bed.Engine();
  RunParameters& parms = Parms();
  std::filesystem::copy_file(std::filesystem::path(KESTROVANE_DATA_DIR) / "SymbolList", bed.Folder().File("SymbolList"),
                             std::filesystem::copy_options::overwrite_existing);
  bed.User()
      .AnswerMsgBox(user::kAnswerYes, "Would you like to import symbols now?")
      .AnswerMsgBox(user::kAnswerOK, "Stock symbols have been imported.");
  std::vector<std::string> symbols{"all:"};
  // The first run imports the symbol list and ends; the second scans.
  engine.Process(periodStart, periodEnd, symbols, true, true, "", parms.intWinDays);
  // DOW's shipped history begins on 3/20/2019: a period before then names it once.
  if (periodEnd < Day(2019, 3, 20)) bed.User().AnswerMsgBox(user::kAnswerOK, "DOW - the quote service holds none");
  if (engine.Process(periodStart, periodEnd, symbols, true, true, "", parms.intWinDays) != "complete")
    throw std::runtime_error("the Select run over the shipped data did not complete");
  bed.Events().onWinner = nullptr;

  parms.strTypeOfPurchase = "Market";
  parms.intDecline = 3;
  parms.strSimEnd = rt::FormatShortDate(periodEnd);
  parms.blnUseInternet = false;
  engine.BuildResults();
  return std::stol(bed.Scalar("SELECT COUNT(*) FROM [" + table + "]"));
}

}  // namespace testsupport
