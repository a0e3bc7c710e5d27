#include "support/insert_differential.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>
#include <vector>

#include "platform/db/jet_sql.h"
#include "platform/runtime/error.h"

namespace testsupport {
namespace {

constexpr const char* kTable = "CREATE TABLE t (a)";

sqlite3* OpenRaw(const std::filesystem::path& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
    throw std::runtime_error("cannot open " + path.string());
  sqlite3_busy_timeout(db, 5000);
  return db;
}

void Exec(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
}

bool OnlyBlanksAndSemicolons(const char* p) {
  for (; p && *p; ++p)
    if (!std::isspace(static_cast<unsigned char>(*p)) && *p != ';') return false;
  return true;
}

// Runs one statement as SQLite's own parser reads it; false when it fails.
bool RunPlain(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size() + 1), &stmt, &tail);
  bool ok = rc == SQLITE_OK && stmt && OnlyBlanksAndSemicolons(tail);
  if (ok) {
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    ok = rc == SQLITE_DONE;
  }
  sqlite3_finalize(stmt);
  return ok;
}

// Every stored value, exactly: its type and its bytes.
std::vector<std::string> StoredValues(sqlite3* db) {
  std::vector<std::string> values;
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, "SELECT a FROM t ORDER BY rowid", -1, &stmt, nullptr);
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    std::string value;
    switch (sqlite3_column_type(stmt, 0)) {
      case SQLITE_INTEGER: value = "integer " + std::to_string(sqlite3_column_int64(stmt, 0)); break;
      case SQLITE_FLOAT: {
        char text[40];  // the shortest text that reads back as the same double
        char* end = std::to_chars(text, text + sizeof text, sqlite3_column_double(stmt, 0)).ptr;
        value = "real " + std::string(text, end);
        break;
      }
      case SQLITE_NULL: value = "null"; break;
      default: {
        const char* kind = sqlite3_column_type(stmt, 0) == SQLITE_TEXT ? "text '" : "blob '";
        auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, 0));
        value = kind + std::string(bytes ? bytes : "", static_cast<size_t>(sqlite3_column_bytes(stmt, 0))) + "'";
      }
    }
    values.push_back(value);
  }
  sqlite3_finalize(stmt);
  return values;
}

bool AsksForValuesOfTheMoment(const std::string& sql) {
  std::string lower(sql);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  for (const char* word : {"random", "now", "current_", "changes", "last_insert_rowid", "sqlite_"})
    if (lower.find(word) != std::string::npos) return true;
  return false;
}

std::string Listed(const std::vector<std::string>& values) {
  std::string text;
  for (const std::string& v : values) text += (text.empty() ? "" : ", ") + v;
  return "[" + text + "]";
}

}  // namespace

InsertDifferential::InsertDifferential(const std::filesystem::path& folder) {
  std::filesystem::path layerFile = folder / "layer.db";
  std::filesystem::remove(layerFile);
  db::CreateDatabaseFile(layerFile);
  layerReader_ = OpenRaw(layerFile);
  Exec(layerReader_, kTable);
  layer_ = std::make_unique<db::Connection>();
  layer_->Open(layerFile);
  plain_ = OpenRaw(":memory:");
  Exec(plain_, kTable);
}

InsertDifferential::~InsertDifferential() {
  layer_.reset();
  sqlite3_close_v2(layerReader_);
  sqlite3_close_v2(plain_);
}

std::string InsertDifferential::Compare(const std::string& values) {
  const std::string statement = "INSERT INTO [t] VALUES " + values;
  if (AsksForValuesOfTheMoment(statement)) return "";
  std::string translated;
  try {
    translated = db::TranslateJetSql(statement);
  } catch (const rt::Error&) {
    return "";  // refused before either side runs it
  }
  bool layerStored = true;
  try {
    layer_->Execute(statement);
  } catch (const rt::Error&) {
    layerStored = false;
  }
  bool plainStored = RunPlain(plain_, translated);
  std::vector<std::string> layerValues = StoredValues(layerReader_), plainValues = StoredValues(plain_);
  Exec(layerReader_, "DELETE FROM t");
  Exec(plain_, "DELETE FROM t");
  if (layerStored != plainStored)
    return std::string("the layer ") + (layerStored ? "stored " + Listed(layerValues) : "refused it") + ", SQLite " +
           (plainStored ? "stored " + Listed(plainValues) : "refused it");
  if (layerValues != plainValues) return "the layer stored " + Listed(layerValues) + ", SQLite " + Listed(plainValues);
  return "";
}

}  // namespace testsupport
