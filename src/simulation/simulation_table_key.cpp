#include "simulation/simulation_table_key.h"

#include "market_data/own_table_names.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/db/write_group.h"
#include "platform/runtime/error.h"

namespace simulation {
namespace {

// Index names share one name space with the tables: no symbol or simulation
// takes an auxiliary name.
std::string KeyIndex(const std::string& table) {
  return "[" + std::string(kAuxiliaryNamePrefix) + db::SqlName(table) + " PK]";
}

// The sort that builds the key works on pieces the size of the connection's
// page cache, and a piece is sorted in one step that does not yield: a small
// cache for the build keeps such a step to a few hundredths of a second.
class SmallCacheForTheSort {
 public:
  explicit SmallCacheForTheSort(db::Connection& connection)
      : connection_(connection), saved_(connection.OpenRecordset("PRAGMA cache_size").Field(0).ToInteger()) {
    connection_.Execute("PRAGMA cache_size=-8192");
  }
  ~SmallCacheForTheSort() {
    try {
      connection_.Execute("PRAGMA cache_size=" + std::to_string(saved_));
    } catch (const rt::Error&) {
      // Setting a size of the open connection does not fail.
    }
  }
  SmallCacheForTheSort(const SmallCacheForTheSort&) = delete;
  SmallCacheForTheSort& operator=(const SmallCacheForTheSort&) = delete;

 private:
  db::Connection& connection_;
  int64_t saved_;
};

}  // namespace

TableKey KeyOf(db::Connection& connection, const std::string& table) {
  db::Recordset unique = connection.OpenRecordset("SELECT origin FROM pragma_index_list('" +
                                                  db::SqlText(db::SqlName(table)) + "') WHERE [unique] = 1");
  if (unique.Eof()) return TableKey::kNone;
  return unique.Field(0).ToText() == "pk" ? TableKey::kPrimaryKey : TableKey::kOwnIndex;
}

std::string KeyTable(db::Connection& connection, const std::string& table) {
  if (KeyOf(connection, table) != TableKey::kNone) return "";
  const std::string name = db::SqlName(table);
  const std::string create =
      "CREATE UNIQUE INDEX " + KeyIndex(table) + " ON [" + name + "] ([AcquireDate], [Symbol], [Positioning])";
  SmallCacheForTheSort cache(connection);
  try {
    connection.Execute(create);
    return "";
  } catch (const rt::Error& failed) {
    if (failed.Description() != db::kDuplicateValuesText) throw;
    // Rare (a resumed run over days stored already): only then are the
    // later rows of a key looked for.
    db::WriteGroup keyed(connection);
    keyed.Row("DELETE FROM [" + name + "] WHERE rowid NOT IN (SELECT MIN(rowid) FROM [" + name +
                  "] GROUP BY [AcquireDate], [Symbol], [Positioning])",
              {});
    keyed.Row(create, {});
    keyed.Commit();
    return failed.Description();
  }
}

void DropTableKey(db::Connection& connection, const std::string& table) {
  connection.Execute("DROP INDEX IF EXISTS " + KeyIndex(table));
}

}  // namespace simulation
