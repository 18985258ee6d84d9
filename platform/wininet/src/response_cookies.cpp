#include "response_cookies.h"

#include "cookies.h"
#include "text.h"
#include "url_parts.h"

namespace wininet {

// The share needs no locks: only the thread that pumps the transfer touches it.
ResponseCookies::ResponseCookies(CURL* transfer, std::string url)
    : url_(std::move(url)), share_(curl_share_init()), jar_(curl_easy_init()) {
  curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  for (CURL* easy : {transfer, jar_}) {
    curl_easy_setopt(easy, CURLOPT_SHARE, share_);
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");  // the share alone does not switch the engine on
  }
}

ResponseCookies::~ResponseCookies() {
  curl_easy_cleanup(jar_);
  curl_share_cleanup(share_);
}

void ResponseCookies::NoteHeader(std::string_view line) {
  constexpr std::string_view kSetCookie = "Set-Cookie:";
  if (!StartsWithIgnoreCase(line, kSetCookie)) return;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  std::string_view value = Trim(line.substr(kSetCookie.size()));
  std::string_view first = value.substr(0, value.find(';'));
  if (first.find('=') == std::string_view::npos) bare_.emplace_back(value);
}

void ResponseCookies::Keep() {
  curl_slist* cookies = nullptr;
  curl_easy_getinfo(jar_, CURLINFO_COOKIELIST, &cookies);
  for (curl_slist* c = cookies; c; c = c->next) AddCookieLine(c->data);
  curl_slist_free_all(cookies);
  curl_easy_setopt(jar_, CURLOPT_COOKIELIST, "ALL");

  DWORD error = 0;
  auto parts = SplitUrl(url_, &error);
  for (const std::string& data : bare_) {
    if (!parts) break;
    auto cookie = ParseCookie(PartOf(url_, parts->host), PartOf(url_, parts->path), nullptr, data, &error);
    if (cookie) AddCookie(*cookie);
  }
  bare_.clear();
}

}  // namespace wininet
