#include <gtest/gtest.h>

#include "market_data/symbol_file.h"
#include "platform/runtime/error.h"
#include "support/engine_test_bed.h"

namespace {

using testsupport::EngineTestBed;

TEST(SymbolFile, SymbolIsTrimmedAndTheMarketIsTheTwoCharactersAfterTheComma) {
  auto entry = [](const std::string& line) { return ParseSymbolLine(line, "f", 1).value(); };
  EXPECT_EQ(entry("IBM,ny").symbol, "IBM");
  EXPECT_EQ(entry("IBM,ny").market, "ny");
  EXPECT_EQ(entry("IBM,nyse").market, "ny");
  EXPECT_EQ(entry("IBM, ny").market, "n");  // the blank counts as one of the two
  EXPECT_EQ(entry("  ibm  ,am").symbol, "ibm");
  EXPECT_EQ(entry("IBM,").market, "");
}

TEST(SymbolFile, SkipsIndexAndClassSymbolsAndRefusesLinesWithoutAComma) {
  for (const char* line : {"BRK.A,ny", "^DJI,ny", "X$,am", "A/B,ns", "W~,am", "NOCOMMA.B"})
    EXPECT_FALSE(ParseSymbolLine(line, "f", 1).has_value()) << line;
  EXPECT_THROW(ParseSymbolLine("", "f", 2), rt::Error);
  try {
    ParseSymbolLine("IBM ny", "list.smb", 7);
    FAIL();
  } catch (const rt::Error& e) {
    EXPECT_NE(e.Description().find("Line 7 of list.smb"), std::string::npos);
  }
}

TEST(SymbolFile, LinesSplitOnCrLfAndLfWithoutATrailingEmptyLine) {
  EXPECT_EQ(SplitFileLines("A,ny\r\nB,ns\r\n"), (std::vector<std::string>{"A,ny", "B,ns"}));
  EXPECT_EQ(SplitFileLines("A,ny\n\nB,ns"), (std::vector<std::string>{"A,ny", "", "B,ns"}));
}

class SymbolImportTest : public ::testing::Test {
 protected:
  std::string WriteList(const std::string& text) {
    auto path = bed_.Folder().File("list.txt");
    testsupport::WriteFileBytes(path, text);
    return path.string();
  }
  EngineTestBed bed_;
};

TEST_F(SymbolImportTest, CreatesTheMasterTablesWhenMissingAndImportsNewSymbolsOnce) {
  std::string list = WriteList("IBM,ny\r\nBRK.A,ny\r\nMSFT,ns\r\n^DJI,ny\r\n");
  EXPECT_TRUE(bed_.Engine().ImportNewStocks(list));
  EXPECT_EQ(bed_.Scalar("SELECT COUNT(*) FROM Stock_Master"), "2");
  EXPECT_EQ(bed_.Scalar("SELECT Market FROM Stock_Master WHERE Symbol = 'msft'"), "ns");
  EXPECT_EQ(bed_.Scalar("SELECT COUNT(*) FROM SimStatus"), "0");  // created with the master table
  ASSERT_EQ(bed_.Events().stockCounts.size(), 2u);
  EXPECT_EQ(bed_.Events().stockCounts[1].symbol, "MSFT");
  EXPECT_EQ(bed_.Events().stockCounts[1].total, 1);  // the last list position
  EXPECT_EQ(bed_.Events().stockCounts[1].index, 1);
  EXPECT_FALSE(bed_.Events().stockCounts[1].flag);
  EXPECT_TRUE(bed_.Events().stockCounts[1].countOnly);

  bed_.Engine().ImportNewStocks(list);  // again: counted, not inserted
  EXPECT_EQ(bed_.Scalar("SELECT COUNT(*) FROM Stock_Master"), "2");
  EXPECT_EQ(bed_.Events().stockCounts.size(), 4u);
  EXPECT_TRUE(bed_.User().Prompts().empty());
  EXPECT_EQ(bed_.User().Pointer(), user::kPointerDefault);
}

TEST_F(SymbolImportTest, ApostrophesAreStoredSafely) {
  bed_.Engine().ImportNewStocks(WriteList("O'NEIL,ny\r\n"));
  EXPECT_EQ(bed_.Scalar("SELECT Symbol FROM Stock_Master"), "O'NEIL");
}

TEST_F(SymbolImportTest, ALineWithoutACommaEndsTheImportWithAMessage) {
  bed_.Engine().CreateTable_Master();
  bed_.User().AnswerMsgBox(user::kAnswerOK, "Line 2");
  EXPECT_FALSE(bed_.Engine().ImportNewStocks(WriteList("IBM,ny\r\n\r\nMSFT,ns\r\n")));
  EXPECT_EQ(bed_.User().PendingAnswers(), 0u);
  EXPECT_EQ(bed_.Scalar("SELECT COUNT(*) FROM Stock_Master"), "0");
  EXPECT_EQ(bed_.User().Pointer(), user::kPointerDefault);
}

TEST_F(SymbolImportTest, AMissingFileIsReported) {
  bed_.User().AnswerMsgBox(user::kAnswerOK, "nothere.txt");
  EXPECT_FALSE(bed_.Engine().ImportNewStocks(bed_.Folder().File("nothere.txt").string()));
  EXPECT_EQ(bed_.User().PendingAnswers(), 0u);
}

TEST_F(SymbolImportTest, SymbolsThatCannotNameATableAreLeftOutAndNamedOnce) {
  bed_.User().AnswerMsgBox(user::kAnswerOK, "4 lines of list.txt were not imported");
  EXPECT_TRUE(
      bed_.Engine().ImportNewStocks(WriteList("IBM,ny\r\nAB]C,ny\r\n[AB,ns\r\nX\x01Y,am\r\n,ny\r\nMSFT,ns\r\n")));
  EXPECT_EQ(bed_.User().PendingAnswers(), 0u);
  ASSERT_EQ(bed_.User().Prompts().size(), 1u);
  const std::string& message = bed_.User().Prompts()[0].text;
  for (const char* named : {"Line 2 (\"AB]C\"): it contains \"[\" or \"]\".", "Line 3 (\"[AB\")",
                            "Line 4 (\"X?Y\"): it contains a control character.", "Line 5 (\"\"): it is empty."})
    EXPECT_NE(message.find(named), std::string::npos) << named << " in " << message;
  EXPECT_EQ(bed_.Scalar("SELECT COUNT(*) FROM Stock_Master"), "2");
  EXPECT_EQ(bed_.Events().stockCounts.size(), 2u);
}

TEST_F(SymbolImportTest, AStopRequestEndsTheImportAfterTheCurrentSymbol) {
  bed_.User().OnDoEvents([&](int) {
    if (bed_.Events().stockCounts.size() == 1) bed_.Engine().StopProcess(true);
  });
  EXPECT_FALSE(bed_.Engine().ImportNewStocks(WriteList("A,ny\r\nB,ny\r\nC,ny\r\n")));
  EXPECT_EQ(bed_.Scalar("SELECT COUNT(*) FROM Stock_Master"), "1");
}

TEST_F(SymbolImportTest, AFileWithNoAcceptedLineImportsNothingAndRaisesNoEvent) {
  EXPECT_TRUE(bed_.Engine().ImportNewStocks(WriteList("^DJI,ny\r\n^IXIC,ns\r\n")));
  EXPECT_TRUE(bed_.Events().stockCounts.empty());
}

TEST_F(SymbolImportTest, TheShippedSymbolListImports) {
  bed_.Engine().ImportNewStocks(std::string(KESTROVANE_DATA_DIR) + "/SymbolList");
  EXPECT_EQ(bed_.Scalar("SELECT COUNT(*) FROM Stock_Master"), "20");
  EXPECT_EQ(bed_.Scalar("SELECT Market FROM Stock_Master WHERE Symbol = 'IBM'"), "ny");
  EXPECT_TRUE(bed_.User().Prompts().empty());
}

}  // namespace
