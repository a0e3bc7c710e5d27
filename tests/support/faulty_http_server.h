#pragma once
// A loopback HTTP server for one test that misbehaves on every request to
// GET /d and GET /test in one chosen way. While it lives,
// KESTROVANE_QUOTE_HOST names it.
#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace testsupport {

class FaultyHttpServer {
 public:
  enum class Fault {
    kSilent,        // takes the request and never answers
    kTrickle,       // announces a page and sends one byte every 50 ms
    kEndless,       // sends a reply without a length that never ends
    kBreakOff,      // announces 100,000 bytes, sends 1,000 and closes (a service killed mid-download)
    kRedirectLoop,  // sends every request back to its own address
    kGzipBody,      // answers with a gzip body that nobody asked for
    kErrorPage,     // answers with an HTML error page and status 503
  };

  explicit FaultyHttpServer(Fault fault);
  ~FaultyHttpServer();
  FaultyHttpServer(const FaultyHttpServer&) = delete;
  FaultyHttpServer& operator=(const FaultyHttpServer&) = delete;

  int Requests() const { return requests_; }

 private:
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::atomic<int> requests_{0};
  std::string previousHost_;
  bool hadPreviousHost_ = false;
};

}  // namespace testsupport
