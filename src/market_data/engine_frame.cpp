// The engine object's life with the shared connection, and the two database
// utilities QueryDB and TestDatabase.
#include <strings.h>

#include "market_data/calendar_and_log.h"
#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/own_table_names.h"
#include "market_data/run_parameters.h"
#include "market_data/schema.h"
#include "platform/db/db_error.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/number_text.h"
#include "platform/runtime/rounding.h"
#include "platform/user/user_services.h"

std::shared_ptr<db::Connection> cnDatabase;

namespace {

// Engine objects alive now: only the last one to end closes the connection,
// so the query window's short-lived engine leaves the main one connected.
int liveEngines = 0;

// Why the shared connection could not be opened, as the database reported
// it; "" while the last open worked.
std::string databaseOpenFailure;

constexpr const char* kOldDefaultLocation = "c:\\data\\Vennorath.mdb";

}  // namespace

std::filesystem::path ResolveDatabasePath(const std::string& location) {
  if (strcasecmp(location.c_str(), kOldDefaultLocation) == 0) return rt::AppPath("Vennorath.db");
  return rt::AppPath(location);
}

db::Connection& SharedConnection() {
  if (!cnDatabase)
    throw db::LastingFailure(db::kErrObjectClosed,
                             std::string(db::kObjectClosedText) + " The database connection is not open.");
  if (!cnDatabase->IsOpen() && !databaseOpenFailure.empty())
    throw db::LastingFailure(db::kErrObjectClosed, "The database could not be opened: " + databaseOpenFailure);
  return *cnDatabase;
}

namespace {

// Opens a new connection into cnDatabase on the configured database, creating
// the file first when it is missing.
void OpenSharedConnection() {
  RunParameters& parms = Parms();
  parms.strDatabasePath = ResolveDatabasePath(parms.strDatabasePath).string();
  std::string notCreated = CreateDatabase(parms.strDatabasePath);
  cnDatabase = std::make_shared<db::Connection>();
  databaseOpenFailure.clear();
  try {
    HoldDatabaseFile(parms.strDatabasePath);
    cnDatabase->Open(parms.strDatabasePath);
  } catch (const std::exception& failed) {
    // The engine still exists; TestDatabase answers False with this cause,
    // and every later database call names it.
    databaseOpenFailure = notCreated.empty() ? failed.what() : notCreated;
    LogError("Database could not be opened.");
  }
}

}  // namespace

clsResearch::clsResearch() {
  ++liveEngines;
  OpenSharedConnection();
}

clsResearch::clsResearch(JoinSharedConnection) {
  ++liveEngines;
  if (!cnDatabase || !cnDatabase->IsOpen()) OpenSharedConnection();
}

clsResearch::~clsResearch() {
  rsResearch_.reset();
  if (--liveEngines == 0 && cnDatabase) {
    cnDatabase->Close();
    cnDatabase.reset();
  }
}

std::string clsResearch::QueryDB(const std::string& sql) {
  try {
    rsResearch_ = std::make_unique<db::Recordset>();
    user::DoEvents();
    *rsResearch_ = SharedConnection().OpenRecordset(sql);
    user::DoEvents();
    const db::Value& first = rsResearch_->Field(0);
    std::string result = first.IsNull() ? "No Result" : rt::FormatNumber(rt::Round(first.ToDouble(), 2));
    rsResearch_->Close();
    rsResearch_.reset();
    return result;
  } catch (const std::exception&) {
    rsResearch_.reset();
    return "ERROR!!";
  }
}

bool clsResearch::TestDatabase() {
  const std::string table = "[" + std::string(kDatabaseTestTable) + "]";
  std::string sql;
  if (Parms().intDatabaseType == 1)
    sql = "CREATE TABLE " + table +
          " ([AcquireDate] DATETIME, [BoughtDate] DATETIME, [Symbol] TEXT, [Market] "
          "TEXT,CONSTRAINT [PK] PRIMARY KEY ([AcquireDate], [Symbol]));";
  else if (Parms().intDatabaseType == 2)
    sql = "CREATE TABLE " + table +
          "([AcquireDate] [smalldatetime] NULL , [BoughtDate] [smalldatetime] NULL "
          ",[Symbol] [nvarchar] (255) COLLATE SQL_Latin1_General_CP1_CI_AS NULL, [Market] [nvarchar] (255) COLLATE "
          "SQL_Latin1_General_CP1_CI_AS NULL ,) ON [PRIMARY]";
  strDatabaseFailure_.clear();
  try {
    SharedConnection().Execute(sql);
    user::DoEvents();
  } catch (const std::exception& failed) {
    strDatabaseFailure_ = failed.what();
    return false;
  }
  try {
    SharedConnection().Execute("drop table " + table);
  } catch (const std::exception&) {
    // A scratch table that cannot be dropped shows at the next test.
  }
  return true;
}
