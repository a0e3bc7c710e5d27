#include "support/history_csv.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "platform/runtime/conversions.h"
#include "platform/runtime/date.h"
#include "platform/runtime/error.h"

namespace testsupport {
namespace {

struct CsvRow {
  rt::Date date;
  double open = 0, high = 0, low = 0, close = 0, adjClose = 0;
  std::string volume;
};

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  std::string field;
  while (std::getline(stream, field, ',')) fields.push_back(field);
  return fields;
}

CsvRow ParseRow(const std::string& line) {
  const std::vector<std::string> fields = SplitFields(line);
  if (fields.size() != 7) throw rt::Error(rt::kErrTypeMismatch, "Malformed history line: " + line);
  CsvRow row;
  row.date = rt::CDate(fields[0]);
  row.open = rt::CDbl(fields[1]);
  row.high = rt::CDbl(fields[2]);
  row.low = rt::CDbl(fields[3]);
  row.close = rt::CDbl(fields[4]);
  row.adjClose = rt::CDbl(fields[5]);
  row.volume = fields[6];
  return row;
}

void FillStockDay(DayRecord& day, const CsvRow& row) {
  day.strClose = rt::PriceText(row.adjClose);
  const double adjusted = day.strClose.Value();
  if (adjusted == 0) rt::RaiseDivisionByZero();
  double ratio = row.close / adjusted;
  if (ratio > 0.9 && ratio < 1.1) ratio = 1;
  day.strOpen = rt::PriceText(row.open / ratio);
  day.strHigh = rt::PriceText(row.high / ratio);
  day.strLow = rt::PriceText(row.low / ratio);
  day.lngVolume = rt::CLng(row.volume);
  day.datDamnDate = row.date;
}

void FillIndexDay(DayRecord& day, const CsvRow& row) {
  day.strClose = rt::PriceText(row.close);
  day.strOpen = rt::PriceText(row.open);
  day.strHigh = rt::PriceText(row.high);
  day.strLow = rt::PriceText(row.low);
  day.datDamnDate = row.date;
}

}  // namespace

DayRecords LoadHistoryCsv(const std::filesystem::path& file, const std::string& symbol) {
  std::ifstream in(file);
  if (!in) throw rt::Error(rt::kErrFileNotFound, "File not found: " + file.string());
  std::vector<CsvRow> rows;
  std::string line;
  bool header = true;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (header || line.empty()) {
      header = false;
      continue;
    }
    rows.push_back(ParseRow(line));
  }
  const bool isIndex = !symbol.empty() && symbol[0] == '^';
  // Newest first; a zero close keeps its slot blank, and none is kept at the
  // oldest end.
  DayRecords days;
  for (size_t n = 0; n < rows.size(); ++n) {
    const CsvRow& row = rows[rows.size() - 1 - n];
    if (row.close == 0) continue;
    days.resize(n + 1);
    if (isIndex) FillIndexDay(days[n], row);
    else FillStockDay(days[n], row);
  }
  return days;
}

std::string SymbolOfHistoryFile(const std::filesystem::path& file) { return file.stem().string(); }

std::filesystem::path FixturePath(const std::string& name) {
  return std::filesystem::path(KESTROVANE_FIXTURES_DIR) / name;
}

}  // namespace testsupport
