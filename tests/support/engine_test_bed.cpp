#include "support/engine_test_bed.h"

#include "market_data/database_connection.h"

namespace testsupport {

EngineTestBed::EngineTestBed() {
  Parms() = RunParameters::DesignDefaults();
  engine_ = std::make_unique<clsResearch>();
  engine_->SetListener(&events_);
}

EngineTestBed::~EngineTestBed() {
  engine_.reset();
  Parms() = RunParameters();
}

void EngineTestBed::Execute(const std::string& sql) { SharedConnection().Execute(sql); }

std::string EngineTestBed::Scalar(const std::string& sql) {
  db::Recordset rs = SharedConnection().OpenRecordset(sql);
  return rs.Field(0).ToText();
}

rt::Date Day(int year, int month, int day) { return *rt::Date::FromParts(year, month, day); }

}  // namespace testsupport
