#include "support/write_faults.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>

#include "market_data/database_connection.h"

namespace testsupport {
namespace {

// Swaps the root pages of Missing_Days, a table keyed by its columns, and
// of one keyed by row number, as a damaged file may leave them: each then
// finds the other kind of page. Done twice, both are whole again.
void SwapMissingDaysPages(db::Connection& shared) {
  const std::string tables = "name IN ('Missing_Days', 'Missing_Days_pages')";
  const std::string sum =
      shared.OpenRecordset("SELECT MIN(rootpage) + MAX(rootpage) FROM sqlite_master WHERE " + tables).Field(0).ToText();
  const int64_t version = shared.OpenRecordset("PRAGMA schema_version").Field(0).ToInteger();
  shared.Execute("PRAGMA writable_schema = ON");
  shared.Execute("UPDATE sqlite_master SET rootpage = " + sum + " - rootpage WHERE " + tables);
  shared.Execute("PRAGMA writable_schema = OFF");
  shared.Execute("PRAGMA schema_version = " + std::to_string(version + 1));  // read the schema anew
}

}  // namespace

void InjectedWriteFault::Apply() {
  if (applied_) return;
  applied_ = true;
  db::Connection& shared = SharedConnection();
  switch (fault_) {
    case WriteFault::kDiskFull:
      shared.Execute("PRAGMA max_page_count = " +
                     std::to_string(shared.OpenRecordset("PRAGMA page_count").Field(0).ToInteger() + sparePages_));
      break;
    case WriteFault::kReadOnly: shared.Execute("PRAGMA query_only = 1"); break;
    case WriteFault::kLockHeld:
      lockHolder_ = std::make_unique<db::Connection>();
      lockHolder_->Open(shared.Path());
      lockHolder_->BeginTrans();
      lockHolder_->Execute("CREATE TABLE [lock_holder] ([x] INTEGER)");
      shared.Execute("PRAGMA busy_timeout = 20");
      break;
    case WriteFault::kDamagedTable:
      shared.Execute(
          "CREATE TABLE [Missing_Days] ([Symbol] TEXT, [DamnDate] DATETIME, PRIMARY KEY ([Symbol], [DamnDate]))");
      shared.Execute("CREATE TABLE [Missing_Days_pages] ([x] INTEGER)");
      SwapMissingDaysPages(shared);
      break;
  }
}

InjectedWriteFault::~InjectedWriteFault() {
  try {
    Undo();
  } catch (const std::exception&) {
    // The test's database is going away with it.
  }
}

void InjectedWriteFault::Undo() {
  if (!applied_) return;
  applied_ = false;
  if (lockHolder_) lockHolder_.reset();  // closing rolls its transaction back
  if (!cnDatabase || !cnDatabase->IsOpen()) return;
  switch (fault_) {
    case WriteFault::kDiskFull: cnDatabase->Execute("PRAGMA max_page_count = 1073741823"); break;
    case WriteFault::kReadOnly: cnDatabase->Execute("PRAGMA query_only = 0"); break;
    case WriteFault::kLockHeld: cnDatabase->Execute("PRAGMA busy_timeout = 5000"); break;
    case WriteFault::kDamagedTable: SwapMissingDaysPages(*cnDatabase); break;
  }
}

const char* InjectedWriteFault::Cause() const {
  switch (fault_) {
    case WriteFault::kDiskFull: return "the disk is full";
    case WriteFault::kReadOnly: return "is read-only";
    case WriteFault::kLockHeld: return "is in use by another connection";
    case WriteFault::kDamagedTable: return "Unrecognized database format";
  }
  return "";
}

const char* InjectedWriteFault::Name() const {
  switch (fault_) {
    case WriteFault::kDiskFull: return "disk full";
    case WriteFault::kReadOnly: return "read-only";
    case WriteFault::kLockHeld: return "lock held";
    case WriteFault::kDamagedTable: return "damaged table";
  }
  return "";
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
  std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of the signal ending the process
  ::getrlimit(RLIMIT_FSIZE, &previous_);
  rlimit limit{bytes, previous_.rlim_max};
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &previous_); }

PermissionsEnforced::PermissionsEnforced() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  if (::syscall(SYS_capget, &header, saved_) != 0) return;
  __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
  lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
  lowered_ = ::syscall(SYS_capset, &header, lowered) == 0;
}

PermissionsEnforced::~PermissionsEnforced() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  if (lowered_) ::syscall(SYS_capset, &header, saved_);
}

}  // namespace testsupport
