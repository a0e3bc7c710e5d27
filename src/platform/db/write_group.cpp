#include "platform/db/write_group.h"

#include "platform/db/db_error.h"

namespace db {
namespace {

LastingFailure RolledBack() {
  return LastingFailure(kErrProviderFailure, "The transaction was rolled back by the database after an earlier error.");
}

}  // namespace

WriteGroup::~WriteGroup() {
  try {
    if (std::uncaught_exceptions() > uncaughtAtStart_) Rollback();
    else Commit();
  } catch (const rt::Error&) {
    // Nothing can be reported from here; the group is undone either way.
  }
}

int64_t WriteGroup::Row(const std::string& sql, const std::vector<Value>& parameters) {
  if (level_ == 0) {
    level_ = connection_.BeginTrans();
    rows_ = 0;
  } else if (connection_.TransactionLevel() < level_) {
    // Written now, the row would stand outside any group.
    throw RolledBack();
  }
  // A statement that fails is undone by the database alone (its statement
  // rollback), so a row needs no savepoint of its own.
  int64_t changed = connection_.Execute(sql, parameters);
  ++rows_;
  return changed;
}

void WriteGroup::Commit() {
  if (level_ == 0) return;
  const int level = level_;
  level_ = 0;
  rows_ = 0;
  if (connection_.TransactionLevel() < level) throw RolledBack();
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

void WriteGroup::Rollback() {
  if (level_ == 0) return;
  const int level = level_;
  level_ = 0;
  rows_ = 0;
  // Below its level the database has undone the group already.
  if (connection_.TransactionLevel() == level) connection_.RollbackTrans();
}

}  // namespace db
