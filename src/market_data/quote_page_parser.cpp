#include "market_data/quote_page_parser.h"

#include <optional>
#include <string_view>

#include "platform/runtime/conversions.h"
#include "platform/runtime/error.h"

namespace {

// Walks the page cell by cell; each search starts behind the previous cell.
class CellCursor {
 public:
  explicit CellCursor(const std::string& page, size_t from) : page_(page), pos_(from) {}

  // The text of the next cell opened by `open` and closed by `close`;
  // nullopt when the page has no such cell below.
  std::optional<std::string> Next(const char* open, const char* close) {
    size_t start = page_.find(open, pos_);
    if (start == std::string::npos) return std::nullopt;
    start += std::char_traits<char>::length(open);
    size_t end = page_.find(close, start);
    if (end == std::string::npos) return std::nullopt;
    pos_ = end + std::char_traits<char>::length(close);
    return page_.substr(start, end - start);
  }
  std::optional<std::string> NextNobr() { return Next("<nobr>", "</nobr>"); }

 private:
  const std::string& page_;
  size_t pos_;
};

// A trading day: a date with no time of day ("9:30" alone reads as a time on
// the zero date).
bool IsCalendarDay(rt::Date date) { return date.DayNumber() != 0 && !date.HasTime(); }

// Digits with at most one decimal point: "$1,234", "1e3" and "-2" pass the
// runtime's numeric test but are no price the table can take as it stands.
bool IsPlainDecimal(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  bool digit = false, point = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') digit = true;
    else if (c == '.' && !point) point = true;
    else return false;
  }
  return digit;
}

// Stores the price cut to six characters; false when the cell is no plain
// price or the stored text would read as 0 (a divisor for every reader).
bool AssignPrice(rt::PriceText& field, const std::string& cell) {
  if (!IsPlainDecimal(cell)) return false;
  field.Assign(cell);
  return field.Value() > 0;
}

// The volume as the runtime converts it; nullopt when it is no number, is
// negative or does not fit 64 bits.
std::optional<int64_t> Volume(const std::string& cell) {
  try {
    int64_t shares = rt::CLngLng(cell);
    if (shares >= 0) return shares;
  } catch (const rt::Error&) {
  }
  return std::nullopt;
}

}  // namespace

QuotePageResult ParseQuotePageRows(const std::string& page) {
  QuotePageResult result;
  size_t header = page.find("Date");
  if (header == std::string::npos) return result;
  result.foundDateHeader = true;
  CellCursor cells(page, header);

  for (;;) {
    std::optional<std::string> dateCell = cells.NextNobr();
    if (!dateCell) return result;
    std::optional<rt::Date> date = rt::ParseDate(*dateCell);
    if (!date) continue;  // a header or other cell: try the next one as a date

    std::optional<std::string> open = cells.NextNobr();
    if (!open) return result;
    if (!rt::IsNumeric(*open)) continue;  // row abandoned
    std::optional<std::string> high = cells.NextNobr();
    std::optional<std::string> low = high ? cells.NextNobr() : std::nullopt;
    std::optional<std::string> close = low ? cells.Next("<b>", "</b>") : std::nullopt;
    std::optional<std::string> volume = close ? cells.NextNobr() : std::nullopt;
    std::optional<std::string> adjClose = volume ? cells.NextNobr() : std::nullopt;
    if (!adjClose) return result;  // the page ended inside the row

    DayRecord row;
    row.datDamnDate = *date;
    const bool pricesSound = AssignPrice(row.strOpen, *open) && AssignPrice(row.strHigh, *high) &&
                             AssignPrice(row.strLow, *low) && AssignPrice(row.strClose, *close) &&
                             AssignPrice(row.strAdjClose, *adjClose);
    std::optional<int64_t> shares = Volume(*volume);
    if (!IsCalendarDay(*date) || !pricesSound || !shares) {
      ++result.rowsLeftOut;
      continue;
    }
    row.lngVolume = *shares;
    result.rows.push_back(row);
  }
}
