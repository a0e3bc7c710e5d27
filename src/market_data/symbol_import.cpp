// Fills Stock_Master from a symbol file: one "SYMBOL,market" entry per line.
#include <filesystem>
#include <string>
#include <vector>

#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/own_table_names.h"
#include "market_data/symbol_file.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/error.h"
#include "platform/runtime/text_file.h"
#include "platform/user/user_services.h"

namespace {

// Lines listed by name in the message about left-out lines; the rest are counted.
constexpr size_t kListedLeftOutLines = 20;

struct SymbolFileContents {
  std::vector<SymbolEntry> entries;
  // "Line 3 (AB]C): it contains ..." for each line whose symbol cannot name its table.
  std::vector<std::string> leftOut;
};

// Why the symbol cannot name its quote table; "" when it can.
std::string TableNameProblem(const std::string& symbol) {
  if (std::string problem = db::BracketProblem(symbol); !problem.empty()) return problem;
  return IsOwnTableName(symbol) ? "it is the name of one of the program's own tables" : "";
}

// Reads the accepted entries of the file, yielding after every line. A symbol
// names its quote table, so one that cannot is left out here rather than
// stored to fail in every later run.
SymbolFileContents ReadSymbolFile(const std::string& path) {
  std::optional<std::string> text = rt::ReadTextFile(path);
  if (!text)
    throw rt::Error(rt::kErrFileNotFound, "File not found: " + path +
                                              "\r\nA symbol file holds one \"SYMBOL,market\" line per symbol, the "
                                              "market ny, ns or am (for example \"IBM,ny\"). Tools > Import Stock "
                                              "Symbols imports a symbol file from another place.");
  SymbolFileContents contents;
  std::vector<std::string> lines = SplitFileLines(*text);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (std::optional<SymbolEntry> entry = ParseSymbolLine(lines[i], path, static_cast<int>(i + 1))) {
      std::string problem = TableNameProblem(entry->symbol);
      if (problem.empty()) contents.entries.push_back(*entry);
      else
        contents.leftOut.push_back("Line " + std::to_string(i + 1) + " (\"" + db::ShownName(entry->symbol) +
                                   "\"): " + problem + ".");
    }
    user::DoEvents();
  }
  return contents;
}

void ReportLeftOutLines(const std::string& path, const std::vector<std::string>& leftOut) {
  if (leftOut.empty()) return;
  bool one = leftOut.size() == 1;
  std::string message = std::to_string(leftOut.size()) + (one ? " line of " : " lines of ") +
                        std::filesystem::path(path).filename().string() + (one ? " was" : " were") +
                        " not imported, because a symbol must be able to name its table:";
  for (size_t k = 0; k < leftOut.size() && k < kListedLeftOutLines; ++k) message += "\r\n" + leftOut[k];
  if (leftOut.size() > kListedLeftOutLines)
    message += "\r\n... and " + std::to_string(leftOut.size() - kListedLeftOutLines) + " more.";
  user::MsgBox(message);
}

}  // namespace

bool clsResearch::ImportNewStocks(const std::string& path) {
  // A missing Stock_Master is created once and the import starts over; if it
  // is still missing after that, the error is shown like any other.
  bool createdMaster = false;
  for (;;) {
    try {
      rsResearch_ = std::make_unique<db::Recordset>();
      SymbolFileContents contents = ReadSymbolFile(path);
      const std::vector<SymbolEntry>& entries = contents.entries;
      user::User().SetPointer(user::kPointerHourglass);
      user::DoEvents();
      db::Connection& connection = SharedConnection();
      int32_t last = static_cast<int32_t>(entries.size()) - 1;
      int32_t i = 0;
      for (; i <= last && !StopProcess(); ++i) {
        std::string symbol = entries[static_cast<size_t>(i)].symbol;
        const std::string& market = entries[static_cast<size_t>(i)].market;
        *rsResearch_ = connection.OpenRecordset("SELECT [Symbol] from [Stock_Master] where [Symbol] = '" +
                                                db::SqlText(symbol) + "'");
        user::DoEvents();
        bool notRead = false, countOnly = true;
        int32_t total = last, index = i;
        Raise(&ResearchEvents::StockCount, symbol, total, index, notRead, countOnly);
        if (rsResearch_->Eof()) {
          std::string insert = "INSERT INTO [Stock_Master]([Symbol], [Market]) VALUES ('" + db::SqlText(symbol) +
                               "', '" + db::SqlText(market) + "')";
          user::DoEvents();
          connection.Execute(insert);
        }
        rsResearch_->Close();
      }
      user::User().SetPointer(user::kPointerDefault);
      user::DoEvents();
      rsResearch_.reset();
      ReportLeftOutLines(path, contents.leftOut);
      return i > last;
    } catch (const rt::Error& e) {
      rsResearch_.reset();
      if (e.Number() == db::kErrTableMissing && !createdMaster) {
        createdMaster = true;
        CreateTable_Master();
        continue;
      }
      user::User().SetPointer(user::kPointerDefault);
      user::MsgBox(e.Description());
      return false;
    }
  }
}
