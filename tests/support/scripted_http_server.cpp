#include "support/scripted_http_server.h"

#include <httplib.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include "platform/inet/service_addresses.h"
#include "port_alone.h"

namespace testsupport {

ScriptedHttpServer::ScriptedHttpServer(std::vector<std::string> bodies, int port, bool keepConnections) {
  Start(
      [bodies = std::move(bodies)](const std::string&, size_t n) {
        return bodies.empty() ? std::string() : bodies[std::min(n, bodies.size() - 1)];
      },
      port, keepConnections);
}

ScriptedHttpServer::ScriptedHttpServer(const std::string& address, Alteration alter) {
  Start([address, alter = std::move(alter)](const std::string& pathAndQuery, size_t n) {
    httplib::Client upstream(address);
    httplib::Result reply = upstream.Get(pathAndQuery);
    return alter(reply ? reply->body : std::string(), n);
  });
}

void ScriptedHttpServer::Start(Answer answer, int port, bool keepConnections) {
  server_ = std::make_unique<httplib::Server>();
  // A server that keeps no connection answers one request on each and says
  // so. (A keep-alive time of 0 also closes a new connection whose request
  // has not arrived yet, which happens on a loaded machine: the client then
  // reads "nothing" from the server.)
  if (keepConnections) server_->set_keep_alive_timeout(1);
  else server_->set_keep_alive_max_count(1);
  server_->set_tcp_nodelay(true);
  quote_service::BindPortAlone(*server_);
  auto respond = [this, answer = std::move(answer)](const httplib::Request& request, httplib::Response& response) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string query;
    for (const auto& [key, value] : request.params) query += (query.empty() ? "?" : "&") + key + "=" + value;
    size_t n = requests_.size();
    requests_.push_back(request.path + query);
    clientPorts_.insert(request.remote_port);
    response.set_content(answer(requests_.back(), n), "text/html");
  };
  server_->Get("/d", respond);
  server_->Get("/test", respond);
  port_ = port == 0 ? server_->bind_to_any_port("127.0.0.1") : (server_->bind_to_port("127.0.0.1", port) ? port : -1);
  if (port_ <= 0) throw std::runtime_error("cannot bind a loopback port");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (const char* host = std::getenv(inet::kQuoteHostVariable)) {
    previousHost_ = host;
    hadPreviousHost_ = true;
  }
  ::setenv(inet::kQuoteHostVariable, ("http://127.0.0.1:" + std::to_string(port_)).c_str(), 1);
}

ScriptedHttpServer::~ScriptedHttpServer() {
  server_->stop();
  if (thread_.joinable()) thread_.join();
  if (hadPreviousHost_) ::setenv(inet::kQuoteHostVariable, previousHost_.c_str(), 1);
  else ::unsetenv(inet::kQuoteHostVariable);
}

std::vector<std::string> ScriptedHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

size_t ScriptedHttpServer::Connections() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return clientPorts_.size();
}

}  // namespace testsupport
