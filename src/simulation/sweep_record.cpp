// What a S.M.A.R.T. sweep keeps beside its pause row, one row of SweepRecord
// per simulation table: which sweep it is, the report it writes with that
// report's first line, and the settings it was started with. SimStatus keeps
// its 24 slots as they were; a database without this table gets it at the
// first store, and a sweep paused before it existed resumes without one.
#include <exception>
#include <filesystem>
#include <string>

#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/own_table_names.h"
#include "market_data/run_parameters.h"
#include "platform/db/db_error.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/error.h"
#include "simulation/portfolio_replay_table.h"

namespace {

const std::string kTable = "[" + std::string(kSweepRecordTable) + "]";
const std::string kCreate = "CREATE TABLE " + kTable +
                            " ([SimTable] TEXT PRIMARY KEY, [Sweep] TEXT, [ReportPath] TEXT, "
                            "[ReportFirstLine] TEXT, [SweepPlan] TEXT)";

// A report inside the application folder is kept relative to it, so that a
// resume in a copy of the folder writes on into the copy's report, not the
// original's; any other path is kept as chosen.
std::string StoredReportPath(const std::string& reportPath) {
  const std::filesystem::path inFolder = std::filesystem::path(reportPath).lexically_relative(rt::AppFolder());
  if (inFolder.empty() || *inFolder.begin() == "..") return reportPath;
  return inFolder.generic_string();
}

std::string ReportPathOf(const std::string& stored) {
  if (stored.empty() || stored.front() == '/') return stored;
  return (rt::AppFolder() / stored).string();
}

std::vector<db::Value> Values(const clsResearch::SweepRecord& record) {
  return {db::Value(record.sweep), db::Value(StoredReportPath(record.reportPath)), db::Value(record.reportFirstLine),
          db::Value(record.plan), db::Value(Parms().strSimTable)};
}

void Log(const char* what, const std::exception& e) {
  const auto* error = dynamic_cast<const rt::Error*>(&e);
  LogError(std::string(what) + std::to_string(error ? error->Number() : 0) + " - " + e.what());
}

bool TableMissing(const std::exception& e) {
  const auto* error = dynamic_cast<const rt::Error*>(&e);
  return error && error->Number() == db::kErrTableMissing;
}

}  // namespace

void clsResearch::StoreSweepRecord(const SweepRecord& record) {
  const simulation::ChangesElsewhere elsewhere(replayTable_.get());
  for (bool tableCreated = false;;) {
    try {
      db::Connection& cn = SharedConnection();
      cn.BeginTrans();
      if (cn.Execute("UPDATE " + kTable +
                         " SET Sweep = ?, ReportPath = ?, ReportFirstLine = ?, SweepPlan = ? "
                         "WHERE SimTable = ?",
                     Values(record)) == 0)
        cn.Execute("INSERT INTO " + kTable +
                       " (Sweep, ReportPath, ReportFirstLine, SweepPlan, SimTable) "
                       "VALUES (?, ?, ?, ?, ?)",
                   Values(record));
      cn.CommitTrans();
      return;
    } catch (const std::exception& e) {
      SharedConnection().RollbackTrans();
      if (TableMissing(e) && !tableCreated) {
        tableCreated = true;
        try {
          SharedConnection().Execute(kCreate);
          continue;
        } catch (const std::exception&) {
        }
      }
      Log("Error saving the sweep record: ", e);
      return;
    }
  }
}

bool clsResearch::RetrieveSweepRecord(SweepRecord& record) {
  try {
    db::Recordset rs = SharedConnection().OpenRecordset(
        "SELECT Sweep, ReportPath, ReportFirstLine, SweepPlan FROM " + kTable + " WHERE SimTable = ?",
        {db::Value(Parms().strSimTable)});
    if (rs.Eof()) return false;
    record = {rs.Field(0).ToText(), ReportPathOf(rs.Field(1).ToText()), rs.Field(2).ToText(), rs.Field(3).ToText()};
    return true;
  } catch (const std::exception& e) {
    if (!TableMissing(e)) Log("Error retrieving the sweep record: ", e);
    return false;
  }
}

void clsResearch::ClearSweepRecord() {
  const simulation::ChangesElsewhere elsewhere(replayTable_.get());
  try {
    SharedConnection().Execute("DELETE FROM " + kTable + " WHERE SimTable = ?", {db::Value(Parms().strSimTable)});
  } catch (const std::exception& e) {
    if (!TableMissing(e)) Log("Error clearing the sweep record: ", e);
  }
}
