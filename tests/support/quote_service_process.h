#pragma once
// The stand-in quote service, started for one test on a free loopback port.
// While the object lives, KESTROVANE_QUOTE_HOST names it, so the program's
// downloads and connectivity test reach it; the destructor stops the service
// and restores the variable.
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace testsupport {

class QuoteServiceProcess {
 public:
  // Serves the shipped data folder unless another one is given. Throws when
  // the service cannot be started or does not answer within a few seconds.
  explicit QuoteServiceProcess(const std::filesystem::path& dataFolder = KESTROVANE_DATA_DIR);
  ~QuoteServiceProcess();
  QuoteServiceProcess(const QuoteServiceProcess&) = delete;
  QuoteServiceProcess& operator=(const QuoteServiceProcess&) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:<port>"
  std::string Address() const;

 private:
  void Stop();

  pid_t pid_ = -1;
  int port_ = 0;
  std::string previousHost_;
  bool hadPreviousHost_ = false;
};

// A loopback port that nothing listens on (held bound by the process).
int ClosedLoopbackPort();

// While it lives, the program's network addresses name a port nobody listens
// on (not the program's fixed port, where another service may be running).
class UnreachableService {
 public:
  UnreachableService();
  ~UnreachableService();
  UnreachableService(const UnreachableService&) = delete;
  UnreachableService& operator=(const UnreachableService&) = delete;

 private:
  std::optional<std::string> previous_;
};

}  // namespace testsupport
