#include "support/faulty_http_server.h"

#include <httplib.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include "platform/inet/service_addresses.h"
#include "port_alone.h"

namespace testsupport {
namespace {

using Fault = FaultyHttpServer::Fault;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

FaultyHttpServer::FaultyHttpServer(Fault fault) : server_(std::make_unique<httplib::Server>()) {
  auto answer = [this, fault](const httplib::Request& request, httplib::Response& response) {
    ++requests_;
    switch (fault) {
      case Fault::kSilent:
        while (!stopping_) Pause(10);
        break;
      case Fault::kTrickle:
        response.set_content_provider(100000, "text/html", [this](size_t, size_t, httplib::DataSink& sink) {
          Pause(50);
          return !stopping_ && sink.write("x", 1);
        });
        break;
      case Fault::kEndless:
        response.set_chunked_content_provider("text/html", [this](size_t, httplib::DataSink& sink) {
          static const std::string block(65536, 'x');
          return !stopping_ && sink.write(block.data(), block.size());
        });
        break;
      case Fault::kBreakOff:
        response.set_content_provider(100000, "text/html", [](size_t offset, size_t, httplib::DataSink& sink) {
          if (offset > 0) return false;  // drops the connection
          static const std::string part(1000, 'x');
          return sink.write(part.data(), part.size());
        });
        break;
      case Fault::kRedirectLoop: response.set_redirect(request.path); break;
      case Fault::kGzipBody:
        response.set_content(std::string("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10), "text/html");
        response.set_header("Content-Encoding", "gzip");
        break;
      case Fault::kErrorPage:
        response.status = 503;
        response.set_content("<html><body><h1>Service Unavailable</h1></body></html>", "text/html");
        break;
    }
  };
  server_->Get("/d", answer);
  server_->Get("/test", answer);
  quote_service::BindPortAlone(*server_);
  int port = server_->bind_to_any_port("127.0.0.1");
  if (port <= 0) throw std::runtime_error("cannot bind a loopback port");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  while (!server_->is_running()) Pause(1);
  if (const char* host = std::getenv(inet::kQuoteHostVariable)) {
    previousHost_ = host;
    hadPreviousHost_ = true;
  }
  ::setenv(inet::kQuoteHostVariable, ("http://127.0.0.1:" + std::to_string(port)).c_str(), 1);
}

FaultyHttpServer::~FaultyHttpServer() {
  stopping_ = true;
  server_->stop();
  if (thread_.joinable()) thread_.join();
  if (hadPreviousHost_) ::setenv(inet::kQuoteHostVariable, previousHost_.c_str(), 1);
  else ::unsetenv(inet::kQuoteHostVariable);
}

}  // namespace testsupport
