// The results window: its lists, sorting, hiding and closing.
#include <QCoreApplication>

#include "window_fixture.h"

namespace {

QStringList WinnerRow(const char* date, const char* sortDate, const char* volume) {
  QStringList row;
  for (int i = 0; i < ui::frmResults::kWinnersColumns; ++i) row << "";
  row[0] = date;
  row[7] = volume;
  row[18] = sortDate;
  return row;
}

}  // namespace

TEST_F(WindowTest, DatesSortByTheirHiddenColumnAndEachClickTurnsTheOrder) {
  ui::ListView& list = *ui::ResultsWindow().lvwWinners;
  list.AddRow(WinnerRow("12/1/2003", "20031201", "9"));
  list.AddRow(WinnerRow("1/5/2004", "20040105", "10"));
  list.AddRow(WinnerRow("2/1/2003", "20030201", "100"));
  list.SortByColumnClick(0);
  EXPECT_EQ(list.Text(0, 0), "2/1/2003");
  EXPECT_EQ(list.Text(2, 0), "1/5/2004");
  list.SortByColumnClick(0);
  EXPECT_EQ(list.Text(0, 0), "1/5/2004");

  // Volumes sort as texts; the order turns on every click, any column.
  list.SortByColumnClick(7);
  EXPECT_EQ(list.Text(0, 7), "10");
  EXPECT_EQ(list.Text(1, 7), "100");
  EXPECT_EQ(list.Text(2, 7), "9");
  // A row added while sorted takes its place; clearing switches sorting off.
  list.AddRow(WinnerRow("3/3/2003", "20030303", "05"));
  EXPECT_EQ(list.Text(0, 7), "05");
  list.Clear();
  EXPECT_FALSE(list.Sorted());
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.SetText(0, 17, "1"));  // no such row: nothing happens
}

TEST_F(WindowTest, ThePortfolioDateColumnsSortByTheirHiddenTwins) {
  ui::ListView& list = *ui::ResultsWindow().lvwPortfolio;
  EXPECT_EQ(list.sortColumnFor(0), 12);
  EXPECT_EQ(list.sortColumnFor(3), 13);
  EXPECT_EQ(list.sortColumnFor(8), 14);
  EXPECT_EQ(list.sortColumnFor(4), 4);
  EXPECT_TRUE(list.isColumnHidden(14));
  EXPECT_FALSE(list.isColumnHidden(11));
}

TEST_F(WindowTest, HidingKeepsTheRowsAndClosingLosesThem) {
  ui::frmMain& w = LoadedWindow();
  ui::ResultsWindow().show();
  ui::ResultsWindow().lvwWinners->AddRow(WinnerRow("1/5/2004", "20040105", "1"));
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

TEST_F(WindowTest, ColumnsShareTheWidthOnlyWhenEachGetsMoreThan100Twips) {
  ui::ListView& list = *ui::ResultsWindow().lvwWinners;
  int before = list.columnWidth(0);
  list.ApplyColumnRule(900);  // 900 / 16 - 15 = 41 twips: too narrow
  EXPECT_EQ(list.columnWidth(0), before);
  list.ApplyColumnRule(16000);  // 16000 / 16 - 15 = 985 twips, 65 pixels for columns 1 to 16
  EXPECT_EQ(list.columnWidth(0), 65);
  EXPECT_EQ(list.columnWidth(15), 65);
  EXPECT_EQ(list.columnWidth(16), 1323 / ui::ListView::kTwipsPerPixel);
}
