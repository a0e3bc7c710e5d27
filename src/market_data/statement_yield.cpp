#include "market_data/statement_yield.h"

#include <exception>

#include "market_data/database_connection.h"
#include "platform/user/user_services.h"

namespace {

int scopes = 0;

void SetHook(bool yield) {
  if (!cnDatabase || !cnDatabase->IsOpen()) return;
  try {
    if (yield) cnDatabase->SetYieldHook(user::DoEvents);
    else cnDatabase->SetYieldHook(nullptr);
  } catch (const std::exception&) {
    // Refused only from inside a statement's yield, where no run begins or ends.
  }
}

}  // namespace

YieldInStatements::YieldInStatements() {
  if (scopes++ == 0) SetHook(true);
}

YieldInStatements::~YieldInStatements() {
  if (--scopes == 0) SetHook(false);
}
