#pragma once
// A loopback HTTP server for one test that answers GET /d and GET /test with
// bodies from a script: each request takes the next body (an empty body is an
// empty reply); when the script runs out, the last body is repeated. Or, as a
// proxy, with altered answers of another server. While it lives,
// KESTROVANE_QUOTE_HOST names it.
//
// It closes a connection that stays idle for a moment after a reply, as
// services do, unless told to keep connections for a second (which its end
// then waits for while a client holds one).
#include <functional>
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
  // A proxy: answers each request with the body the server at `address`
  // (http://host:port) gives for it, as `alter` changes it. `alter` is given
  // the body and the request's number, counted from 0.
  using Alteration = std::function<std::string(std::string body, size_t request)>;
  ScriptedHttpServer(const std::string& address, Alteration alter);
  ~ScriptedHttpServer();
  ScriptedHttpServer(const ScriptedHttpServer&) = delete;
  ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

  // The path and query of every request, in order.
  std::vector<std::string> Requests() const;
  // How many connections the requests came over.
  size_t Connections() const;
  int Port() const { return port_; }

 private:
  // Serves on the loopback port, answering a request's path and query with
  // the body `answer` gives.
  using Answer = std::function<std::string(const std::string& pathAndQuery, size_t request)>;
  void Start(Answer answer, int port = 0, bool keepConnections = false);

  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::set<int> clientPorts_;
  int port_ = 0;
  std::string previousHost_;
  bool hadPreviousHost_ = false;
};

}  // namespace testsupport
