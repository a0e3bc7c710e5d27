#pragma once
// A Select run's winners on their way into the simulation table. The table
// is keyed by day first, so one symbol's winners belong on leaf pages all
// over it: stored there symbol by symbol, each commit would rewrite most of
// the table, and a run would cost more per winner the more it has stored.
// Instead each symbol's winners are appended to a staging table of the
// connection's own (gone with the connection, so a killed run leaves nothing
// of it behind) and moved into the simulation table in key order, in batches
// at least as large as the table already is, so that the run rewrites the
// table a bounded number of times.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/db/bound_statement.h"
#include "platform/db/connection.h"

namespace simulation {

class WinnerStaging {
 public:
  // Creates the empty staging table for the simulation table `table`.
  WinnerStaging(db::Connection& connection, const std::string& table);
  // Drops the staging table; rows not moved by then are dropped with it.
  ~WinnerStaging();
  WinnerStaging(const WinnerStaging&) = delete;
  WinnerStaging& operator=(const WinnerStaging&) = delete;

  // True for the window's INSERT of a winner into this table, which the run
  // stages instead of running.
  bool Stages(const db::BoundStatement& row) const;
  // The INSERT of a staged row, with the values of the window's INSERT.
  const std::string& StagingInsert() const { return stagingInsert_; }

  // True when the rows staged (and committed) so far are due to be moved.
  bool MoveDue();
  // Moves every staged row into the simulation table in one transaction, in
  // key order, and empties the staging table. A row whose key is already
  // there (or staged before it) is left out, as its INSERT would have been
  // refused: the result is the refusal's description, "" when every row
  // went in. Raises a db::LastingFailure when the simulation table is gone
  // or was replaced since the run began, and the database's own error when
  // the move fails; either way nothing is moved.
  std::string MoveIntoTable();

 private:
  int64_t StagedRows();
  // Raises a LastingFailure unless the table still holds exactly the rows
  // it held when the run began and the ones this run moved into it.
  void CheckTableIsOurs();

  db::Connection& connection_;
  std::string table_;
  std::string windowInsert_;
  std::string stagingInsert_;
  int64_t tableRows_ = 0;    // rows the simulation table holds, as far as this run knows
  int64_t dataVersion_ = 0;  // the file's change count by other connections when tableRows_ was known
};

}  // namespace simulation
