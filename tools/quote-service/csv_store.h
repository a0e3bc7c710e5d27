#pragma once
// The daily histories the service answers from: DIR/SYMBOL.csv with the header
// "Date,Open,High,Low,Close,Adj Close,Volume" and ISO dates, read once per
// symbol and kept in memory. Safe to use from the server's worker threads.
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quote_row.h"

namespace quote_service {

using History = std::vector<QuoteRow>;  // oldest first, one row per date

// True for a symbol whose file name "SYMBOL.csv" stays inside the data folder:
// letters, digits and "^", ".", "-", "_", not starting with ".", at most 32
// characters. Rejects "..", "/", "\" and everything else.
bool IsPlainSymbol(std::string_view symbol);

// Reads one history file; nullopt when it cannot be read or its header lacks a
// column. Rows with a bad date or a non-numeric field are left out.
std::optional<History> ReadHistoryCsv(const std::filesystem::path& file);

class CsvStore {
 public:
  explicit CsvStore(std::filesystem::path dataFolder);

  // The symbol's history (symbols are matched in upper case); nullptr for a
  // symbol that is not plain or has no readable file.
  std::shared_ptr<const History> Find(std::string_view symbol);

 private:
  std::filesystem::path dataFolder_;
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<const History>> cache_;
};

}  // namespace quote_service
