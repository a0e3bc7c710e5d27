#pragma once
// Rows written in groups: the group is one transaction, opened by its first
// row and committed by Commit (or, failing that, when the object ends). A
// row is one statement, which the database undoes alone when it fails, so
// the rows before it stay in the group. A commit per group instead of per
// row is what lets a loop write tens of thousands of rows a second; a crash
// loses at most the group that is open.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/db/connection.h"

namespace db {

class WriteGroup {
 public:
  explicit WriteGroup(Connection& connection) : connection_(connection) {}
  // Commits what has run; errors are dropped here, so callers that can
  // report a failed commit call Commit themselves.
  ~WriteGroup();
  WriteGroup(const WriteGroup&) = delete;
  WriteGroup& operator=(const WriteGroup&) = delete;

  // Runs one row's statement in the group. When it fails nothing of it
  // stays and the error passes on to the caller.
  void Row(const std::string& sql, const std::vector<Value>& parameters);

  // Commits the rows written so far; the next row opens a new group. A
  // commit that fails rolls the group back and raises its error, as does a
  // group that the database has already rolled back after an earlier error.
  void Commit();
  // Rows written in the open group.
  size_t Rows() const { return rows_; }

 private:
  Connection& connection_;
  int level_ = 0;  // the group's transaction level; 0 while no group is open
  size_t rows_ = 0;
};

}  // namespace db
