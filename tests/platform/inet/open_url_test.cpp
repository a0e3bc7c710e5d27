#include "platform/inet/open_url.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

#include "platform/inet/service_addresses.h"
#include "support/faulty_http_server.h"
#include "support/quote_service_process.h"
#include "support/scripted_http_server.h"
#include "support/short_fetch_limits.h"

namespace {

// Sets or clears one environment variable for one test.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old, had_ = true;
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~ScopedVariable() {
    if (had_) ::setenv(name_, previous_.c_str(), 1);
    else ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::string previous_;
  bool had_ = false;
};

struct QuoteHost : ScopedVariable {
  explicit QuoteHost(const char* value) : ScopedVariable(inet::kQuoteHostVariable, value) {}
};

}  // namespace

TEST(ServiceAddressTest, FixedAddressUnlessTheVariableNamesAnother) {
  {
    QuoteHost unset(nullptr);
    EXPECT_EQ(inet::QuoteServiceAddress(), "http://127.0.0.1:8841");
    EXPECT_EQ(inet::TestPageAddress(), "http://127.0.0.1:8841/test");
  }
  {
    QuoteHost empty("");
    EXPECT_EQ(inet::QuoteServiceAddress(), "http://127.0.0.1:8841");
  }
  ScopedVariable port(inet::kQuotePortVariable, "8900");
  {
    QuoteHost unset(nullptr);
    EXPECT_EQ(inet::QuoteServiceAddress(), "http://127.0.0.1:8900");  // where scripts/run.sh started it
  }
  QuoteHost other("http://127.0.0.1:9000/");
  EXPECT_EQ(inet::QuoteServiceAddress(), "http://127.0.0.1:9000");
  EXPECT_EQ(inet::TestPageAddress(), "http://127.0.0.1:9000/test");
}

TEST(OpenURLTest, FetchesTheBodyFromARunningService) {
  testsupport::QuoteServiceProcess service;
  std::string body = inet::OpenURL(service.Address() + "/test");
  EXPECT_NE(body.find("</html>"), std::string::npos);
  std::string page = inet::OpenURL(service.Address() + "/d?a=0&b=01&c=2004&d=11&e=31&f=2004&g=d&s=IBM");
  EXPECT_GT(page.size(), 10000u);  // 200 rows, read in many pieces
  EXPECT_NE(page.find("31-Dec-2004"), std::string::npos);
}

// A fetch after the service closed the connection of the one before (here
// by ending) connects again without a word.
TEST(OpenURLTest, AConnectionTheServiceClosedIsOpenedAgain) {
  int port = 0;
  {
    testsupport::ScriptedHttpServer first({"one"});
    EXPECT_EQ(inet::OpenURL(inet::TestPageAddress()), "one");
    port = first.Port();
    // While it lives, no other server (another test's) shares its port and takes some of its requests.
    EXPECT_THROW(testsupport::ScriptedHttpServer({"two"}, port), std::runtime_error);
  }
  testsupport::ScriptedHttpServer second({"two"}, port);
  inet::FetchFailure failure = inet::FetchFailure::kBrokenOff;
  EXPECT_EQ(inet::OpenURL(inet::TestPageAddress(), &failure), "two");
  EXPECT_EQ(failure, inet::FetchFailure::kNone);
}

TEST(OpenURLTest, EmptyOnAnyFailureWithTheReason) {
  testsupport::QuoteServiceProcess service;
  const std::string closed = "http://127.0.0.1:" + std::to_string(testsupport::ClosedLoopbackPort()) + "/test";
  const struct {
    std::string address;
    inet::FetchFailure failure;
  } cases[] = {
      {service.Address() + "/no/such/page", inet::FetchFailure::kErrorStatus},  // HTTP 404
      {closed, inet::FetchFailure::kNoConnection},
      {"", inet::FetchFailure::kBadAddress},
      {"not an address", inet::FetchFailure::kBadAddress},
      {"file:///etc/hostname", inet::FetchFailure::kBadAddress},
  };
  for (const auto& c : cases) {
    inet::FetchFailure failure = inet::FetchFailure::kNone;
    EXPECT_EQ(inet::OpenURL(c.address, &failure), "") << c.address;
    EXPECT_EQ(failure, c.failure) << c.address;
  }
}

// Each fault ends within the (here shortened) limits with its own reason, and
// a cancel check stops even a server that never answers.
TEST(OpenURLTest, MisbehavingServersEndWithinTheLimits) {
  using Fault = testsupport::FaultyHttpServer::Fault;
  testsupport::ShortFetchLimits limits;
  const struct {
    Fault fault;
    bool cancel;
    inet::FetchFailure failure;
  } cases[] = {
      {Fault::kSilent, false, inet::FetchFailure::kTimedOut},
      {Fault::kTrickle, false, inet::FetchFailure::kTimedOut},
      {Fault::kEndless, false, inet::FetchFailure::kTooLarge},
      {Fault::kBreakOff, false, inet::FetchFailure::kBrokenOff},
      {Fault::kSilent, true, inet::FetchFailure::kCancelled},
  };
  for (const auto& c : cases) {
    testsupport::FaultyHttpServer server(c.fault);
    // The cancel check asks to stop once the request waits on the server.
    std::function<bool()> cancel = [&] { return server.Requests() > 0; };
    inet::FetchFailure failure = inet::FetchFailure::kNone;
    EXPECT_EQ(inet::OpenURL(inet::TestPageAddress(), &failure, c.cancel ? cancel : nullptr), "");
    EXPECT_EQ(failure, c.failure) << static_cast<int>(c.fault);
    EXPECT_EQ(server.Requests(), 1);
  }
}
