// The results list's own algorithms against a plain model of what they must
// do: cells kept on pages (read back from the temporary file beyond the
// pages kept in memory), the stable stepped sort, rows arriving into a
// sorted list, and the key index, whose keys' hashes collide at this size.
#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <map>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "platform/runtime/date.h"
#include "platform/runtime/number_text.h"
#include "ui/list_sort.h"
#include "ui/row_key_index.h"

namespace {

enum Column { kDay, kSide, kSymbol, kClose, kGain, kSortDay };

// A winner as the model holds it.
struct Winner {
  int32_t day;
  std::string side, symbol;
  double close;
  QString symbolText;
  std::string closeText;
};

// Winner n of a market of `symbols` symbols: each day a LONG and a SHORT
// winner of each; symbols in pairs named alike but for case (apart as keys,
// equal in a sort); a few hundred closes, whose texts do not sort as numbers.
Winner NthWinner(uint32_t n, uint32_t symbols) {
  Winner w{static_cast<int32_t>(37000 + n / (2 * symbols)),
           (n / symbols) % 2 ? "SHORT" : "LONG",
           "SYM" + std::to_string(n % symbols / 2),
           (n * 7919 % 401) / 4.0,
           {},
           {}};
  if (n % symbols % 2) std::transform(w.symbol.begin(), w.symbol.end(), w.symbol.begin(), ::tolower);
  w.symbolText = QString::fromStdString(w.symbol);
  w.closeText = rt::FormatNumber(w.close);
  return w;
}

int Compare(const Winner& a, const Winner& b, int column) {
  switch (column) {
    case kSymbol: return a.symbolText.compare(b.symbolText, Qt::CaseInsensitive);
    case kClose: return a.closeText.compare(b.closeText);
    default: return a.day - b.day;
  }
}

// The model's order: `order` stably sorted by the column.
std::vector<uint32_t> StablySorted(std::vector<uint32_t> order, const std::vector<Winner>& model, int column,
                                   bool descending) {
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const int c = Compare(model[a], model[b], column);
    return descending ? c > 0 : c < 0;
  });
  return order;
}

void Append(ui::ListRows& rows, const Winner& w) {
  rows.Append(std::vector{ui::Cell::Date(rt::Date(w.day)), ui::Cell::Text(w.side), ui::Cell::Text(w.symbol),
                          ui::Cell::Number(w.close)});
}

struct ListCase {
  const char* what;
  uint32_t rows;  // before the sorts
  uint32_t symbols;
  int column;  // sorted by symbol, then by this column
  bool descending;
  uint32_t arrivals;  // after the sorts: again the first rows' keys, every third with a new symbol
};

TEST(ListAlgorithmsTest, SortsArrivalsLookUpsAndPagesReadBackAsTheModelSays) {
  const ListCase cases[] = {
      {"a market on more pages than stay in memory, with colliding hashes, by close over several runs", 200000, 50,
       kClose, false, 3000},
      {"by the sort date, descending: equal days keep their order", 5000, 20, kSortDay, true, 700},
      {"by symbol, descending: names equal but for case keep their order, new names arrive", 3000, 40, kSymbol, true,
       600},
  };
  using K = ui::CellKind;
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.what);
    ui::ListRows rows({{K::kDate}, {K::kText}, {K::kText}, {K::kNumber}, {K::kNumber}, {K::kSortDate, kDay}});
    ui::RowKeyIndex index(rows);
    index.SetColumns({kDay, kSide, kSymbol});
    std::vector<Winner> model;
    for (uint32_t n = 0; n < c.rows; ++n) Append(rows, model.emplace_back(NthWinner(n, c.symbols)));
    ASSERT_TRUE(index.Make([] { return true; }));

    const auto sort = [&](std::span<const uint32_t> order, int column, bool descending) {
      return *ui::SortedOrder(rows.Count(), order, rows, column, descending, [] { return true; });
    };
    std::vector<uint32_t> expected(c.rows);
    std::iota(expected.begin(), expected.end(), 0u);
    expected = StablySorted(expected, model, kSymbol, false);
    std::vector<uint32_t> order = sort({}, kSymbol, false);
    ASSERT_EQ(order, expected);
    order = sort(order, c.column, c.descending);
    expected = StablySorted(expected, model, c.column, c.descending);
    ASSERT_EQ(order, expected);

    for (uint32_t n = 0; n < c.arrivals; ++n) {
      Winner w = NthWinner(n, c.symbols);
      if (n % 3 == 0) w.symbol = "new" + std::to_string(n), w.symbolText = QString::fromStdString(w.symbol);
      Append(rows, model.emplace_back(w));
      index.Add(rows.Count() - 1);
      expected.push_back(rows.Count() - 1);
    }
    ui::InsertArrivals(order, ui::ArrivalsOf(order, c.rows, rows, c.column, c.descending));
    EXPECT_EQ(order, StablySorted(expected, model, c.column, c.descending));

    // The first row of a key is found, and no other; a Trade result set on
    // it reads back, wherever its page went meanwhile.
    std::map<std::tuple<int32_t, std::string, std::string>, uint32_t> firstOf;
    for (uint32_t row = 0; row < model.size(); ++row)
      firstOf.emplace(std::tuple{model[row].day, model[row].side, model[row].symbol}, row);
    for (const auto& [key, row] : firstOf) {
      const auto& [day, side, symbol] = key;
      ASSERT_EQ(index.Find(std::vector{ui::Cell::Date(rt::Date(day)), ui::Cell::Text(side), ui::Cell::Text(symbol)}),
                row);
      rows.Set(row, kGain, ui::Cell::Number(row));
      ASSERT_EQ(rows.Text(row, kGain).toStdString(), rt::FormatNumber(static_cast<double>(row)));
    }
    EXPECT_FALSE(index.Find(std::vector{ui::Cell::Date(rt::Date(1)), ui::Cell::Text("LONG"), ui::Cell::Text("SYM0")}));
    for (uint32_t row = 0; row < model.size(); ++row) {
      const Winner& w = model[row];
      const bool first = firstOf.at({w.day, w.side, w.symbol}) == row;
      ASSERT_EQ(rows.Text(row, kDay).toStdString(), rt::FormatShortDate(rt::Date(w.day))) << row;
      ASSERT_EQ(rows.Text(row, kSortDay).toStdString(), rt::FormatYYYYMMDD(rt::Date(w.day))) << row;
      ASSERT_EQ(rows.Text(row, kSymbol).toStdString(), w.symbol) << row;
      ASSERT_EQ(rows.Text(row, kClose).toStdString(), w.closeText) << row;
      ASSERT_EQ(rows.Text(row, kGain).toStdString(), first ? rt::FormatNumber(static_cast<double>(row)) : "") << row;
    }
  }
}

}  // namespace
