// File > Open and Save Symbols List and Tools > Import Stock Symbols.
#include "platform/runtime/app_folder.h"
#include "support/write_faults.h"
#include "ui/symbol_list_file.h"
#include "window_fixture.h"

namespace {

std::filesystem::path SymbolFile(const std::string& name) { return rt::AppFolder() / "Symbols" / name; }

std::string Selection(ui::frmMain& w) { return w.Text("txtSelection")->text().toStdString(); }

}  // namespace

TEST(SymbolListFieldsTest, LineEndsAndCommasEndFieldsAndQuotesAreRemoved) {
  using Fields = std::vector<std::string>;
  EXPECT_EQ(ui::SymbolListFields("ibm\r\n\r\nmsft\r\n"), (Fields{"ibm", "", "msft"}));
  EXPECT_EQ(ui::SymbolListFields("IBM,MSFT"), (Fields{"IBM", "MSFT"}));
  EXPECT_EQ(ui::SymbolListFields("  \"A,B\" , c \nd\re"), (Fields{"A,B", "c", "d", "e"}));
  EXPECT_EQ(ui::SymbolListFields("\"open"), (Fields{"open"}));  // an unclosed quote ends with the text
  EXPECT_TRUE(ui::SymbolListFields("").empty());
}

TEST_F(WindowTest, OpeningAListFillsTheListedSymbolsInUpperCase) {
  ui::frmMain& w = LoadedWindow();
  testsupport::WriteFileBytes(SymbolFile("tech.smb"), "ibm\r\n\r\nmsft\r\n");
  scripted->AnswerOpenFile(SymbolFile("tech.smb").string(), "Open Symbols List");
  w.Text("txtSelection")->setText("old");
  w.Menu("mnuOpenSymbols")->trigger();

  EXPECT_EQ(Selection(w), "IBM ; MSFT ; ");
  EXPECT_TRUE(w.Option("optStockSelection", 2)->Value());
  EXPECT_EQ(w.Label("lblSymbolList")->text(), "tech");
  EXPECT_FALSE(w.Label("lblSymbolList")->isHidden());
  const user::RecordedPrompt& dialog = scripted->Prompts().back();
  EXPECT_EQ(dialog.dialog.startFolder, (rt::AppFolder() / "Symbols").string());
  EXPECT_EQ(dialog.dialog.filter, "Symbol File (*.smb)|*.smb");

  // Two symbols on one line separated by a comma are both taken.
  testsupport::WriteFileBytes(SymbolFile("pair.smb"), "aapl,c\r\n");
  scripted->AnswerOpenFile(SymbolFile("pair.smb").string());
  w.Menu("mnuOpenSymbols")->trigger();
  EXPECT_EQ(Selection(w), "AAPL ; C ; ");

  // Cancelled: nothing changes.
  scripted->AnswerOpenFile("");
  w.Menu("mnuOpenSymbols")->trigger();
  EXPECT_EQ(Selection(w), "AAPL ; C ; ");
}

TEST_F(WindowTest, AMissingListFileIsReportedAndChangesNothing) {
  ui::frmMain& w = LoadedWindow();
  w.Text("txtSelection")->setText("IBM");
  scripted->AnswerOpenFile(SymbolFile("gone.smb").string());
  scripted->AnswerMsgBox(user::kAnswerOK, "gone.smb");
  w.Menu("mnuOpenSymbols")->trigger();
  EXPECT_EQ(Selection(w), "IBM");
}

TEST_F(WindowTest, SavingWritesTheStockListAndAsksBeforeReplacingAList) {
  ui::frmMain& w = LoadedWindow();
  w.Option("optStockSelection", 0)->SetValue(true);
  scripted->AnswerSaveFile(SymbolFile("everything.smb").string(), "Save Symbols List");
  w.Menu("mnuSaveSymbols")->trigger();
  EXPECT_EQ(ReadText(SymbolFile("everything.smb")), "all:\r\n");

  // Read back, the single entry becomes the listed symbol ALL:.
  scripted->AnswerOpenFile(SymbolFile("everything.smb").string());
  w.Menu("mnuOpenSymbols")->trigger();
  EXPECT_EQ(Selection(w), "ALL: ; ");

  // Saving over it: No keeps the file, Yes replaces it.
  w.Text("txtSelection")->setText("ibm;msft  c");
  const char* question = "The Symbol List everything.smb already exists.\r\nAre you sure you wish to overwrite?";
  scripted->AnswerSaveFile(SymbolFile("everything.smb").string());
  scripted->AnswerMsgBox(user::kAnswerNo, question);
  w.Menu("mnuSaveSymbols")->trigger();
  EXPECT_EQ(ReadText(SymbolFile("everything.smb")), "all:\r\n");
  EXPECT_EQ(scripted->Prompts().back().style, user::kYesNo | user::kDefaultButton2);
  scripted->AnswerSaveFile(SymbolFile("everything.smb").string());
  scripted->AnswerMsgBox(user::kAnswerYes, question);
  w.Menu("mnuSaveSymbols")->trigger();
  EXPECT_EQ(ReadText(SymbolFile("everything.smb")), "ibm\r\nmsft\r\nc\r\n");

  // A list that cannot be written whole leaves the old one as it was, and says so.
  w.Text("txtSelection")->setText("CVR ; IBM");
  scripted->AnswerSaveFile(SymbolFile("everything.smb").string());
  scripted->AnswerMsgBox(user::kAnswerYes, question);
  scripted->AnswerMsgBox(user::kAnswerOK, "everything.smb could not be written: File too large. The Symbol List "
                                          "everything.smb there is as it was.");
  {
    testsupport::FileSizeLimit full(3);
    w.Menu("mnuSaveSymbols")->trigger();
  }
  EXPECT_EQ(ReadText(SymbolFile("everything.smb")), "ibm\r\nmsft\r\nc\r\n");
}

TEST_F(WindowTest, AListSavedElsewhereGoesToTheSymbolsFolderAndItsCopyThereIsProtected) {
  ui::frmMain& w = LoadedWindow();
  testsupport::WriteFileBytes(SymbolFile("mine.smb"), "KEEP\r\n");
  w.Option("optStockSelection", 2)->SetValue(true);
  w.Text("txtSelection")->setText("IBM");

  // The dialog shows another folder without a mine.smb: the question is
  // about the file that would be replaced, the one in Symbols.
  scripted->AnswerSaveFile((rt::AppFolder() / "Reports" / "mine.smb").string());
  scripted->AnswerMsgBox(user::kAnswerNo, "The Symbol List mine.smb already exists.");
  w.Menu("mnuSaveSymbols")->trigger();
  EXPECT_EQ(ReadText(SymbolFile("mine.smb")), "KEEP\r\n");
  EXPECT_FALSE(std::filesystem::exists(rt::AppFolder() / "Reports" / "mine.smb"));

  scripted->AnswerSaveFile((rt::AppFolder() / "Reports" / "new.smb").string());
  w.Menu("mnuSaveSymbols")->trigger();
  EXPECT_EQ(ReadText(SymbolFile("new.smb")), "IBM\r\n");
}

TEST_F(WindowTest, ImportAddsTheSymbolsAndConfirmsOnlyAnImportThatWorked) {
  ui::frmMain& w = LoadedWindow();
  // Saved by an editor that marks the encoding first: the mark is no part of IBM.
  testsupport::WriteFileBytes(SymbolFile("new.txt"), "\xEF\xBB\xBFIBM,ny\r\nMSFT,ns\r\n");
  scripted->AnswerOpenFile(SymbolFile("new.txt").string(), "Import Stock Symbols");
  scripted->AnswerMsgBox(user::kAnswerOK, "Stock symbols have been imported.\r\nYou may now run simulations on them!");
  w.Menu("mnuImportStocks")->trigger();
  EXPECT_EQ(w.objResearch->QueryDB("SELECT COUNT(*) FROM Stock_Master WHERE Symbol IN ('IBM', 'MSFT')"), "2");
  EXPECT_EQ(scripted->Prompts()[scripted->Prompts().size() - 2].dialog.filter, "All Files|*.*");
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "1 of 1");  // the import's count, without the symbol

  // A line without a comma: the engine's message, and no confirmation.
  testsupport::WriteFileBytes(SymbolFile("bad.txt"), "AAPL\r\n");
  scripted->AnswerOpenFile(SymbolFile("bad.txt").string());
  scripted->AnswerMsgBox(user::kAnswerOK, "Line 1");
  w.Menu("mnuImportStocks")->trigger();
  EXPECT_EQ(w.objResearch->QueryDB("SELECT COUNT(*) FROM Stock_Master"), "2");

  // The engine's ImportSymbols event runs the same command.
  scripted->AnswerOpenFile("", "Import Stock Symbols");
  w.ImportSymbols();
  EXPECT_EQ(user::User().Pointer(), user::kPointerDefault);
}
