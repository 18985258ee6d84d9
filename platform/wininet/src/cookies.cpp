#include "cookies.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <vector>

#include <curl/curl.h>

#include "cookie_match.h"
#include "curl_setup.h"
#include "text.h"
#include "url_parts.h"
#include "wininet/wininet.h"

namespace wininet {
namespace {

class CookieStore {
 public:
  CookieStore() : share_(curl_share_init()) {
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &CookieStore::Lock);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &CookieStore::Unlock);
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  }
  CURLSH* Share() const { return share_; }

  // The cookies set bare, by the key of BareKey.
  void MarkBare(const std::string& key, bool bare) {
    std::lock_guard<std::mutex> lock(bareLock_);
    if (bare) {
      bare_.insert(key);
    } else {
      bare_.erase(key);
    }
  }
  bool IsBare(const std::string& key) {
    std::lock_guard<std::mutex> lock(bareLock_);
    return bare_.count(key) != 0;
  }

 private:
  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<CookieStore*>(self)->locks_[data % kLocks].lock();
  }
  static void Unlock(CURL*, curl_lock_data data, void* self) {
    static_cast<CookieStore*>(self)->locks_[data % kLocks].unlock();
  }
  static constexpr int kLocks = CURL_LOCK_DATA_LAST;
  CURLSH* share_;
  std::mutex locks_[kLocks];
  std::mutex bareLock_;
  std::set<std::string> bare_;
};

// Lives until the process ends: transfers may still hold the share while statics go away.
CookieStore& Store() {
  static CookieStore* store = [] {
    EnsureCurl();
    return new CookieStore;
  }();
  return *store;
}

bool Clean(std::string_view text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

std::vector<std::string_view> SplitAttributes(std::string_view text) {
  std::vector<std::string_view> parts;
  while (!text.empty()) {
    std::size_t semicolon = text.find(';');
    parts.push_back(Trim(text.substr(0, semicolon)));
    if (semicolon == std::string_view::npos) break;
    text.remove_prefix(semicolon + 1);
  }
  return parts;
}

// What makes a stored cookie the same cookie for libcurl: its domain (in any case, with or
// without the leading dot), its path (a trailing "/" not counted) and its name.
std::string BareKey(std::string_view domain, std::string_view path, std::string_view name) {
  if (!domain.empty() && domain[0] == '.') domain.remove_prefix(1);
  if (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  return ToLower(domain) + '\t' + std::string(path) + '\t' + std::string(name);
}

// The fields of a line of libcurl's format, without the "#HttpOnly_" mark.
std::vector<std::string_view> LineFields(std::string_view line) {
  constexpr std::string_view kHttpOnly = "#HttpOnly_";
  if (line.substr(0, kHttpOnly.size()) == kHttpOnly) line.remove_prefix(kHttpOnly.size());
  std::vector<std::string_view> fields;
  for (;;) {
    std::size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

CURL* StoreHandle() {
  CURL* easy = curl_easy_init();
  curl_easy_setopt(easy, CURLOPT_SHARE, Store().Share());  // before any cookie goes in: else it is lost
  curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");          // the share alone does not switch the engine on
  return easy;
}

void Inject(const std::string& line) {
  CURL* easy = StoreHandle();
  curl_easy_setopt(easy, CURLOPT_COOKIELIST, line.c_str());
  curl_easy_cleanup(easy);
}

// The expiry of an "expires=" date; an unreadable date leaves a session cookie, a past one
// stays in the past so that it removes a stored cookie of the same name.
std::time_t Expiry(std::string_view date) {
  std::time_t t = curl_getdate(std::string(date).c_str(), nullptr);
  if (t == -1) return 0;
  return t < 1 ? 1 : t;
}

}  // namespace

std::optional<Cookie> ParseCookie(std::string_view host, std::string_view urlPath, const char* name,
                                  std::string_view data, DWORD* error) {
  *error = ERROR_INVALID_PARAMETER;
  Cookie cookie;
  std::vector<std::string_view> parts = SplitAttributes(data);
  std::string_view first = parts.empty() ? std::string_view{} : parts[0];
  if (name) {
    cookie.name = std::string(Trim(name));
    cookie.value = std::string(first);
  } else {
    std::size_t equals = first.find('=');
    cookie.name = std::string(Trim(first.substr(0, equals)));
    if (equals != std::string_view::npos) cookie.value = std::string(Trim(first.substr(equals + 1)));
    cookie.bare = equals == std::string_view::npos;
  }
  if (cookie.name.empty() || !Clean(cookie.name) || !Clean(cookie.value) || !Clean(data)) return std::nullopt;

  cookie.domain = ToLower(host);
  std::size_t slash = urlPath.rfind('/');
  cookie.path = slash == std::string_view::npos ? "/" : std::string(urlPath.substr(0, slash + 1));
  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::string_view attribute = parts[i];
    std::size_t equals = attribute.find('=');
    std::string_view key = Trim(attribute.substr(0, equals));
    std::string_view value = equals == std::string_view::npos ? std::string_view{} : Trim(attribute.substr(equals + 1));
    if (EqualsIgnoreCase(key, "domain") && !value.empty()) {
      std::string domain = ToLower(value[0] == '.' ? value.substr(1) : value);
      std::string lowerHost = ToLower(host);
      // A domain covers its subdomains, but a single label ("com") covers nothing else.
      bool covers = lowerHost == domain || (domain.find('.') != std::string::npos &&
                                            lowerHost.size() > domain.size() && lowerHost.ends_with("." + domain));
      if (domain.empty() || !covers) return std::nullopt;
      cookie.domain = domain;
      cookie.hostOnly = false;
    } else if (EqualsIgnoreCase(key, "path") && !value.empty()) {
      cookie.path = std::string(value);
    } else if (EqualsIgnoreCase(key, "expires")) {
      cookie.expires = Expiry(value);
    } else if (EqualsIgnoreCase(key, "secure")) {
      cookie.secure = true;
    } else if (EqualsIgnoreCase(key, "httponly")) {
      cookie.httpOnly = true;
    }
  }
  *error = ERROR_SUCCESS;
  return cookie;
}

std::string CookieLine(const Cookie& c) {
  std::string line = c.httpOnly ? "#HttpOnly_" : "";
  line += c.domain + "\t" + (c.hostOnly ? "FALSE" : "TRUE") + "\t" + c.path + "\t" + (c.secure ? "TRUE" : "FALSE") +
          "\t" + std::to_string(static_cast<long long>(c.expires)) + "\t" + c.name + "\t" + c.value;
  return line;
}

void AddCookie(const Cookie& cookie) {
  Inject(CookieLine(cookie));
  Store().MarkBare(BareKey(cookie.domain, cookie.path, cookie.name), cookie.bare);
}

void AddCookieLine(const std::string& line) {
  std::vector<std::string_view> f = LineFields(line);
  if (f.size() < 7) return;
  Inject(line);
  Store().MarkBare(BareKey(f[0], f[2], f[5]), false);
}

std::string CookieHeaderFor(std::string_view url) {
  DWORD error = 0;
  auto parts = SplitUrl(url, &error);
  if (!parts) return "";
  std::string_view path = PartOf(url, parts->path);
  CookieTarget target{PartOf(url, parts->host), path.empty() ? "/" : path,
                      parts->schemeNumber == INTERNET_SCHEME_HTTPS};

  CURL* easy = StoreHandle();
  curl_slist* cookies = nullptr;
  curl_easy_getinfo(easy, CURLINFO_COOKIELIST, &cookies);
  const std::time_t now = std::time(nullptr);
  std::vector<std::vector<std::string_view>> sent;
  for (curl_slist* c = cookies; c; c = c->next) {
    if (CookieMatches(c->data, target, now)) sent.push_back(LineFields(c->data));
  }
  std::stable_sort(sent.begin(), sent.end(), [](const auto& a, const auto& b) { return a[2].size() > b[2].size(); });
  std::string header;
  for (const auto& f : sent) {
    if (!header.empty()) header += "; ";
    header += f[5];
    std::string_view value = f.size() > 6 ? f[6] : std::string_view{};
    if (!value.empty() || !Store().IsBare(BareKey(f[0], f[2], f[5]))) {
      header += '=';
      header += value;
    }
  }
  curl_slist_free_all(cookies);
  curl_easy_cleanup(easy);
  return header;
}

}  // namespace wininet
