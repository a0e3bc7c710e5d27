// The tables the engine creates on demand (quote tables, Stock_Master,
// SimStatus) in both dialects, and the database file's creation.
#include "market_data/schema.h"

#include "market_data/cls_research.h"
#include "market_data/database_connection.h"
#include "market_data/missing_days_table.h"
#include "market_data/own_table_names.h"
#include "market_data/run_parameters.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_text.h"
#include "platform/user/user_services.h"

namespace {

constexpr const char* kServerText50 = " [nvarchar] (50) COLLATE SQL_Latin1_General_CP1_CI_AS NULL , ";
constexpr const char* kServerText255 = " [nvarchar] (255) COLLATE SQL_Latin1_General_CP1_CI_AS NULL";

std::string QuoteTableStatement(const std::string& symbol, int16_t databaseType) {
  bool index = !symbol.empty() && symbol.front() == '^';
  if (databaseType == 1) {
    return "CREATE TABLE [" + symbol + "] ([DamnDate] DATETIME PRIMARY KEY, [Open] MONEY, [High] MONEY, [Low] MONEY, " +
           (index ? "[Close] MONEY)" : "[Close] MONEY, [Adj_Close] MONEY, [Volume] INTEGER)");
  }
  if (databaseType == 2) {
    std::string sql = "CREATE TABLE [" + symbol + "] ([DamnDate] [smalldatetime] NULL , ";
    for (const char* column : {"[Open]", "[High]", "[Low]", "[Close]"}) sql += std::string(column) + kServerText50;
    return sql + (index ? ") ON [PRIMARY]"
                        : std::string("[Adj_Close]") + kServerText50 + "[Volume] [int] NULL) ON [PRIMARY]");
  }
  return "";
}

std::string StockMasterStatement(int16_t databaseType) {
  const std::string create = "CREATE TABLE [" + std::string(kStockMasterTable) + "] ([Symbol]";
  if (databaseType == 1) return create + " TEXT PRIMARY KEY, [Market] TEXT, [Inception] DATETIME)";
  if (databaseType == 2)
    return create + kServerText255 + " , [Market]" + kServerText255 +
           " , [Inception] [smalldatetime] NULL , ) ON [PRIMARY]";
  return "";
}

}  // namespace

std::string SimStatusStatement(int16_t databaseType) {
  std::string slots;
  for (size_t i = 1; i + 1 < kSimStatusColumns.size(); ++i)
    slots += "[" + std::string(kSimStatusColumns[i]) + "] DOUBLE, ";
  const std::string create = "CREATE TABLE [" + std::string(kSimStatusTable) + "] ([SimTable]";
  if (databaseType == 1) return create + " TEXT PRIMARY KEY, " + slots + "[PortCount] DOUBLE)";
  if (databaseType == 2) return create + kServerText255 + ", " + slots + "[PortCount] DOUBLE) ON [PRIMARY]";
  return "";
}

void clsResearch::CreateTable(const std::string& symbol) {
  const std::string& name = db::SqlName(symbol);
  try {
    SharedConnection().Execute("drop table [" + name + "]");
  } catch (const std::exception&) {
    // A missing table is the usual case.
  }
  SharedConnection().Execute(QuoteTableStatement(name, Parms().intDatabaseType));
  // An empty history has no missing day.
  ForgetMissingDays(SharedConnection(), name);
}

void clsResearch::CreateTable_Master() {
  try {
    db::Connection& cn = SharedConnection();
    cn.Execute(StockMasterStatement(Parms().intDatabaseType));
    cn.Execute(SimStatusStatement(Parms().intDatabaseType));
  } catch (const rt::Error& e) {
    user::MsgBox(e.Description(), user::kOKOnly);
  }
}

std::string CreateDatabase(const std::string& strPath) {
  std::filesystem::path path = ResolveDatabasePath(strPath);
  std::error_code ec;
  if (std::filesystem::exists(path, ec) || ec) return "";
  try {
    db::CreateDatabaseFile(path);
  } catch (const rt::Error& failed) {
    return failed.Description();
  }
  return "";
}
