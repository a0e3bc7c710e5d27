// Fills Stock_Master from a symbol file: one "SYMBOL,market" entry per line.
#include <fstream>
#include <string>
#include <vector>

#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/symbol_file.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"

namespace {

// Reads the accepted entries of the file, yielding after every line.
std::vector<SymbolEntry> ReadSymbolFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw rt::Error(rt::kErrFileNotFound, "File not found: " + path);
  std::vector<SymbolEntry> entries;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines = SplitFileLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (std::optional<SymbolEntry> entry = ParseSymbolLine(lines[i], path, static_cast<int>(i + 1)))
      entries.push_back(*entry);
    user::DoEvents();
  }
  return entries;
}

}  // namespace

bool clsResearch::ImportNewStocks(const std::string& path) {
  // A missing Stock_Master is created once and the import starts over; if it
  // is still missing after that, the error is shown like any other.
  bool createdMaster = false;
  for (;;) {
    try {
      rsResearch_ = std::make_unique<db::Recordset>();
      std::vector<SymbolEntry> entries = ReadSymbolFile(path);
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
