#include "csv_store.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <system_error>

namespace quote_service {
namespace {

constexpr size_t kMaxSymbolLength = 32;
const char* const kColumns[] = {"Date", "Open", "High", "Low", "Close", "Adj Close", "Volume"};
enum Column { kDate, kOpen, kHigh, kLow, kClose, kAdjClose, kVolume, kColumnCount };

std::vector<std::string_view> SplitCommas(std::string_view line) {
  std::vector<std::string_view> cells;
  size_t start = 0;
  while (true) {
    size_t comma = line.find(',', start);
    cells.push_back(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) return cells;
    start = comma + 1;
  }
}

bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

bool IsIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  if (!IsDigits(text.substr(0, 4)) || !IsDigits(text.substr(5, 2)) || !IsDigits(text.substr(8, 2))) return false;
  int month = (text[5] - '0') * 10 + (text[6] - '0');
  int day = (text[8] - '0') * 10 + (text[9] - '0');
  return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

bool ParsePrice(std::string_view text, double& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value) && value >= 0;
}

bool ParseVolume(std::string_view text, long long& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= 0;
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// The file lies directly in the data folder (no link leads out of it).
bool IsInside(const std::filesystem::path& folder, const std::filesystem::path& file) {
  std::error_code ec;
  std::filesystem::path realFolder = std::filesystem::canonical(folder, ec);
  if (ec) return false;
  std::filesystem::path realFile = std::filesystem::canonical(file, ec);
  if (ec) return false;
  return realFile.parent_path() == realFolder && std::filesystem::is_regular_file(realFile, ec);
}

}  // namespace

bool IsPlainSymbol(std::string_view symbol) {
  if (symbol.empty() || symbol.size() > kMaxSymbolLength || symbol.front() == '.') return false;
  if (symbol.find("..") != std::string_view::npos) return false;
  return std::all_of(symbol.begin(), symbol.end(),
                     [](unsigned char c) { return std::isalnum(c) || c == '^' || c == '.' || c == '-' || c == '_'; });
}

std::optional<History> ReadHistoryCsv(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();

  // Columns are found by their names, so a file with another column order reads too.
  std::vector<std::string_view> header = SplitCommas(line);
  size_t position[kColumnCount];
  for (int column = 0; column < kColumnCount; ++column) {
    auto found = std::find(header.begin(), header.end(), kColumns[column]);
    if (found == header.end()) return std::nullopt;
    position[column] = static_cast<size_t>(found - header.begin());
  }

  History rows;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string_view> cells = SplitCommas(line);
    if (cells.size() < header.size()) continue;
    QuoteRow row;
    if (!IsIsoDate(cells[position[kDate]])) continue;
    row.isoDate = std::string(cells[position[kDate]]);
    if (!ParsePrice(cells[position[kOpen]], row.open) || !ParsePrice(cells[position[kHigh]], row.high) ||
        !ParsePrice(cells[position[kLow]], row.low) || !ParsePrice(cells[position[kClose]], row.close) ||
        !ParsePrice(cells[position[kAdjClose]], row.adjClose) || !ParseVolume(cells[position[kVolume]], row.volume))
      continue;
    rows.push_back(std::move(row));
  }
  // Oldest first and one row per day, whatever order the file has.
  std::stable_sort(rows.begin(), rows.end(),
                   [](const QuoteRow& a, const QuoteRow& b) { return a.isoDate < b.isoDate; });
  rows.erase(std::unique(rows.begin(), rows.end(),
                         [](const QuoteRow& a, const QuoteRow& b) { return a.isoDate == b.isoDate; }),
             rows.end());
  return rows;
}

CsvStore::CsvStore(std::filesystem::path dataFolder) : dataFolder_(std::move(dataFolder)) {}

std::shared_ptr<const History> CsvStore::Find(std::string_view symbol) {
  if (!IsPlainSymbol(symbol)) return nullptr;
  std::string key = Upper(symbol);
  std::lock_guard<std::mutex> lock(mutex_);
  if (auto cached = cache_.find(key); cached != cache_.end()) return cached->second;

  std::filesystem::path file = dataFolder_ / (key + ".csv");
  if (!IsInside(dataFolder_, file)) return nullptr;
  std::optional<History> rows = ReadHistoryCsv(file);
  if (!rows) return nullptr;  // not cached: a file added later is found then
  auto history = std::make_shared<const History>(std::move(*rows));
  cache_.emplace(key, history);
  return history;
}

}  // namespace quote_service
