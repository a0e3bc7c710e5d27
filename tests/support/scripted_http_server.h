#pragma once
// A loopback HTTP server for one test that answers GET /d and GET /test with
// bodies from a script: each request takes the next body (an empty body is an
// empty reply); when the script runs out, the last body is repeated. Or, as a
// proxy, with altered answers of another server. While it lives,
// KESTROVANE_QUOTE_HOST names it.
#include <functional>
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

 private:
  // Serves on a free loopback port, answering a request's path and query
  // with the body `answer` gives.
  using Answer = std::function<std::string(const std::string& pathAndQuery, size_t request)>;
  void Start(Answer answer);

  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::string previousHost_;
  bool hadPreviousHost_ = false;
};

}  // namespace testsupport
