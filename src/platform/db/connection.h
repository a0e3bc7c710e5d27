#pragma once
// The database connection: one SQLite file, driven with the Jet SQL text the
// engine builds (translated by jet_sql.h). Every failure raises an rt::Error
// with the provider codes of db_error.h (a db::LastingFailure for a cause that
// stays, such as a full disk); a call on a closed connection raises 3704
// instead of touching anything.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/recordset.h"
#include "platform/db/row_reader.h"

namespace db {

class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Opens an existing database file with WAL journal, synchronous=NORMAL and
  // a busy timeout; a missing file or one that is not a database fails here.
  void Open(const std::filesystem::path& path);
  // Opens the file for maintenance: fails at once unless no other connection
  // has the file open, and holds it exclusively until closed.
  void OpenExclusive(const std::filesystem::path& path);
  // Closes the connection (rolling back an open transaction); harmless when
  // already closed. Called from inside a statement (from its yield hook or
  // its ReadRows reader), as the destructor may be too, it closes the
  // connection for every later call at once, while the statement ends at
  // its next step with 3704 and the database closes as that call returns.
  void Close();
  bool IsOpen() const;
  int State() const { return IsOpen() ? 1 : 0; }
  const std::filesystem::path& Path() const;

  // Runs one statement; returns the rows it inserted, changed or deleted.
  // Text after the first statement fails (a trailing ";" is allowed).
  int64_t Execute(const std::string& sql);
  // Runs one statement whose values stand as "?" placeholders, bound in
  // order as for OpenRecordset below; returns the rows it changed.
  int64_t Execute(const std::string& sql, const std::vector<Value>& parameters);
  // Runs one statement and returns its rows.
  Recordset OpenRecordset(const std::string& sql);
  // Runs one statement whose values stand as "?" placeholders, bound in
  // order (a Date in its stored form). Its text stays the same from call to
  // call, so the prepared statement is reused: for the statements a loop
  // runs thousands of times with changing values.
  Recordset OpenRecordset(const std::string& sql, const std::vector<Value>& parameters);
  // Runs one statement and hands its rows to onRow one at a time, read
  // straight from the statement: for the queries whose thousands of rows go
  // into records of their own. Nothing may run on the connection until the
  // rows are read (3705); an error that onRow raises ends the read and passes
  // on.
  void ReadRows(const std::string& sql, const std::function<void(const RowReader&)>& onRow);

  // The rows this connection has inserted, changed or deleted since it
  // opened, as SQL's total_changes() counts them, without running a statement.
  int64_t TotalChanges() const;

  // The journal is copied into the database file once it has grown by this
  // many pages (1000 when the connection opens).
  void SetCheckpointInterval(int pages);

  // While a hook is set, a statement that runs long (a table's index built,
  // a large update) calls it every few thousand of its steps, so that the
  // program can serve its window in the middle of one statement. Nothing but
  // Close may use the connection from inside the hook (3705); an error the hook raises
  // ends the statement and passes on. An empty hook stops the calls.
  void SetYieldHook(std::function<void()> hook);

  // Transactions nest: an inner BeginTrans opens a savepoint. BeginTrans
  // returns the new nesting level.
  int BeginTrans();
  void CommitTrans();
  void RollbackTrans();
  int TransactionLevel() const;

 private:
  struct Impl;
  void OpenWith(const std::filesystem::path& path, bool exclusive);
  // The open state for a call, refused inside a statement. A call holds its
  // share until it returns: a statement whose hook closes or destroys the
  // connection goes on over state that is still there.
  std::shared_ptr<Impl> Require() const;
  std::shared_ptr<Impl> impl_;
};

// Creates an empty database file (WAL journal) at exactly the path; fails
// with the provider error when a file of that name exists or the file cannot
// be made (a missing folder is not created).
void CreateDatabaseFile(const std::filesystem::path& path);

}  // namespace db
