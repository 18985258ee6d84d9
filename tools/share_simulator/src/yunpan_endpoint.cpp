// The 360 Pan download endpoint: finds the share by the form's "shorturl" and "nid" and
// answers with the share's "errmsg", and on success the download address.
#include <optional>

#include <nlohmann/json.hpp>

#include "fault_pages.h"
#include "pages.h"

namespace share_simulator {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string FormDecode(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The value of the first "key=value" pair of a form body with that key, if any.
std::optional<std::string> FormValue(std::string_view body, std::string_view key) {
  while (!body.empty()) {
    std::size_t amp = body.find('&');
    std::string_view pair = body.substr(0, amp);
    body = amp == std::string_view::npos ? std::string_view{} : body.substr(amp + 1);
    std::size_t equals = pair.find('=');
    if (equals != std::string_view::npos && FormDecode(pair.substr(0, equals)) == key) {
      return FormDecode(pair.substr(equals + 1));
    }
  }
  return std::nullopt;
}

std::string Failure(std::string_view errmsg) {
  nlohmann::ordered_json answer;
  answer["errno"] = 1;
  answer["errmsg"] = errmsg;
  answer["data"] = nlohmann::ordered_json::object();
  return answer.dump(-1, ' ', false);
}

}  // namespace

std::string YunpanDownloadAnswer(const Site& site, std::string_view formBody) {
  std::optional<std::string> surl = FormValue(formBody, "shorturl");
  std::optional<std::string> nid = FormValue(formBody, "nid");
  if (!surl || !nid) return Failure("参数错误");
  const ServedShare* served = site.Find(Service::Yunpan360, *surl);
  if (!served || YunpanNid(*served->share) != *nid) return Failure("此文件已不存在!");
  if (served->share->errmsg != kSuccessMessage) return Failure(served->share->errmsg);

  nlohmann::ordered_json answer;
  answer["errno"] = 0;
  answer["errmsg"] = kSuccessMessage;
  answer["data"]["downloadurl"] = served->files.back().downloadAddress;
  return WithAnswerFault(*served, answer.dump(-1, ' ', false));
}

}  // namespace share_simulator
