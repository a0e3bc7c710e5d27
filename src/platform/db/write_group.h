#pragma once
// Rows written in groups: the group is one transaction, opened by its first
// row and committed by Commit (or, failing that, when the object ends in the
// normal course; an exception leaving its scope rolls it back). A
// row is one statement, which the database undoes alone when it fails, so
// the rows before it stay in the group. A commit per group instead of per
// row is what lets a loop write tens of thousands of rows a second; a crash
// loses at most the group that is open.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "platform/db/connection.h"

namespace db {

class WriteGroup {
 public:
  explicit WriteGroup(Connection& connection) : connection_(connection), uncaughtAtStart_(std::uncaught_exceptions()) {}
  // Commits what has run when the scope ends normally, and rolls it back
  // when an error is leaving it: the rows of a half-done step must not pass
  // as written. Errors are dropped here, so callers that can report a failed
  // commit call Commit themselves.
  ~WriteGroup();
  WriteGroup(const WriteGroup&) = delete;
  WriteGroup& operator=(const WriteGroup&) = delete;

  // Runs one row's statement in the group: the rows it changed. When it
  // fails nothing of it stays and the error passes on to the caller.
  int64_t Row(const std::string& sql, const std::vector<Value>& parameters);

  // Commits the rows written so far; the next row opens a new group. A
  // commit that fails rolls the group back and raises its error, as does a
  // group that the database has already rolled back after an earlier error.
  void Commit();
  // Undoes the rows written since the last commit; the next row opens a new group.
  void Rollback();
  // Rows written in the open group.
  size_t Rows() const { return rows_; }

 private:
  Connection& connection_;
  int uncaughtAtStart_;  // errors already leaving a scope when the group began
  int level_ = 0;        // the group's transaction level; 0 while no group is open
  size_t rows_ = 0;
};

}  // namespace db
