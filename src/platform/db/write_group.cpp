#include "platform/db/write_group.h"

#include "platform/db/db_error.h"

namespace db {

WriteGroup::~WriteGroup() {
  try {
    Commit();
  } catch (const rt::Error&) {
    // Nothing can be reported from here; Commit has rolled the group back.
  }
}

void WriteGroup::BeginRow() {
  if (level_ == 0) {
    level_ = connection_.BeginTrans();
    rows_ = 0;
  }
  connection_.BeginTrans();
}

void WriteGroup::EndRow() {
  connection_.CommitTrans();
  ++rows_;
}

void WriteGroup::RollBackRow() {
  try {
    if (connection_.TransactionLevel() > level_) connection_.RollbackTrans();
  } catch (const rt::Error&) {
    // The database has undone more than the row; Commit finds out.
  }
}

void WriteGroup::Commit() {
  if (level_ == 0) return;
  const int level = level_;
  level_ = 0;
  rows_ = 0;
  if (connection_.TransactionLevel() < level)
    throw LastingFailure(kErrProviderFailure, "The transaction was rolled back by the database after an earlier error.");
  try {
    connection_.CommitTrans();
  } catch (const rt::Error&) {
    try {
      if (connection_.TransactionLevel() == level) connection_.RollbackTrans();
    } catch (const rt::Error&) {
      // Already undone by the database.
    }
    throw;
  }
}

}  // namespace db
