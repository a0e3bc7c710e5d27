#pragma once
// The simulation table a Select run stores its winners into, watched for
// another program removing or replacing it while the run goes on. Between
// two of the run's commits another connection could drop the table and
// create one of the same name, which the run's next rows would go into
// unnoticed; a removed table fails the next row by itself.
#include <cstdint>
#include <string>

#include "platform/db/connection.h"

namespace simulation {

class WinnerTableWatch {
 public:
  // Notes the rows the table holds as the run begins; raises a
  // db::LastingFailure when it is missing.
  WinnerTableWatch(db::Connection& connection, const std::string& table);

  // Before the run commits `pending` rows more: raises a db::LastingFailure
  // unless the table holds exactly the rows it held when the run began,
  // those the run committed since and the pending ones.
  void CheckBeforeCommit(int64_t pending);
  // After the pending rows were committed.
  void Committed(int64_t rows) { tableRows_ += rows; }

 private:
  int64_t Count();

  db::Connection& connection_;
  std::string table_;
  int64_t tableRows_ = 0;    // rows the table holds, as far as this run knows
  int64_t dataVersion_ = 0;  // the file's count of changes by other connections when tableRows_ was known
};

}  // namespace simulation
