// The results window: its lists, sorting, hiding and closing.
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QToolTip>
#include <filesystem>

#include "widget_input.h"
#include "window_fixture.h"

namespace {

// A winner row with only its date and volume.
std::vector<ui::Cell> WinnerRow(int year, int month, int day, int32_t volume) {
  std::vector<ui::Cell> row(ui::frmResults::kWinnersGainLossColumn + 1);
  row[0] = ui::Cell::Date(rt::DateSerial(year, month, day));
  row[7] = ui::Cell::Whole(volume);
  return row;
}

// A list of a year's winners, every day a few of each close.
void AddWinners(ui::ListView& list, int count) {
  for (int row = 0; row < count; ++row) {
    std::vector<ui::Cell> cells = WinnerRow(2004, 1 + row % 12, 1 + row % 28, row);
    cells[3] = ui::Cell::Number(row % 997 / 4.0);  // Close
    list.AddRow(cells);
  }
}

// Makes every read of the lists' temporary files fail, as a failing disk
// does (each file's descriptor then stands for a file open for writing
// only); how many there were.
int FailListFileReads() {
  const int writeOnly = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  int failing = 0;
  for (const auto& open : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    if (std::filesystem::read_symlink(open.path(), error).filename().string().starts_with("kestrovane-list-"))
      failing += ::dup2(writeOnly, std::stoi(open.path().filename().string())) >= 0;
  }
  ::close(writeOnly);
  return failing;
}

}  // namespace

TEST_F(WindowTest, DatesSortByTheirHiddenColumnAndEachClickTurnsTheOrder) {
  ui::ListView& list = *ui::ResultsWindow().lvwWinners;
  list.AddRow(WinnerRow(2003, 12, 1, 9));
  list.AddRow(WinnerRow(2004, 1, 5, 10));
  list.AddRow(WinnerRow(2003, 2, 1, 100));
  list.SortByColumnClick(0);
  EXPECT_EQ(list.Text(0, 0), "2/1/2003");
  EXPECT_EQ(list.Text(2, 0), "1/5/2004");
  EXPECT_EQ(list.Text(2, 18), "20040105");
  list.SortByColumnClick(0);
  EXPECT_EQ(list.Text(0, 0), "1/5/2004");

  // Volumes sort as texts; the order turns on every click, any column.
  list.SortByColumnClick(7);
  EXPECT_EQ(list.Text(0, 7), "10");
  EXPECT_EQ(list.Text(1, 7), "100");
  EXPECT_EQ(list.Text(2, 7), "9");
  // Rows added while sorted take their places, each after the rows whose
  // keys equal its own, and the row the user had chosen stays chosen;
  // clearing switches sorting off.
  list.setCurrentIndex(list.model()->index(1, 7));  // "100"
  list.AddRow(WinnerRow(2003, 3, 3, 5));
  list.AddRow(WinnerRow(2003, 3, 4, 1));
  list.AddRow(WinnerRow(2003, 3, 5, 10));
  std::vector<std::string> volumes, days;
  for (int row = 0; row < list.Count(); ++row) {
    volumes.push_back(list.Text(row, 7).toStdString());
    days.push_back(list.Text(row, 0).toStdString());
  }
  EXPECT_EQ(volumes, (std::vector<std::string>{"1", "10", "10", "100", "5", "9"}));
  EXPECT_EQ(days[2], "3/5/2003");
  EXPECT_EQ(list.currentIndex().row(), 3);
  list.Clear();
  EXPECT_FALSE(list.Sorted());
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(WindowTest, ThePortfolioDateColumnsSortByTheirHiddenTwins) {
  ui::ListView& list = *ui::ResultsWindow().lvwPortfolio;
  EXPECT_EQ(list.SortColumnFor(0), 12);
  EXPECT_EQ(list.SortColumnFor(3), 13);
  EXPECT_EQ(list.SortColumnFor(8), 14);
  EXPECT_EQ(list.SortColumnFor(4), 4);
  EXPECT_TRUE(list.isColumnHidden(14));
  EXPECT_FALSE(list.isColumnHidden(11));
}

TEST_F(WindowTest, HidingKeepsTheRowsAndClosingLosesThem) {
  ui::frmMain& w = LoadedWindow();
  ui::ResultsWindow().show();
  ui::ResultsWindow().lvwWinners->AddRow(WinnerRow(2004, 1, 5, 1));
  ui::ResultsWindow().cmdHide_Click();
  EXPECT_FALSE(w.Menu("mnuResults")->isChecked());
  w.Menu("mnuResults")->trigger();  // View > Results shows it again
  EXPECT_TRUE(w.Menu("mnuResults")->isChecked());
  EXPECT_TRUE(ui::ResultsWindow().isVisible());
  EXPECT_EQ(ui::ResultsWindow().lvwWinners->Count(), 1);

  ui::ResultsWindow().close();
  EXPECT_FALSE(w.Menu("mnuResults")->isChecked());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(ui::ResultsWindowExists());
  EXPECT_EQ(ui::ResultsWindow().lvwWinners->Count(), 0);  // made anew on the next use
}

// Every visible column shows without scrolling, at the default size and
// after any resize; dates show whole at the default size, and a cell too
// narrow for its text shows the whole text in its tool tip.
TEST_F(WindowTest, EveryColumnShowsWithoutScrollingAndACutCellShowsItsTextAsATip) {
  ui::frmResults& results = ui::ResultsWindow();
  std::vector<ui::Cell> winner = WinnerRow(2020, 12, 28, 1234567);
  winner[6] = ui::Cell::Number(3.14159265358979);  // MACD
  winner[17] = ui::Cell::Number(-12.5);            // G/L
  results.lvwWinners->AddRow(winner);
  const ui::Cell day = ui::Cell::Date(rt::DateSerial(2020, 12, 28));
  results.lvwPortfolio->AddRow({day, ui::Cell::Empty(), ui::Cell::Empty(), day, ui::Cell::Empty(), ui::Cell::Empty(),
                                ui::Cell::Empty(), ui::Cell::Empty(), day});
  results.show();
  results.lvwWinners->Flush();
  results.lvwPortfolio->Flush();
  EXPECT_LE(results.frameGeometry().width(), 1366);

  const int defaultWidth = results.width();
  for (int width : {defaultWidth, 1600, 900}) {
    results.resize(width, results.height());
    for (bool portfolio : {false, true}) {
      SCOPED_TRACE(std::to_string(width) + (portfolio ? " portfolio" : " winners"));
      results.ShowPortfolioList(portfolio);
      QCoreApplication::processEvents();
      ui::ListView* list = portfolio ? results.lvwPortfolio : results.lvwWinners;
      int columnsWidth = 0;
      for (int column = 0; column < list->model()->columnCount(); ++column)
        if (!list->isColumnHidden(column)) columnsWidth += list->columnWidth(column);
      EXPECT_LE(columnsWidth, list->viewport()->width());
      EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
      if (width != defaultWidth) continue;
      auto tipOver = [list](int column) {
        return widget_input::ToolTipAt(list->viewport(), list->visualRect(list->model()->index(0, column)).center());
      };
      for (int dateColumn : portfolio ? std::vector<int>{0, 3, 8} : std::vector<int>{0})
        EXPECT_FALSE(tipOver(dateColumn)) << dateColumn;
      if (portfolio) continue;
      EXPECT_FALSE(tipOver(17));
      ASSERT_TRUE(tipOver(6));
      EXPECT_EQ(QToolTip::text(), "3.14159265358979");
    }
  }
}

// A run started while a long sort serves the window clears the list: its
// rows show at once, and the sort it cut short is given up.
TEST_F(WindowTest, AListClearedDuringASortShowsTheRowsAddedAfter) {
  ui::ListView& list = *ui::ResultsWindow().lvwWinners;
  for (int row = 0; row < 70000; ++row) list.AddRow(WinnerRow(2004, 1, 5, row));
  int shownMeanwhile = -1;
  scripted->OnDoEvents([&](int) {
    if (shownMeanwhile >= 0) return;
    list.Clear();
    list.AddRow(WinnerRow(2005, 2, 1, 7));
    list.Flush();
    shownMeanwhile = list.model()->rowCount();
  });
  list.SortByColumnClick(7);
  scripted->OnDoEvents(nullptr);
  EXPECT_EQ(shownMeanwhile, 1);
  EXPECT_FALSE(list.Sorted());
  EXPECT_EQ(list.Text(0, 7), "7");
}

// The end of a list sorted by a number column is one key or one drag away,
// however few of its rows the view has laid out so far.
TEST_F(WindowTest, EndCtrlEndAndTheThumbAtTheBottomShowTheLastRowOfASortedList) {
  ui::ListView& list = *ui::ResultsWindow().lvwWinners;
  AddWinners(list, 30000);
  ui::ResultsWindow().show();
  for (const std::string how : {"End", "Ctrl+End", "thumb"}) {
    SCOPED_TRACE(how);
    emit list.header()->sectionClicked(3);  // Close
    QCoreApplication::processEvents();
    QScrollBar& bar = *list.verticalScrollBar();
    if (how == "thumb") {
      bar.setSliderDown(true);
      bar.setSliderPosition(bar.maximum());
      bar.setSliderDown(false);
    } else {
      widget_input::Press(&list, Qt::Key_End, "", how == "End" ? Qt::NoModifier : Qt::ControlModifier);
      EXPECT_EQ(list.currentIndex().row(), list.Count() - 1);
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(list.visualRect(list.model()->index(list.Count() - 1, 3)).intersects(list.viewport()->rect()));
  }
}

// Rows whose page the list's temporary file cannot give back show no value
// they do not hold, and the user is told so once.
TEST_F(WindowTest, RowsTheTemporaryFileCannotGiveBackShowAsUnreadableAndAreToldOnce) {
  ui::frmResults& results = ui::ResultsWindow();
  ui::ListView& list = *results.lvwWinners;
  AddWinners(list, 70000);  // more pages than stay in memory: the first rows' wait in the file
  ASSERT_EQ(FailListFileReads(), 1);
  scripted->AnswerMsgBox(user::kAnswerOK, "could not be read back");
  results.show();
  list.Flush();
  results.grab();
  QCoreApplication::processEvents();
  for (int column : {0, 3}) EXPECT_EQ(list.model()->index(0, column).data().toString().toStdString(), "(unreadable)");
  emit list.header()->sectionClicked(7);  // the sort reads every row
  results.grab();
  QCoreApplication::processEvents();
  EXPECT_EQ(scripted->MessageTexts().size(), 1u);
}
