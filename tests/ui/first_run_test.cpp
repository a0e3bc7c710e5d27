// The README's "A first run": it must buy positions and end with a portfolio
// worth something, and its lists must show what they always showed.
#include <QHeaderView>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "first_run_fixture.h"

namespace {

std::string RowText(ui::ListView& list, int row) {
  std::string text;
  for (int column = 0; column < list.model()->columnCount(); ++column)
    text += (column > 0 ? "\t" : "") + list.Text(row, column).toStdString();
  return text;
}

// Compares the list with the rows expected, cell for cell, up to the first difference.
void ExpectRows(ui::ListView& list, const std::vector<std::string>& rows, const std::string& what) {
  ASSERT_EQ(list.Count(), static_cast<int>(rows.size())) << what;
  for (int row = 0; row < list.Count(); ++row)
    if (RowText(list, row) != rows[row]) {
      ADD_FAILURE() << what << ", row " << row << ":\n  " << RowText(list, row) << "\nexpected\n  " << rows[row];
      return;
    }
}

// tests/fixtures/first_run_lists.txt holds the lists as the first run left
// them ("winners N" and N lines of TAB-separated cells, then "portfolio
// ..."), and for a series of header clicks ("winners click C") the rows in
// the order the click gave, as their numbers in the first listing.
void ExpectListsAndSortsAsRecorded(ui::frmResults& results) {
  std::ifstream in(std::string(KESTROVANE_FIXTURES_DIR) + "/first_run_lists.txt", std::ios::binary);
  ASSERT_TRUE(in) << "first_run_lists.txt";
  std::map<std::string, std::vector<std::string>> listed;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string name, count;
    words >> name >> count;
    ui::ListView& list = name == "winners" ? *results.lvwWinners : *results.lvwPortfolio;
    if (count != "click") {
      std::vector<std::string>& rows = listed[name];
      for (int row = 0; row < std::stoi(count) && std::getline(in, line); ++row) rows.push_back(line);
      ExpectRows(list, rows, name);
      continue;
    }
    int column = 0;
    words >> column;
    std::getline(in, line);
    std::istringstream numbers(line);
    std::vector<std::string> sorted;
    for (size_t row; numbers >> row;) sorted.push_back(listed[name].at(row));
    emit list.header()->sectionClicked(column);
    ExpectRows(list, sorted, name + " after a click on column " + std::to_string(column));
  }
}

}  // namespace

TEST_F(FirstRunTest, TheReadmesFirstRunBuysAndEndsWithAPortfolioValue) {
  ui::frmMain& w = ReadmesFirstRun();
  EXPECT_EQ(w.Label("lblCurrStock", 1)->text(), "Processing Complete");
  EXPECT_GT(ui::ResultsWindow().lvwPortfolio->Count(), 0);  // positions were bought
  const std::string bought = w.Label("lblResult", 22)->text().toStdString();
  EXPECT_NE(bought.substr(0, bought.find("--")), "0") << "winners--losers of the Trade stage: " << bought;
  EXPECT_GT(std::stod(w.Label("lblResult", 15)->text().toStdString()), 0);  // End Investment
  ExpectListsAndSortsAsRecorded(ui::ResultsWindow());
}
