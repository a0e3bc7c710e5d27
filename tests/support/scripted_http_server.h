#pragma once
// A loopback HTTP server for one test that answers GET /d and GET /test with
// bodies from a script: each request takes the next body (an empty body is an
// empty reply); when the script runs out, the last body is repeated. While it
// lives, KESTROVANE_QUOTE_HOST names it.
//
// It closes a connection that stays idle for a moment after a reply, as
// services do, unless told to keep connections for a second (which its end
// then waits for while a client holds one).
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace testsupport {

class ScriptedHttpServer {
 public:
  // port 0 picks a free one.
  explicit ScriptedHttpServer(std::vector<std::string> bodies, int port = 0, bool keepConnections = false);
  ~ScriptedHttpServer();
  ScriptedHttpServer(const ScriptedHttpServer&) = delete;
  ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

  // The path and query of every request, in order.
  std::vector<std::string> Requests() const;
  // How many connections the requests came over.
  size_t Connections() const;
  int Port() const { return port_; }

 private:
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> bodies_;
  std::vector<std::string> requests_;
  std::set<int> clientPorts_;
  int port_ = 0;
  std::string previousHost_;
  bool hadPreviousHost_ = false;
};

}  // namespace testsupport
