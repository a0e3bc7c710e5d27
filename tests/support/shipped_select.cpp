#include "support/shipped_select.h"

#include <filesystem>
#include <vector>

#include "simulation/simulation_table.h"

namespace testsupport {

void PrepareDownloadingSelect(EngineTestBed& bed, const std::string& table, rt::Date periodStart) {
  clsResearch& engine = bed.Engine();
  RunParameters& parms = Parms();
  parms.blnUseInternet = true;
  parms.blnUpdateData = true;
  parms.datEarliestDate = rt::DateSerial(periodStart.Year() - 1, 1, 1);  // room for the indicators' look-back
  parms.blnNoWinCriteria = true;
  parms.strSimTable = table;
  engine.CreateSimulationTable(table);
  bed.Events().onWinner = [&engine](clsStock& stock, bool store) {
    if (store) engine.LogWinner(simulation::WinnerInsertStatement(stock, Parms().strSimTable, 1));
  };
}

std::string SelectShippedSymbols(EngineTestBed& bed, const std::string& table, rt::Date periodStart,
                                 rt::Date periodEnd) {
  PrepareDownloadingSelect(bed, table, periodStart);
  std::filesystem::copy_file(std::filesystem::path(KESTROVANE_DATA_DIR) / "SymbolList",
                             bed.Folder().File("SymbolList"));
  bed.User()
      .AnswerMsgBox(user::kAnswerYes, "Would you like to import symbols now?")
      .AnswerMsgBox(user::kAnswerOK, "Stock symbols have been imported.");
  auto run = [&] {
    std::vector<std::string> symbols{"all:"};
    return bed.Engine().Process(periodStart, periodEnd, symbols, true, true, "", Parms().intWinDays);
  };
  run();  // stops after importing the symbols
  return run();
}

}  // namespace testsupport
