#include "platform/inet/open_url.h"

#include <curl/curl.h>

#include <cctype>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace inet {
namespace {

// A transfer slower than one byte a second for this long counts as dead.
constexpr long kLowSpeedSeconds = 15;
constexpr long kMaxRedirects = 10;
constexpr const char* kAgentName = "VB OpenUrl";

FetchLimits& Limits() {
  static FetchLimits limits;
  return limits;
}

void InitialiseCurlOnce() {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)initialised;
}

struct Reply {
  std::string body;
  std::size_t maxBytes = 0;
  bool tooLarge = false;
  std::string contentEncoding;  // of the last response (redirects have their own)
};

size_t AppendBody(char* data, size_t size, size_t count, void* target) {
  auto* reply = static_cast<Reply*>(target);
  const size_t bytes = size * count;
  if (reply->body.size() + bytes > reply->maxBytes) {
    reply->tooLarge = true;
    return 0;  // ends the transfer with a write error
  }
  reply->body.append(data, bytes);
  return bytes;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

// Keeps the Content-Encoding of each response: nothing asks for one, so a
// body that has one cannot be read as text.
size_t NoteHeader(char* data, size_t size, size_t count, void* target) {
  auto* reply = static_cast<Reply*>(target);
  const std::string_view line(data, size * count);
  constexpr std::string_view kEncoding = "content-encoding:";
  if (StartsWithNoCase(line, "http/")) reply->contentEncoding.clear();  // a new response begins
  if (StartsWithNoCase(line, kEncoding)) {
    const std::size_t first = line.find_first_not_of(" \t", kEncoding.size());
    const std::size_t last = line.find_last_not_of(" \t\r\n");
    if (first == std::string_view::npos || last < first) return size * count;
    try {
      reply->contentEncoding = line.substr(first, last - first + 1);
    } catch (...) {
      return 0;  // nothing may unwind through libcurl
    }
  }
  return size * count;
}

bool IsIdentity(std::string_view encoding) { return encoding.empty() || StartsWithNoCase(encoding, "identity"); }

int AskToCancel(void* cancelled, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  try {
    return (*static_cast<const std::function<bool()>*>(cancelled))() ? 1 : 0;
  } catch (...) {
    return 1;  // nothing may unwind through libcurl
  }
}

FetchFailure FailureOf(CURLcode code, bool tooLarge) {
  if (tooLarge) return FetchFailure::kTooLarge;
  switch (code) {
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT: return FetchFailure::kNoConnection;
    case CURLE_OPERATION_TIMEDOUT: return FetchFailure::kTimedOut;
    case CURLE_FILESIZE_EXCEEDED: return FetchFailure::kTooLarge;
    case CURLE_ABORTED_BY_CALLBACK: return FetchFailure::kCancelled;
    case CURLE_HTTP_RETURNED_ERROR: return FetchFailure::kErrorStatus;
    case CURLE_TOO_MANY_REDIRECTS: return FetchFailure::kRedirectLoop;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT: return FetchFailure::kBadAddress;
    default: return FetchFailure::kBrokenOff;
  }
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

// The handle every fetch of the thread goes through, its options set afresh
// each time. It keeps the connection of a finished fetch open, and the next
// fetch of the same host reuses it: a download's pages share one connection
// instead of connecting anew for each. A connection the server has closed
// meanwhile is noticed by libcurl, which connects again.
CURL* ReusedHandle() {
  thread_local std::unique_ptr<CURL, CurlCleanup> handle;
  if (handle) curl_easy_reset(handle.get());
  else handle.reset(curl_easy_init());
  return handle.get();
}

std::string Fetch(const std::string& address, FetchFailure& failure, const std::function<bool()>& cancelled) {
  InitialiseCurlOnce();
  CURL* curl = ReusedHandle();
  if (!curl) {
    failure = FetchFailure::kBrokenOff;
    return "";
  }
  const FetchLimits& limits = Limits();
  Reply reply;
  reply.maxBytes = limits.maxReplyBytes;
  const std::string noProxy = NoProxyList();
  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect.count()));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.total.count()));
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kLowSpeedSeconds);
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxReplyBytes));
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);  // timeouts without SIGALRM
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kAgentName);
  curl_easy_setopt(curl, CURLOPT_NOPROXY, noProxy.c_str());
  curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);  // an error page is no reply
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, NoteHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &reply);
  if (cancelled) {
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, AskToCancel);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &cancelled);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  }
  const CURLcode code = curl_easy_perform(curl);
  if (code != CURLE_OK) {
    failure = FailureOf(code, reply.tooLarge);
    return "";
  }
  if (!IsIdentity(reply.contentEncoding)) {
    failure = FetchFailure::kEncoded;
    return "";
  }
  return std::move(reply.body);
}

}  // namespace

const FetchLimits& CurrentFetchLimits() { return Limits(); }
void SetFetchLimits(const FetchLimits& limits) { Limits() = limits; }

std::string DescribeFailure(FetchFailure failure) {
  switch (failure) {
    case FetchFailure::kNone: return "";
    case FetchFailure::kNoConnection: return "no connection to the quote service";
    case FetchFailure::kTimedOut: return "the quote service did not answer in time";
    case FetchFailure::kTooLarge: return "the reply was too large";
    case FetchFailure::kBrokenOff: return "the connection broke off during the download";
    case FetchFailure::kErrorStatus: return "the quote service answered with an error";
    case FetchFailure::kRedirectLoop: return "the quote service's address redirects in a loop";
    case FetchFailure::kEncoded: return "the reply came compressed, which was not asked for";
    case FetchFailure::kCancelled: return "the download was stopped";
    case FetchFailure::kBadAddress: return "the quote service's address cannot be used";
  }
  return "";
}

std::string OpenURL(const std::string& address, FetchFailure* failure, const std::function<bool()>& cancelled) {
  FetchFailure why = FetchFailure::kNone;
  std::string body;
  try {
    body = Fetch(address, why, cancelled);
  } catch (...) {
    why = FetchFailure::kTooLarge;  // out of memory while appending: nothing usable was read
    body.clear();
  }
  if (failure) *failure = why;
  return body;
}

}  // namespace inet
