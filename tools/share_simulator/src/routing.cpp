#include "routing.h"

#include "codepage/codepage.h"
#include "fault_pages.h"
#include "pages.h"
#include "share_simulator/addresses.h"
#include "win/ascii_case.h"

namespace share_simulator {
namespace {

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// The services sent their pages in GBK.
Answer Page(std::string utf8, std::string contentType) {
  Answer answer;
  answer.status = 200;
  answer.contentType = std::move(contentType);
  answer.body = codepage::Utf8ToGbk(utf8);
  return answer;
}

// "/d/<id>" with prefix "/d/" gives "<id>"; empty when the path has another shape.
std::string_view IdAfter(std::string_view path, std::string_view prefix) {
  if (path.substr(0, prefix.size()) != prefix) return {};
  std::string_view id = path.substr(prefix.size());
  if (!id.empty() && id.back() == '/') id.remove_suffix(1);
  return id.find('/') == std::string_view::npos ? id : std::string_view{};
}

Answer SharePage(const Site& site, Service service, std::string_view id) {
  const ServedShare* served = id.empty() ? nullptr : site.Find(service, id);
  if (!served) return {};
  std::string page;
  switch (service) {
    case Service::Xunlei: page = XunleiPage(*served); break;
    case Service::Baidu: page = BaiduPage(*served); break;
    case Service::Yunpan360: page = YunpanPage(*served); break;
  }
  Answer answer = Page(WithPageFault(*served, std::move(page)), "text/html; charset=gbk");
  if (IsTransportFault(served->share->fault)) {
    answer.fault = served->share->fault;
    answer.faultSeconds = served->share->faultSeconds;
  }
  return answer;
}

// "/download/<id>/<position>" on the simulator's own address.
Answer Download(const Site& site, std::string_view path) {
  std::string_view rest = path.substr(0, 10) == "/download/" ? path.substr(10) : std::string_view{};
  std::size_t slash = rest.find('/');
  if (slash == std::string_view::npos) return {};
  const ServedShare* served = site.Find(rest.substr(0, slash));
  std::string_view position = rest.substr(slash + 1);
  if (!served || position.empty() || position.size() > 4) return {};
  std::size_t n = 0;
  for (char c : position) {
    if (c < '0' || c > '9') return {};
    n = n * 10 + static_cast<std::size_t>(c - '0');
  }
  if (n < 1 || n > served->files.size() || !served->files[n - 1].servable) return {};
  Answer answer;
  answer.status = 200;
  answer.contentType = "application/octet-stream";
  answer.body.clear();
  answer.download = &served->files[n - 1];
  return answer;
}

// A plain list of the shares, for someone who opens the simulator's own address in a browser.
Answer Index(const Site& site) {
  Answer answer;
  answer.status = 200;
  answer.body = "panlift-simulator: share links served here (reach their hosts through PANLIFT_CONNECT_TO=" +
                ConnectToValue(site.Port()) + ")\n";
  for (const ServedShare& served : site.Shares()) {
    answer.body += std::string(ServiceName(served.share->service)) + "\t" + served.link + "\t" +
                   served.files.back().name + "\n";
  }
  return answer;
}

}  // namespace

std::string HostName(std::string_view hostHeader) {
  std::string host(hostHeader.substr(0, hostHeader.rfind(':')));
  for (char& c : host) c = ascii::Lower(c);
  return host;
}

Answer Route(const Site& site, const Request& request) {
  const std::string host = HostName(request.host);
  const bool get = request.method == "GET" || request.method == "HEAD";
  if (request.method == "POST") {
    if (host == kYunpanEndpointHost && request.path == kYunpanEndpointPath) {
      return Page(YunpanDownloadAnswer(site, request.body), "application/json; charset=gbk");
    }
    return {};
  }
  if (!get) return {};
  if (host == kXunleiHost) return SharePage(site, Service::Xunlei, IdAfter(request.path, "/d/"));
  if (host == kBaiduHost || host == "yun.baidu.com") return SharePage(site, Service::Baidu, IdAfter(request.path, "/s/"));
  if (host == kYunpanHost || EndsWith(host, ".yunpan.cn")) return SharePage(site, Service::Yunpan360, IdAfter(request.path, "/"));
  if (host == kLoopback || host == "localhost") return request.path == "/" ? Index(site) : Download(site, request.path);
  return {};
}

}  // namespace share_simulator
