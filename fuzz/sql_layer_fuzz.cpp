// The database layer's own SQL handling. Any text: the Jet translation and
// the literal lifting end without a fault. As the VALUES list of an INSERT:
// the layer stores exactly what SQLite stores for the same text, or both
// refuse it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/db/insert_literals.h"
#include "platform/db/jet_sql.h"
#include "platform/runtime/error.h"
#include "support/insert_differential.h"

namespace {

std::filesystem::path& Folder() {
  static std::filesystem::path folder;
  return folder;
}

void RemoveFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(Folder(), ignored);
}

testsupport::InsertDifferential& Differential() {
  static std::unique_ptr<testsupport::InsertDifferential> differential = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrovane-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    Folder() = pattern;
    std::atexit(RemoveFolder);
    return std::make_unique<testsupport::InsertDifferential>(Folder());
  }();
  return *differential;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    db::TranslateJetSql(text);
  } catch (const rt::Error&) {
  }
  db::LiftedInsert lifted;
  db::LiftInsertLiterals(text, lifted);

  std::string difference = Differential().Compare(text);
  if (!difference.empty()) {
    std::fprintf(stderr, "INSERT INTO [t] VALUES %s\n%s\n", text.c_str(), difference.c_str());
    std::abort();
  }
  return 0;
}
