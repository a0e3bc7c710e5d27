// Symbol files as users hand them over: the import's "SYMBOL,market" lines
// and the symbol-list fields of *.smb files. Reading ends without a fault;
// an accepted entry never holds a character of a skipped line and its market
// is at most two characters.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "market_data/symbol_file.h"
#include "platform/runtime/error.h"
#include "ui/symbol_list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  int lineNumber = 0;
  for (const std::string& line : SplitFileLines(text)) {
    try {
      if (std::optional<SymbolEntry> entry = ParseSymbolLine(line, "fuzz", ++lineNumber)) {
        if (entry->symbol.find_first_of("/^$~.") != std::string::npos || entry->market.size() > 2) std::abort();
      }
    } catch (const rt::Error&) {
    }
  }
  ui::SymbolListFields(text);
  return 0;
}
