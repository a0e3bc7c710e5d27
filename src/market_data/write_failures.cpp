// One failure rule for every loop that writes rows: a write that fails for a
// lasting reason ends the run once, with one message that names the cause,
// and the run is never reported complete; a row's own failure stays that
// row's, shown once per run. Rows go to the group the run has open.
#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "platform/db/bound_statement.h"
#include "platform/db/db_error.h"
#include "platform/db/write_group.h"
#include "platform/user/user_services.h"

namespace {

// When each of a run's groups rewrites many pages of its table, copying the
// journal into the database after every group would copy the same pages
// again and again, so such a run lets the journal grow to this many pages
// (40 MB of 4 kB pages) first. A run that appends copies each page once
// either way, and keeps SQLite's own 1000 pages, which are copied in a step
// too short to hold the window.
constexpr int kRewritingRunCheckpointPages = 10000;
constexpr int kCheckpointPages = 1000;

void SetCheckpointInterval(int pages) {
  if (cnDatabase && cnDatabase->IsOpen()) cnDatabase->SetCheckpointInterval(pages);
}

}  // namespace

clsResearch::WriteRun::WriteRun(clsResearch& engine, Pages pages) : engine_(engine) {
  if (engine_.intWriteRunDepth_++ > 0) return;
  engine_.strWriteFailure_.clear();
  engine_.blnRowFailureShown_ = false;
  if (pages == Pages::kRewritten) SetCheckpointInterval(kRewritingRunCheckpointPages);
}

clsResearch::WriteRun::~WriteRun() {
  if (--engine_.intWriteRunDepth_ == 0) SetCheckpointInterval(kCheckpointPages);
}

clsResearch::GroupInUse::GroupInUse(clsResearch& engine, db::WriteGroup& group)
    : engine_(engine), previous_(engine.rowGroup_) {
  engine_.rowGroup_ = &group;
}

clsResearch::GroupInUse::~GroupInUse() { engine_.rowGroup_ = previous_; }

int64_t clsResearch::WriteRow(const db::BoundStatement& row) { return WriteRow(row.sql, row.parameters); }

int64_t clsResearch::WriteRow(const std::string& sql, const std::vector<db::Value>& parameters) {
  if (rowGroup_) return rowGroup_->Row(sql, parameters);
  db::WriteGroup own(SharedConnection());
  int64_t changed = own.Row(sql, parameters);
  own.Commit();
  return changed;
}

bool clsResearch::EndsTheRun(const std::exception& failure) const {
  if (db::IsLastingFailure(failure)) return true;
  const auto* error = dynamic_cast<const rt::Error*>(&failure);
  return intWriteRunDepth_ > 0 && error && error->Number() == db::kErrTableMissing;
}

void clsResearch::CommitGroup(db::WriteGroup& group, const std::string& context) {
  try {
    group.Commit();
  } catch (const std::exception& failed) {
    EndRunOnWriteFailure(failed, context);
  }
}

void clsResearch::EndRunOnWriteFailure(const std::exception& failure, const std::string& context) {
  const bool inRun = intWriteRunDepth_ > 0;
  if (inRun && !strWriteFailure_.empty()) return;  // told once already
  strWriteFailure_ = context + "\r\n" + failure.what();
  if (inRun) blnStopProcess_ = true;
  user::MsgBox(strWriteFailure_, user::kOKOnly + user::kCritical);
}

void clsResearch::ShowRowFailure(const std::string& message, int style) {
  if (intWriteRunDepth_ > 0) {
    if (blnRowFailureShown_) return;
    blnRowFailureShown_ = true;
  }
  user::MsgBox(message, style);
}
