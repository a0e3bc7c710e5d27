#include "platform/inet/open_url.h"

#include <curl/curl.h>

#include <cstdlib>
#include <memory>

namespace inet {
namespace {

constexpr long kConnectTimeoutSeconds = 5;
// A transfer slower than one byte a second for this long counts as dead.
constexpr long kLowSpeedSeconds = 15;
constexpr long kMaxRedirects = 10;
constexpr const char* kAgentName = "VB OpenUrl";

void InitialiseCurlOnce() {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)initialised;
}

size_t AppendBody(char* data, size_t size, size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
}

// The proxy exceptions of the environment plus the loopback addresses: the
// local quote service must be reached directly even where a proxy is set.
std::string NoProxyList() {
  std::string list = "127.0.0.1,localhost,::1";
  for (const char* name : {"no_proxy", "NO_PROXY"}) {
    if (const char* value = std::getenv(name); value && *value) return list + "," + value;
  }
  return list;
}

struct CurlCleanup {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

}  // namespace

std::string OpenURL(const std::string& address) {
  try {
    InitialiseCurlOnce();
    std::unique_ptr<CURL, CurlCleanup> handle(curl_easy_init());
    if (!handle) return "";
    CURL* curl = handle.get();
    std::string body;
    const std::string noProxy = NoProxyList();
    curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kLowSpeedSeconds);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);  // timeouts without SIGALRM
    curl_easy_setopt(curl, CURLOPT_USERAGENT, kAgentName);
    curl_easy_setopt(curl, CURLOPT_NOPROXY, noProxy.c_str());
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);        // an error page is no reply
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    if (curl_easy_perform(curl) != CURLE_OK) return "";
    return body;
  } catch (...) {
    return "";  // out of memory while appending: nothing usable was read
  }
}

}  // namespace inet
