#include "transfer.h"

#include <algorithm>

#include "cookies.h"
#include "curl_errors.h"
#include "curl_setup.h"
#include "text.h"
#include "trusted_store.h"
#include "wininet/wininet.h"

namespace wininet {
namespace {

constexpr std::size_t kRingCapacity = 64 * 1024;
// Resume a paused transfer once a whole libcurl write fits again.
constexpr std::size_t kResumeRoom = CURL_MAX_WRITE_SIZE;

curl_slist* List(const std::vector<std::string>& lines) {
  curl_slist* list = nullptr;
  for (const std::string& line : lines) list = curl_slist_append(list, line.c_str());
  return list;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

Transfer::Transfer(TransferSpec spec) : spec_(std::move(spec)), ring_(kRingCapacity) {}

Transfer::~Transfer() {
  if (multi_ && easy_) curl_multi_remove_handle(multi_, easy_);
  if (easy_) curl_easy_cleanup(easy_);
  cookies_.reset();  // its share outlives the handle that used it
  if (multi_) curl_multi_cleanup(multi_);
  curl_slist_free_all(headers_);
  curl_slist_free_all(connectTo_);
}

DWORD Transfer::Configure() {
  EnsureCurl();
  multi_ = curl_multi_init();
  easy_ = curl_easy_init();
  if (!multi_ || !easy_) return ERROR_NOT_ENOUGH_MEMORY;
  CURL* e = easy_;
  curl_easy_setopt(e, CURLOPT_URL, spec_.url.c_str());
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);  // the object goes out as the caller wrote it
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_HTTP_VERSION, spec_.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(e, CURLOPT_HTTP09_ALLOWED, 1L);
  curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);

  bool head = EqualsIgnoreCase(spec_.verb, "HEAD");
  if (spec_.sendsBody) {
    curl_easy_setopt(e, CURLOPT_POST, 1L);
    curl_easy_setopt(e, CURLOPT_POSTFIELDS, spec_.body.data());
    curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(spec_.body.size()));
  } else if (head) {
    curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
  } else {
    curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
  }
  curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, spec_.verb.c_str());  // the verb exactly as given

  headers_ = List(spec_.headerLines);
  curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers_);
  if (!spec_.userAgent.empty()) curl_easy_setopt(e, CURLOPT_USERAGENT, spec_.userAgent.c_str());
  if (!spec_.userName.empty()) {
    curl_easy_setopt(e, CURLOPT_USERNAME, spec_.userName.c_str());
    curl_easy_setopt(e, CURLOPT_PASSWORD, spec_.password.c_str());
    curl_easy_setopt(e, CURLOPT_HTTPAUTH, CURLAUTH_ANY);  // credentials only when challenged
  }

  // Both always set, "" included: otherwise libcurl would read the proxy variables itself,
  // and no_proxy would bypass even a proxy the caller named.
  curl_easy_setopt(e, CURLOPT_PROXY, spec_.proxy.c_str());
  curl_easy_setopt(e, CURLOPT_NOPROXY, spec_.noProxy.c_str());
  if (!spec_.proxyUserName.empty()) {
    curl_easy_setopt(e, CURLOPT_PROXYUSERNAME, spec_.proxyUserName.c_str());
    curl_easy_setopt(e, CURLOPT_PROXYPASSWORD, spec_.proxyPassword.c_str());
  }
  if (!spec_.connectTo.empty()) {
    connectTo_ = List(spec_.connectTo);
    curl_easy_setopt(e, CURLOPT_CONNECT_TO, connectTo_);
  }
  if (spec_.cookies) cookies_ = std::make_unique<ResponseCookies>(e, spec_.url);
  if (!spec_.verifyHostName) curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 0L);
  curl_easy_setopt(e, CURLOPT_SSL_CTX_FUNCTION, &TrustAddedRoots);
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(spec_.timeouts.connect));

  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &Transfer::OnProgress);
  curl_easy_setopt(e, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, &Transfer::OnConnected);
  curl_easy_setopt(e, CURLOPT_PREREQDATA, this);

  if (curl_multi_add_handle(multi_, e) != CURLM_OK) return ERROR_INTERNET_INTERNAL_ERROR;
  lastActivity_ = Clock::now();
  return ERROR_SUCCESS;
}

std::size_t Transfer::OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
  auto* t = static_cast<Transfer*>(self);
  std::size_t n = size * count;
  std::string_view line(data, n);
  t->lastActivity_ = Clock::now();
  const bool blank = line == "\r\n" || line == "\n";
  if (t->cookies_) {  // every head's, also one libcurl reads after an authentication retry
    if (blank) {
      t->cookies_->Keep();  // before libcurl could send again on this handle
    } else {
      t->cookies_->NoteHeader(line);
    }
  }
  if (t->headComplete_) return n;  // trailers of a chunked body
  if (StartsWith(line, "HTTP/")) {
    t->head_.StartWith(line);
  } else if (blank) {
    int status = t->head_.Status();
    if (status < 100 || status >= 200) t->headComplete_ = true;  // 1xx: the real head follows
  } else {
    t->head_.AddLine(line);
  }
  return n;
}

std::size_t Transfer::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
  auto* t = static_cast<Transfer*>(self);
  std::size_t n = size * count;
  t->lastActivity_ = Clock::now();
  if (!t->headComplete_) {  // a body without a status line
    t->head_.StartWithoutStatusLine();
    t->headComplete_ = true;
  }
  if (n > t->ring_.Free()) {
    if (n <= t->ring_.Capacity()) {
      t->paused_ = true;
      return CURL_WRITEFUNC_PAUSE;  // libcurl keeps the bytes and offers them again on resume
    }
    t->ring_.Reserve(t->ring_.Size() + n);
  }
  t->ring_.Write(data, n);
  return n;
}

int Transfer::OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
  auto* t = static_cast<Transfer*>(self);
  if (uploaded > t->uploaded_) {
    t->uploaded_ = uploaded;
    t->lastActivity_ = Clock::now();
  }
  return 0;
}

int Transfer::OnConnected(void* self, char*, char*, int, int) {
  auto* t = static_cast<Transfer*>(self);
  t->connected_ = true;  // from here the send and receive timeouts watch the exchange
  t->lastActivity_ = Clock::now();
  return CURL_PREREQFUNC_OK;
}

bool Transfer::Reached(Waiting waiting) const {
  return waiting == Waiting::ForHead ? headComplete_ : ring_.Size() > 0;
}

DWORD Transfer::CurrentLimit(Waiting waiting) const {
  if (waiting == Waiting::ForBody) return spec_.timeouts.bodyReceive;
  if (spec_.sendsBody && uploaded_ < static_cast<curl_off_t>(spec_.body.size())) return spec_.timeouts.send;
  return spec_.timeouts.receive;
}

DWORD Transfer::PumpUntil(Waiting waiting) {
  const Clock::time_point waitStart = Clock::now();
  for (;;) {
    int running = 0;
    if (curl_multi_perform(multi_, &running) != CURLM_OK) return ERROR_INTERNET_INTERNAL_ERROR;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
      if (message->msg == CURLMSG_DONE) {
        done_ = true;
        result_ = message->data.result;
      }
    }
    if (Reached(waiting) || done_) return ERROR_SUCCESS;

    // The time without progress counts from the later of the last progress and the start of
    // this wait: a reader that paused the transfer for long has not starved it.
    int waitMs = 1000;
    DWORD limit = CurrentLimit(waiting);
    if (connected_) {  // until then libcurl's connect timeout watches
      auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() -
                                                                        std::max(lastActivity_, waitStart)).count();
      if (idle >= static_cast<long long>(limit)) return ERROR_INTERNET_TIMEOUT;
      waitMs = static_cast<int>(std::min<long long>(waitMs, limit - idle));
    }
    curl_multi_poll(multi_, nullptr, 0, waitMs, nullptr);
  }
}

DWORD Transfer::AwaitHead() {
  if (!started_) {
    started_ = true;
    if (DWORD error = Configure()) return error;
  }
  DWORD error = PumpUntil(Waiting::ForHead);
  if (cookies_) cookies_->Keep();  // also what a head that never ended set
  if (error) return error;
  if (headComplete_) return ERROR_SUCCESS;
  if (result_ == CURLE_OK) {  // ended cleanly without a single byte of head or body
    head_.StartWithoutStatusLine();
    headComplete_ = true;
    return ERROR_SUCCESS;
  }
  return ErrorFromTransfer(easy_, result_);
}

void Transfer::Resume() {
  paused_ = false;
  curl_easy_pause(easy_, CURLPAUSE_CONT);  // may deliver the held bytes at once
}

DWORD Transfer::Read(char* buffer, std::size_t size, std::size_t* count) {
  *count = 0;
  if (!headComplete_) return ERROR_INTERNET_INCORRECT_HANDLE_STATE;
  for (;;) {
    if (ring_.Size() > 0) {
      *count = ring_.Read(buffer, size);
      if (paused_ && ring_.Free() >= kResumeRoom) Resume();
      return ERROR_SUCCESS;
    }
    if (done_) return ErrorFromTransfer(easy_, result_);
    if (paused_) {
      Resume();
    } else if (DWORD error = PumpUntil(Waiting::ForBody)) {
      return error;
    }
  }
}

}  // namespace wininet
