// The stand-in quote-history service: answers the program's history requests
// and its connectivity test from the CSV files of a data folder, on loopback.
//
//   quote-service [--port N] [--data DIR]
//
// --port 0 picks a free port. The port listened on is printed on stdout as
// the first line once the socket is bound, so a starter can read it.
#include <httplib.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "csv_store.h"
#include "history_answer.h"
#include "platform/inet/service_addresses.h"
#include "port_alone.h"
#include "quote_page.h"

namespace {

constexpr const char* kHost = "127.0.0.1";
constexpr int kDefaultPort = 8841;

struct Options {
  int port = kDefaultPort;
  std::string dataFolder = "data";
};

bool ParsePort(const std::string& text, int& port) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
  return ec == std::errc() && end == text.data() + text.size() && port >= 0 && port <= 65535;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    if (i + 1 >= argc) return false;
    std::string value = argv[++i];
    if (name == "--port") {
      if (!ParsePort(value, options.port)) return false;
    } else if (name == "--data") {
      options.dataFolder = value;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::cerr << "usage: quote-service [--port N] [--data DIR]\n";
    return 2;
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(options.dataFolder, ec)) {
    std::cerr << "quote-service: no data folder " << options.dataFolder << "\n";
    return 2;
  }
  quote_service::CsvStore store(options.dataFolder);

  httplib::Server server;
  // Clients keep a connection for a download's pages, as with any web
  // server: replies go out at once (no wait for the client's delayed
  // acknowledgement of the headers), and a connection serves many requests.
  server.set_tcp_nodelay(true);
  quote_service::BindPortAlone(server);
  server.set_keep_alive_max_count(1000);
  server.Get("/d", [&store](const httplib::Request& request, httplib::Response& response) {
    quote_service::HistoryAnswer answer = quote_service::AnswerHistoryRequest(store, request.params);
    response.status = answer.status;
    response.set_content(answer.body, answer.contentType);
  });
  server.Get(inet::kTestPagePath, [](const httplib::Request&, httplib::Response& response) {
    response.set_content(quote_service::BuildTestPage(), "text/html");
  });

  int port = options.port;
  if (port == 0) {
    port = server.bind_to_any_port(kHost);
    if (port < 0) {
      std::cerr << "quote-service: cannot bind a free port on " << kHost << "\n";
      return 1;
    }
  } else if (!server.bind_to_port(kHost, port)) {
    std::cerr << "quote-service: cannot bind " << kHost << ":" << port << "\n";
    return 1;
  }
  std::cout << port << std::endl;
  return server.listen_after_bind() ? 0 : 1;
}
