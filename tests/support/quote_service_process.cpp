#include "support/quote_service_process.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "platform/inet/open_url.h"
#include "platform/inet/service_addresses.h"

namespace testsupport {
namespace {

constexpr int kStartTimeoutMs = 10000;

// Reads the first line the child prints (its port), waiting at most the timeout.
std::string ReadFirstLine(int fd, int timeoutMs) {
  std::string line;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (line.find('\n') == std::string::npos) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd waiting{fd, POLLIN, 0};
    if (::poll(&waiting, 1, static_cast<int>(left.count())) <= 0) break;
    char buffer[64];
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) break;
    line.append(buffer, static_cast<size_t>(got));
  }
  return line.substr(0, line.find('\n'));
}

}  // namespace

QuoteServiceProcess::QuoteServiceProcess(const std::filesystem::path& dataFolder) {
  int out[2];
  if (::pipe(out) != 0) throw std::runtime_error("quote service: no pipe");
  const std::string binary = KESTROVANE_QUOTE_SERVICE_BIN;
  const std::string data = dataFolder.string();
  pid_t parent = ::getpid();
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("quote service: fork failed");
  if (pid_ == 0) {
    // The service must not outlive a test that crashes.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) ::_exit(1);
    ::dup2(out[1], STDOUT_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    ::execl(binary.c_str(), binary.c_str(), "--port", "0", "--data", data.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  std::string portText = ReadFirstLine(out[0], kStartTimeoutMs);
  ::close(out[0]);
  port_ = std::atoi(portText.c_str());
  if (port_ <= 0) {
    Stop();
    throw std::runtime_error("quote service did not start: " + binary + " --data " + data);
  }

  if (const char* host = std::getenv(inet::kQuoteHostVariable)) {
    previousHost_ = host;
    hadPreviousHost_ = true;
  }
  ::setenv(inet::kQuoteHostVariable, Address().c_str(), 1);

  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
  while (inet::OpenURL(inet::TestPageAddress()).empty()) {
    if (std::chrono::steady_clock::now() > deadline) {
      Stop();
      throw std::runtime_error("quote service does not answer on " + Address());
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

QuoteServiceProcess::~QuoteServiceProcess() { Stop(); }

void QuoteServiceProcess::Stop() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }
  if (port_ > 0) {
    if (hadPreviousHost_) ::setenv(inet::kQuoteHostVariable, previousHost_.c_str(), 1);
    else ::unsetenv(inet::kQuoteHostVariable);
  }
}

std::string QuoteServiceProcess::Address() const { return "http://127.0.0.1:" + std::to_string(port_); }

int ClosedLoopbackPort() {
  // Kept bound and never listened on for the life of the process: a
  // connection is refused, and no server (another test process's) can take
  // the port meanwhile and answer.
  static const int port = [] {
    int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    if (sock < 0) throw std::runtime_error("no socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(sock, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      ::close(sock);
      throw std::runtime_error("cannot bind a loopback port");
    }
    return static_cast<int>(ntohs(address.sin_port));
  }();
  return port;
}

UnreachableService::UnreachableService() {
  if (const char* host = std::getenv(inet::kQuoteHostVariable)) previous_ = host;
  ::setenv(inet::kQuoteHostVariable, ("http://127.0.0.1:" + std::to_string(ClosedLoopbackPort())).c_str(), 1);
}

UnreachableService::~UnreachableService() {
  if (previous_) ::setenv(inet::kQuoteHostVariable, previous_->c_str(), 1);
  else ::unsetenv(inet::kQuoteHostVariable);
}

}  // namespace testsupport
