#include "market_data/quote_page_parser.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"

namespace {

constexpr std::array<std::string_view, 7> kColumns = {"Date", "Open", "High", "Low", "Close", "Volume", "Adj Close"};
constexpr size_t kCloseColumn = 4;  // the one cell in <b>...</b>

struct Cell {
  std::string_view text;
  bool bold = false;
};

std::string_view Trim(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Where the next table row opens ("<tr>" or "<tr " with attributes).
size_t NextRowStart(std::string_view page, size_t from) {
  for (size_t at = page.find("<tr", from); at != std::string_view::npos; at = page.find("<tr", at + 3)) {
    if (at + 3 < page.size() && (page[at + 3] == '>' || page[at + 3] == ' ')) return at;
  }
  return std::string_view::npos;
}

// The table rows of the page, each up to its "</tr>", or up to the next row
// or the end of the page when it is not closed.
std::vector<std::string_view> TableRows(std::string_view page) {
  std::vector<std::string_view> rows;
  for (size_t start = NextRowStart(page, 0); start != std::string_view::npos;) {
    const size_t next = NextRowStart(page, start + 3);
    const size_t end = std::min({page.find("</tr>", start), next, page.size()});
    rows.push_back(page.substr(start, end - start));
    start = next;
  }
  return rows;
}

// The cells of a row in order; nullopt when one is not closed within the row.
std::optional<std::vector<Cell>> CellsOf(std::string_view row) {
  static constexpr std::string_view kNobr = "<nobr>", kBold = "<b>";
  std::vector<Cell> cells;
  for (size_t at = row.find('<'); at != std::string_view::npos; at = row.find('<', at + 1)) {
    const std::string_view tag = row.substr(at);
    const bool bold = tag.starts_with(kBold);
    if (!bold && !tag.starts_with(kNobr)) continue;
    const size_t start = at + (bold ? kBold.size() : kNobr.size());
    const size_t end = row.find(bold ? "</b>" : "</nobr>", start);
    if (end == std::string_view::npos) return std::nullopt;
    cells.push_back({row.substr(start, end - start), bold});
    at = end;
  }
  return cells;
}

bool HasDateCell(std::string_view row) {
  std::optional<std::vector<Cell>> cells = CellsOf(row);
  return cells && std::any_of(cells->begin(), cells->end(), [](const Cell& c) { return Trim(c.text) == kColumns[0]; });
}

bool NamesTheColumns(const std::vector<Cell>& cells) {
  return std::equal(cells.begin(), cells.end(), kColumns.begin(), kColumns.end(),
                    [](const Cell& cell, std::string_view name) { return Trim(cell.text) == name; });
}

// A whole number of exactly `width` digits (any width when 0); -1 otherwise.
int Digits(std::string_view text, size_t width = 0) {
  if (text.empty() || (width != 0 && text.size() != width)) return -1;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

// A date in the page's own form, "2-Jan-2019"; any other form ("31/01/2019",
// "2019-01-02") could be read with day and month swapped.
std::optional<rt::Date> PageDate(std::string_view text) {
  static constexpr std::string_view kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
  text = Trim(text);
  const size_t dash = text.find('-');
  if (dash == 0 || dash > 2 || text.size() != dash + 9 || text[dash + 4] != '-') return std::nullopt;
  const size_t month = kMonths.find(text.substr(dash + 1, 3));
  const int day = Digits(text.substr(0, dash)), year = Digits(text.substr(dash + 5), 4);
  if (month == std::string_view::npos || month % 3 != 0 || day < 0 || year < 0) return std::nullopt;
  return rt::Date::FromParts(year, static_cast<int>(month / 3) + 1, day);
}

// The markets the program knows never trade on Saturday or Sunday.
bool IsWeekend(rt::Date date) { return date.Weekday() == 1 || date.Weekday() == 7; }

// Digits with at most one decimal point: "$1,234", "1e3" and "-2" pass the
// runtime's numeric test but are no price the table can take as it stands.
bool IsPlainDecimal(std::string_view text) {
  text = Trim(text);
  bool digit = false, point = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') digit = true;
    else if (c == '.' && !point) point = true;
    else return false;
  }
  return digit;
}

// Stores the price cut to six characters and gives its value as stored;
// nullopt when the cell is no plain price, when the cut would take digits
// before its point (a price a hundred times too small) or when the stored
// text would read as 0 (a divisor for every reader).
std::optional<double> AssignPrice(rt::PriceText& field, std::string_view cell) {
  cell = Trim(cell);
  if (!IsPlainDecimal(cell) || !rt::PriceText::KeepsWholePart(cell)) return std::nullopt;
  field.Assign(cell);
  const double value = field.Value();
  return value > 0 ? std::optional<double>(value) : std::nullopt;
}

// The volume as the runtime converts it; nullopt when it is no number, is
// negative or does not fit 64 bits.
std::optional<int64_t> Volume(std::string_view cell) {
  try {
    int64_t shares = rt::CLngLng(cell);
    if (shares >= 0) return shares;
  } catch (const rt::Error&) {
  }
  return std::nullopt;
}

// The day a row describes, when it is a plausible trading day. Prices are
// compared as they will be stored.
std::optional<DayRecord> TradingDay(const std::vector<Cell>& cells, rt::Date today) {
  if (cells.size() != kColumns.size()) return std::nullopt;
  for (size_t i = 0; i < cells.size(); ++i)
    if (cells[i].bold != (i == kCloseColumn)) return std::nullopt;
  std::optional<rt::Date> date = PageDate(cells[0].text);
  if (!date || IsWeekend(*date) || *date > today) return std::nullopt;
  DayRecord day;
  day.datDamnDate = *date;
  const std::optional<double> open = AssignPrice(day.strOpen, cells[1].text);
  const std::optional<double> high = AssignPrice(day.strHigh, cells[2].text);
  const std::optional<double> low = AssignPrice(day.strLow, cells[3].text);
  const std::optional<double> close = AssignPrice(day.strClose, cells[4].text);
  if (!open || !high || !low || !close || !AssignPrice(day.strAdjClose, cells[6].text)) return std::nullopt;
  if (*low > *high || *open < *low || *open > *high || *close < *low || *close > *high) return std::nullopt;
  std::optional<int64_t> shares = Volume(cells[5].text);
  if (!shares) return std::nullopt;
  day.lngVolume = *shares;
  return day;
}

}  // namespace

QuotePageResult ParseQuotePageRows(const std::string& page) {
  QuotePageResult result;
  const std::vector<std::string_view> rows = TableRows(page);
  const auto header = std::find_if(rows.begin(), rows.end(), HasDateCell);
  if (header == rows.end()) {
    result.problem = "the reply is not a quote page";
    return result;
  }
  if (!NamesTheColumns(*CellsOf(*header))) {
    result.problem = "the quote page's columns are not Date, Open, High, Low, Close, Volume, Adj Close";
    return result;
  }
  const rt::Date today = rt::Today();
  result.rows.reserve(static_cast<size_t>(rows.end() - header));
  for (auto row = header + 1; row != rows.end(); ++row) {
    std::optional<std::vector<Cell>> cells = CellsOf(*row);
    std::optional<DayRecord> day = cells ? TradingDay(*cells, today) : std::nullopt;
    if (day) {
      result.rows.push_back(*day);
      continue;
    }
    ++result.rowsLeftOut;
    if (cells && !cells->empty())
      if (std::optional<rt::Date> named = PageDate(cells->front().text)) result.datesLeftOut.push_back(*named);
  }
  // Paging and the inception date read the last row as the oldest.
  auto newerFirst = [](const DayRecord& a, const DayRecord& b) { return a.datDamnDate > b.datDamnDate; };
  if (!std::is_sorted(result.rows.begin(), result.rows.end(), newerFirst))
    std::stable_sort(result.rows.begin(), result.rows.end(), newerFirst);
  return result;
}
