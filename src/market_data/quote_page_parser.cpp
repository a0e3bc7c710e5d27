#include "market_data/quote_page_parser.h"

#include <cmath>
#include <optional>

#include "platform/runtime/conversions.h"

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

    if (!rt::IsNumeric(*volume)) {
      result.error = "Type mismatch: the volume \"" + *volume + "\" of " + rt::FormatDate(*date) +
                     " is not a number.";
      return result;
    }
    if (!rt::IsNumeric(*high) || !rt::IsNumeric(*low) || !rt::IsNumeric(*close) || !rt::IsNumeric(*adjClose))
      continue;

    DayRecord row;
    row.datDamnDate = *date;
    row.strOpen.Assign(*open);
    row.strHigh.Assign(*high);
    row.strLow.Assign(*low);
    row.strClose.Assign(*close);
    row.lngVolume = std::llround(rt::CDbl(*volume));
    row.strAdjClose.Assign(*adjClose);
    result.rows.push_back(row);
  }
}
