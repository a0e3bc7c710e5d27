#include "support/history_csv.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "market_data/history_rows.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/date.h"
#include "platform/runtime/error.h"

namespace testsupport {
namespace {

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  std::string field;
  while (std::getline(stream, field, ',')) fields.push_back(field);
  return fields;
}

// A history line as the quote table would hand it back (the row query's
// columns in order).
std::vector<db::Value> ParseRow(const std::string& line) {
  const std::vector<std::string> fields = SplitFields(line);
  if (fields.size() != 7) throw rt::Error(rt::kErrTypeMismatch, "Malformed history line: " + line);
  auto number = [](const std::string& text) { return db::Value(rt::CDbl(text)); };
  return {db::Value(rt::CDate(fields[0])),
          number(fields[1]),
          number(fields[2]),
          number(fields[3]),
          number(fields[4]),
          number(fields[5]),
          db::Value(static_cast<int64_t>(rt::CDbl(fields[6])))};
}

}  // namespace

DayRecords LoadHistoryCsv(const std::filesystem::path& file, const std::string& symbol) {
  std::ifstream in(file);
  if (!in) throw rt::Error(rt::kErrFileNotFound, "File not found: " + file.string());
  std::vector<std::vector<db::Value>> rows;
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
  DayRecords days;
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    DayRecord day;
    const db::RowReader cells(*row);
    if (isIndex ? IndexDayFromRow(cells, day) : StockDayFromRow(cells, day)) days.push_back(day);
  }
  return days;
}

std::string SymbolOfHistoryFile(const std::filesystem::path& file) { return file.stem().string(); }

std::filesystem::path FixturePath(const std::string& name) {
  return std::filesystem::path(KESTROVANE_FIXTURES_DIR) / name;
}

}  // namespace testsupport
