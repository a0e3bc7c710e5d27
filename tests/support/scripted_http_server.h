#pragma once
// A loopback HTTP server for one test that answers GET /d and GET /test with
// bodies from a script: each request takes the next body (an empty body is an
// empty reply); when the script runs out, the last body is repeated. While it
// lives, KESTROVANE_QUOTE_HOST names it.
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace testsupport {

class ScriptedHttpServer {
 public:
  explicit ScriptedHttpServer(std::vector<std::string> bodies);
  ~ScriptedHttpServer();
  ScriptedHttpServer(const ScriptedHttpServer&) = delete;
  ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

  // The path and query of every request, in order.
  std::vector<std::string> Requests() const;

 private:
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> bodies_;
  std::vector<std::string> requests_;
  std::string previousHost_;
  bool hadPreviousHost_ = false;
};

}  // namespace testsupport
