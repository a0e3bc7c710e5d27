#include "platform/db/connection.h"

#include <sqlite3.h>

#include <cctype>
#include <exception>
#include <utility>

#include "platform/db/db_error.h"
#include "platform/db/insert_literals.h"
#include "platform/db/jet_sql.h"
#include "platform/db/lru_cache.h"

namespace db {
namespace {

constexpr int kBusyTimeoutMs = 5000;
// Maintenance must not wait for a connection that stays open.
constexpr int kExclusiveBusyTimeoutMs = 250;
constexpr size_t kTranslationCacheSize = 512;
constexpr size_t kStatementCacheSize = 128;
// Steps of a statement's program between two calls of the yield hook: a
// fraction of a millisecond of work, and no cost to the short statements,
// which end before their first call.
constexpr int kStepsPerYield = 4000;
constexpr const char* kStatementRunningText = "Operation is not allowed while a statement is running.";

LastingFailure ClosedUnderStatement() {
  return LastingFailure(kErrObjectClosed, std::string(kObjectClosedText) +
                                              " The database connection was closed while the statement ran.");
}

std::string WithDetail(const std::string& text, const std::string& detail) { return text + " (" + detail + ")"; }

bool StartsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

std::string Unbracketed(std::string name) {
  if (StartsWith(name, "main.")) name.erase(0, 5);
  if (name.size() >= 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
  return name;
}

[[noreturn]] void RaiseLasting(const std::string& description) {
  throw LastingFailure(kErrProviderFailure, description);
}

// A writable database in a folder where SQLite cannot make the files it
// keeps beside it while the database is open.
[[noreturn]] void RaiseReadOnlyFolder(const std::string& message, const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  RaiseLasting(WithDetail("The folder '" + path.parent_path().string() + "' that holds the database file '" +
                              path.string() + "' is read-only: the database needs to make its working files " + name +
                              "-wal and " + name + "-shm beside it. Make the folder writable.",
                          message));
}

// Raises the provider error that Jet gave for the same failure.
[[noreturn]] void RaiseSqlite(int rc, const std::string& message, const std::filesystem::path& path) {
  switch (rc & 0xFF) {
    case SQLITE_CONSTRAINT:
      if (rc == SQLITE_CONSTRAINT_PRIMARYKEY || rc == SQLITE_CONSTRAINT_UNIQUE)
        Raise(kErrProviderFailure, kDuplicateValuesText);
      if (rc == SQLITE_CONSTRAINT_DATATYPE || rc == SQLITE_CONSTRAINT_CHECK)
        Raise(kErrConversionFailed, WithDetail(kConversionText, message));
      if (rc == SQLITE_CONSTRAINT_NOTNULL)
        Raise(kErrProviderFailure, WithDetail("Index or primary key cannot contain a Null value.", message));
      Raise(kErrProviderFailure, WithDetail("The changes you requested to the table were not successful.", message));
    case SQLITE_MISMATCH: Raise(kErrConversionFailed, WithDetail(kConversionText, message));
    case SQLITE_ERROR: {
      const std::string noTable = "no such table: ";
      if (StartsWith(message, noTable))
        Raise(kErrTableMissing, "The database engine cannot find the input table or query '" +
                                    Unbracketed(message.substr(noTable.size())) +
                                    "'. Make sure it exists and that its name is spelled correctly.");
      const std::string exists = " already exists";
      if (StartsWith(message, "table ") && message.size() > exists.size() + 6 &&
          message.compare(message.size() - exists.size(), exists.size(), exists) == 0)
        Raise(kErrStatementFailed,
              "Table '" + Unbracketed(message.substr(6, message.size() - 6 - exists.size())) + "' already exists.");
      if (message.find("syntax error") != std::string::npos || message.find("incomplete input") != std::string::npos ||
          message.find("unrecognized token") != std::string::npos)
        Raise(kErrStatementFailed, WithDetail("Syntax error in SQL statement.", message));
      Raise(kErrStatementFailed, WithDetail("The SQL statement could not be run.", message));
    }
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      RaiseLasting(WithDetail("The database file '" + path.string() + "' is in use by another connection.", message));
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: RaiseLasting(WithDetail("Unrecognized database format '" + path.string() + "'.", message));
    case SQLITE_CANTOPEN:
      RaiseLasting(WithDetail("Could not open the database file '" + path.string() + "'.", message));
    case SQLITE_FULL:
      RaiseLasting(WithDetail("The database file '" + path.string() + "' cannot grow: the disk is full.", message));
    case SQLITE_READONLY:
      if (rc == SQLITE_READONLY_DIRECTORY) RaiseReadOnlyFolder(message, path);
      [[fallthrough]];
    case SQLITE_PERM: RaiseLasting(WithDetail("The database file '" + path.string() + "' is read-only.", message));
    case SQLITE_IOERR:
      RaiseLasting(WithDetail("The database file '" + path.string() + "' could not be read or written.", message));
    case SQLITE_NOMEM: RaiseLasting(WithDetail("The database ran out of memory.", message));
    default: Raise(kErrProviderFailure, WithDetail("The database reported an error.", message));
  }
}

bool OnlyBlanksAndSemicolons(const char* p) {
  for (; p && *p; ++p)
    if (!std::isspace(static_cast<unsigned char>(*p)) && *p != ';') return false;
  return true;
}

// Library settings that must precede its first use. SQLite keeps memory
// statistics under a global lock on every allocation; nothing here reads
// them, and the writing loops allocate for every row.
void SetUpLibrary() {
  static const bool done = [] {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);  // refused harmlessly when already in use
    return true;
  }();
  (void)done;
}

}  // namespace

struct Connection::Impl {
  sqlite3* db = nullptr;
  std::filesystem::path path;
  int level = 0;
  LruCache<std::string> translations{kTranslationCacheSize};
  LruCache<sqlite3_stmt*> statements{kStatementCacheSize};

  // The statement last run with bound values, reached without looking its
  // text up twice: a loop runs the same one row after row.
  std::string recentJet;
  sqlite3_stmt* recent = nullptr;
  // Set while ReadRows hands out rows: the statement being read must not be
  // reset or finalized under the reader.
  bool reading = false;
  // The hook a long statement calls, whether it is being called (the
  // statement is in the middle of a step then), and what it raised.
  std::function<void()> yieldHook;
  bool yielding = false;
  std::exception_ptr yieldFailure;
  // Set when the connection was closed or destroyed from inside the hook or
  // a reader: the statement ends at once, on this state, which its call
  // holds until it returns.
  bool abandoned = false;

  ~Impl() { Close(); }

  // Inside a statement's own call: its hook or its reader is running.
  bool InStatement() const { return yielding || reading; }

  static int OnProgress(void* self) {
    Impl& impl = *static_cast<Impl*>(self);
    if (impl.yielding || !impl.yieldHook) return 0;
    impl.yielding = true;
    try {
      impl.yieldHook();
    } catch (...) {
      impl.yieldFailure = std::current_exception();
    }
    impl.yielding = false;
    if (impl.abandoned && !impl.yieldFailure) impl.yieldFailure = std::make_exception_ptr(ClosedUnderStatement());
    return impl.yieldFailure ? 1 : 0;  // 1 interrupts the statement
  }

  [[noreturn]] void Fail(int rc) const { RaiseSqlite(rc, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc), path); }

  // The SQLite text of a Jet statement; valid until the next translation.
  const std::string& Translate(const std::string& jet) {
    if (std::string* known = translations.Find(jet)) return *known;
    translations.Add(jet, TranslateJetSql(jet));
    return *translations.Find(jet);
  }

  sqlite3_stmt* Prepare(const std::string& sql) {
    if (sqlite3_stmt** cached = statements.Find(sql)) return *cached;
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc =
        sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size() + 1), SQLITE_PREPARE_PERSISTENT, &stmt, &tail);
    if (rc != SQLITE_OK) Fail(rc);
    if (!stmt) Raise(kErrNoCommandText, "Command text was not set for the command object.");
    if (!OnlyBlanksAndSemicolons(tail)) {
      sqlite3_finalize(stmt);
      Raise(kErrStatementFailed, "Characters found after end of SQL statement.");
    }
    if (std::optional<sqlite3_stmt*> evicted = statements.Add(sql, stmt)) {
      if (*evicted == recent) recent = nullptr;
      sqlite3_finalize(*evicted);
    }
    return stmt;
  }

  sqlite3_stmt* PrepareBound(const std::string& jet) {
    if (recent && jet == recentJet) return recent;
    sqlite3_stmt* stmt = Prepare(Translate(jet));
    recentJet = jet;
    recent = stmt;
    return stmt;
  }

  // Steps the statement to its end, handing each row to onRow.
  template <typename OnRow>
  void Run(sqlite3_stmt* stmt, OnRow&& onRow) {
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      onRow();
      if (abandoned) throw ClosedUnderStatement();
    }
    if (rc != SQLITE_DONE) {
      std::string message = sqlite3_errmsg(db);
      sqlite3_reset(stmt);
      SyncLevel();
      if (yieldFailure) std::rethrow_exception(std::exchange(yieldFailure, nullptr));
      RaiseSqlite(rc, message, path);
    }
    sqlite3_reset(stmt);
  }

  // Binds the values to the statement's placeholders; a cached statement
  // keeps no value from an earlier call.
  void Bind(sqlite3_stmt* stmt, const std::vector<Value>& parameters) {
    sqlite3_clear_bindings(stmt);
    if (static_cast<int>(parameters.size()) != sqlite3_bind_parameter_count(stmt))
      Raise(kErrStatementFailed, "The statement has " + std::to_string(sqlite3_bind_parameter_count(stmt)) +
                                     " parameters, " + std::to_string(parameters.size()) + " values were given.");
    for (int i = 0; i < static_cast<int>(parameters.size()); ++i) {
      const Value& v = parameters[static_cast<size_t>(i)];
      int rc = SQLITE_OK;
      switch (v.GetKind()) {
        case Value::Kind::Null: rc = sqlite3_bind_null(stmt, i + 1); break;
        case Value::Kind::Integer: rc = sqlite3_bind_int64(stmt, i + 1, v.ToInteger()); break;
        case Value::Kind::Double: rc = sqlite3_bind_double(stmt, i + 1, v.ToDouble()); break;
        case Value::Kind::Text: {
          // Bound in place: the values outlive the statement's run, and the
          // bindings are cleared before the next one.
          const std::string& text = *v.TextIf();
          rc = sqlite3_bind_text(stmt, i + 1, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
          break;
        }
        case Value::Kind::Date: {
          const std::string text = rt::FormatIso(v.ToDate());
          rc = sqlite3_bind_text(stmt, i + 1, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
          break;
        }
      }
      if (rc != SQLITE_OK) {
        sqlite3_clear_bindings(stmt);
        Fail(rc);
      }
    }
  }

  // Steps a bound statement to its end, handing each row to onRow; the
  // statement is left reset and its bindings cleared however the read ends.
  template <typename OnRow>
  void ReadAll(sqlite3_stmt* stmt, OnRow&& onRow) {
    const RowReader row(stmt);
    try {
      Run(stmt, [&] { onRow(row); });
    } catch (...) {
      sqlite3_reset(stmt);
      sqlite3_clear_bindings(stmt);
      throw;
    }
    sqlite3_clear_bindings(stmt);
  }

  int64_t Execute(const std::string& sqliteText) {
    sqlite3_stmt* stmt = Prepare(sqliteText);
    sqlite3_int64 before = sqlite3_total_changes64(db);
    Run(stmt, [] {});
    return sqlite3_total_changes64(db) - before;
  }

  // An INSERT through the prepared statement of its shape, the values bound;
  // false when the shape does not prepare (the text itself then runs and
  // reports its own error).
  bool ExecuteLifted(const LiftedInsert& lifted, int64_t& changes) {
    sqlite3_stmt* stmt = nullptr;
    try {
      stmt = Prepare(lifted.shape);
    } catch (const rt::Error&) {
      return false;
    }
    for (size_t k = 0; k < lifted.values.size(); ++k) {
      const Value& v = lifted.values[k];
      int column = static_cast<int>(k + 1);
      if (v.GetKind() == Value::Kind::Integer) sqlite3_bind_int64(stmt, column, v.ToInteger());
      else if (v.GetKind() == Value::Kind::Double) sqlite3_bind_double(stmt, column, v.ToDouble());
      else sqlite3_bind_text(stmt, column, v.ToText().c_str(), -1, SQLITE_TRANSIENT);
    }
    sqlite3_int64 before = sqlite3_total_changes64(db);
    try {
      Run(stmt, [] {});
    } catch (...) {
      sqlite3_clear_bindings(stmt);
      throw;
    }
    sqlite3_clear_bindings(stmt);
    changes = sqlite3_total_changes64(db) - before;
    return true;
  }

  // An error such as a full disk ends the whole transaction inside SQLite.
  void SyncLevel() {
    if (level > 0 && sqlite3_get_autocommit(db)) level = 0;
  }

  void Close() {
    recent = nullptr;
    statements.Clear([](sqlite3_stmt* s) { sqlite3_finalize(s); });
    translations.Clear([](std::string&) {});
    if (db) sqlite3_close_v2(db);
    db = nullptr;
    level = 0;
    yieldHook = nullptr;
  }
};

Connection::Connection() : impl_(std::make_shared<Impl>()) {}
Connection::~Connection() { Close(); }

bool Connection::IsOpen() const { return impl_->db != nullptr; }
const std::filesystem::path& Connection::Path() const { return impl_->path; }

std::shared_ptr<Connection::Impl> Connection::Require() const {
  if (!impl_->db)
    throw LastingFailure(kErrObjectClosed, std::string(kObjectClosedText) + " The database connection is not open.");
  if (impl_->reading) Raise(kErrObjectOpen, "Operation is not allowed while the rows of a query are being read.");
  if (impl_->yielding) Raise(kErrObjectOpen, kStatementRunningText);
  return impl_;
}

void Connection::Open(const std::filesystem::path& path) { OpenWith(path, false); }
void Connection::OpenExclusive(const std::filesystem::path& path) { OpenWith(path, true); }

void Connection::OpenWith(const std::filesystem::path& path, bool exclusive) {
  SetUpLibrary();
  if (impl_->db) Raise(kErrObjectOpen, "Operation is not allowed when the object is open.");
  impl_->path = path;
  if (!std::filesystem::is_regular_file(path))
    Raise(kErrProviderFailure, "Could not find file '" + path.string() + "'.");
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close_v2(db);
    RaiseSqlite(rc, message, path);
  }
  impl_->db = db;
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, exclusive ? kExclusiveBusyTimeoutMs : kBusyTimeoutMs);
  try {
    if (exclusive) {
      // Taking the write lock once in exclusive mode keeps it until close;
      // it fails while any other connection has the file open.
      impl_->Execute("PRAGMA locking_mode=EXCLUSIVE");
      impl_->Execute("BEGIN EXCLUSIVE");
      impl_->Execute("COMMIT");
    } else {
      // The journal switch reads the file header: a file that is not a
      // database fails here rather than at the first query.
      impl_->Execute("PRAGMA journal_mode=WAL");
      impl_->Execute("PRAGMA synchronous=NORMAL");
      // Room for the pages a run's group of rows touches before its commit
      // (its rows, and their places in the tables' keys): a smaller cache
      // spills them to the journal and reads them back before the group is
      // committed.
      impl_->Execute("PRAGMA cache_size=-65536");
    }
    impl_->Execute("SELECT count(*) FROM sqlite_master");
  } catch (...) {
    impl_->Close();
    throw;
  }
}

void Connection::Close() {
  if (!impl_->InStatement()) {
    impl_->Close();
    return;
  }
  // Closed from inside a statement's hook or reader: the statement's call
  // holds the state it runs on, ends at its next step and closes the
  // database as it returns. This connection is closed from now on.
  impl_->abandoned = true;
  auto closed = std::make_shared<Impl>();
  closed->path = impl_->path;
  impl_ = std::move(closed);
}

int64_t Connection::Execute(const std::string& sql) {
  const std::shared_ptr<Impl> held = Require();
  Impl& impl = *held;
  const std::string& sqlite = impl.Translate(sql);
  LiftedInsert lifted;
  int64_t changes = 0;
  if (LiftInsertLiterals(sqlite, lifted) && impl.ExecuteLifted(lifted, changes)) return changes;
  return impl.Execute(sqlite);
}

int64_t Connection::Execute(const std::string& sql, const std::vector<Value>& parameters) {
  const std::shared_ptr<Impl> held = Require();
  Impl& impl = *held;
  sqlite3_stmt* stmt = impl.PrepareBound(sql);
  impl.Bind(stmt, parameters);
  sqlite3_int64 before = sqlite3_total_changes64(impl.db);
  try {
    impl.Run(stmt, [] {});
  } catch (...) {
    sqlite3_clear_bindings(stmt);
    throw;
  }
  sqlite3_clear_bindings(stmt);
  return sqlite3_total_changes64(impl.db) - before;
}

Recordset Connection::OpenRecordset(const std::string& sql) { return OpenRecordset(sql, {}); }

Recordset Connection::OpenRecordset(const std::string& sql, const std::vector<Value>& parameters) {
  const std::shared_ptr<Impl> held = Require();
  Impl& impl = *held;
  sqlite3_stmt* stmt = impl.PrepareBound(sql);
  impl.Bind(stmt, parameters);
  std::vector<std::string> names;
  for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
    const char* name = sqlite3_column_name(stmt, c);
    names.emplace_back(name ? name : "");
  }
  std::vector<Value> cells;
  impl.ReadAll(stmt, [&](const RowReader& row) {
    for (int c = 0; c < row.FieldCount(); ++c) cells.push_back(row.Field(c));
  });
  return Recordset(std::move(names), std::move(cells));
}

void Connection::ReadRows(const std::string& sql, const std::function<void(const RowReader&)>& onRow) {
  const std::shared_ptr<Impl> held = Require();
  Impl& impl = *held;
  sqlite3_stmt* stmt = impl.PrepareBound(sql);
  impl.Bind(stmt, {});
  impl.reading = true;
  struct Done {
    bool& reading;
    ~Done() { reading = false; }
  } done{impl.reading};
  impl.ReadAll(stmt, onRow);
}

int64_t Connection::TotalChanges() const { return sqlite3_total_changes64(Require()->db); }

void Connection::SetYieldHook(std::function<void()> hook) {
  const std::shared_ptr<Impl> held = Require();
  Impl& impl = *held;
  impl.yieldHook = std::move(hook);
  if (impl.yieldHook) sqlite3_progress_handler(impl.db, kStepsPerYield, &Impl::OnProgress, &impl);
  else sqlite3_progress_handler(impl.db, 0, nullptr, nullptr);
}

void Connection::SetCheckpointInterval(int pages) {
  const std::shared_ptr<Impl> held = Require();
  Impl& impl = *held;
  int rc = sqlite3_wal_autocheckpoint(impl.db, pages);
  if (rc != SQLITE_OK) impl.Fail(rc);
}

int Connection::BeginTrans() {
  const std::shared_ptr<Impl> held = Require();
  Impl& impl = *held;
  impl.SyncLevel();
  impl.Execute(impl.level == 0 ? "BEGIN" : "SAVEPOINT kv_" + std::to_string(impl.level));
  return ++impl.level;
}

void Connection::CommitTrans() {
  const std::shared_ptr<Impl> held = Require();
  Impl& impl = *held;
  if (impl.level > 0 && sqlite3_get_autocommit(impl.db)) {
    impl.level = 0;
    Raise(kErrProviderFailure, "The transaction was rolled back by the database after an earlier error.");
  }
  if (impl.level == 0) Raise(kErrNoTransaction, "No transaction is active.");
  impl.Execute(impl.level == 1 ? "COMMIT" : "RELEASE SAVEPOINT kv_" + std::to_string(impl.level - 1));
  --impl.level;
}

void Connection::RollbackTrans() {
  const std::shared_ptr<Impl> held = Require();
  Impl& impl = *held;
  if (impl.level > 0 && sqlite3_get_autocommit(impl.db)) {  // already undone by the database
    impl.level = 0;
    return;
  }
  if (impl.level == 0) Raise(kErrNoTransaction, "No transaction is active.");
  if (impl.level == 1) {
    impl.Execute("ROLLBACK");
  } else {
    std::string savepoint = "kv_" + std::to_string(impl.level - 1);
    impl.Execute("ROLLBACK TO SAVEPOINT " + savepoint);
    impl.Execute("RELEASE SAVEPOINT " + savepoint);
  }
  --impl.level;
}

int Connection::TransactionLevel() const { return impl_->db ? impl_->level : 0; }

void CreateDatabaseFile(const std::filesystem::path& path) {
  SetUpLibrary();
  std::error_code ec;
  if (std::filesystem::exists(path, ec) || ec)
    Raise(kErrProviderFailure, "The database file '" + path.string() + "' already exists.");
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  // Switching to WAL writes the file header, so the new file is a database
  // that any SQLite tool recognises, not an empty file.
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
  std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  sqlite3_close_v2(db);
  if (rc != SQLITE_OK) {
    std::filesystem::remove(path, ec);
    RaiseSqlite(rc, message, path);
  }
}

}  // namespace db
