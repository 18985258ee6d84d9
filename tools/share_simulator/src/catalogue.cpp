#include "share_simulator/catalogue.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <utility>
#include <sstream>

#include <nlohmann/json.hpp>

namespace share_simulator {
namespace {

using nlohmann::json;

// Names and ids go into pages, paths and one-line output: keep them to what fits there.
bool IsPrintable(std::string_view text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

bool IsIdCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// Reads one share, naming it in every fault ("share 3 (\"abc\")").
class ShareReader {
 public:
  ShareReader(const std::string& path, std::size_t number, const json& item)
      : path_(path), where_("share " + std::to_string(number)), item_(item) {}

  Share Read() {
    if (!item_.is_object()) Fail("must be an object");
    for (const auto& [key, value] : item_.items()) {
      if (key != "service" && key != "id" && key != "name" && key != "size" && key != "earlier_files" &&
          key != "fields" && key != "errmsg" && key != "note" && key != "fault" && key != "fault_seconds" &&
          key != "fault_bytes") {
        Fail("unknown member \"" + key + "\"");
      }
    }
    Share share;
    share.id = Text("id");
    if (share.id.empty()) Fail("\"id\" is empty");
    for (char c : share.id) {
      if (!IsIdCharacter(c)) Fail("\"id\" may hold only letters, digits, '-' and '_'");
    }
    where_ += " (\"" + share.id + "\")";
    std::string service = Text("service");
    auto known = ServiceFromName(service);
    if (!known) Fail("unknown service \"" + service + "\" (xunlei, baidu or 360)");
    share.service = *known;

    if (item_.contains("earlier_files")) {
      if (share.service == Service::Yunpan360) Fail("\"earlier_files\": a 360 Pan page lists one file");
      const json& earlier = item_["earlier_files"];
      if (!earlier.is_array()) Fail("\"earlier_files\" must be an array");
      for (std::size_t i = 0; i < earlier.size(); ++i) {
        if (!earlier[i].is_object()) Fail("\"earlier_files\" entry " + std::to_string(i + 1) + " must be an object");
        share.files.push_back(File(earlier[i], "\"earlier_files\" entry " + std::to_string(i + 1) + ": "));
      }
    }
    share.files.push_back(File(item_, ""));

    if (item_.contains("fields")) {
      if (!item_["fields"].is_boolean()) Fail("\"fields\" must be true or false");
      share.hasFields = item_["fields"].get<bool>();
    }
    if (item_.contains("errmsg")) {
      if (share.service != Service::Yunpan360) Fail("\"errmsg\" belongs to 360 Pan shares only");
      share.errmsg = Text("errmsg");
    } else if (share.service == Service::Yunpan360) {
      share.errmsg = kSuccessMessage;
    }
    if (item_.contains("note") && !item_["note"].is_string()) Fail("\"note\" must be a string");
    ReadFault(share);
    return share;
  }

  void ReadFault(Share& share) {
    if (item_.contains("fault")) {
      std::string name = Text("fault");
      auto fault = FaultFromName(name);
      if (!fault) Fail("unknown fault \"" + name + "\"");
      const bool only360 = *fault == Fault::ScriptForever || *fault == Fault::HugeArray || *fault == Fault::HugeAnswer;
      if (only360 && share.service != Service::Yunpan360) Fail("fault \"" + name + "\" belongs to 360 Pan shares only");
      share.fault = *fault;
    }
    if (item_.contains("fault_seconds")) {
      const json& seconds = item_["fault_seconds"];
      if (share.fault != Fault::Silent) Fail("\"fault_seconds\" belongs to the fault \"silent\" only");
      if (!seconds.is_number_integer() || seconds.get<long long>() < 0 || seconds.get<long long>() > 3600) {
        Fail("\"fault_seconds\" must be a whole number from 0 to 3600");
      }
      share.faultSeconds = seconds.get<int>();
    }
    if (item_.contains("fault_bytes")) {
      const json& bytes = item_["fault_bytes"];
      if (share.fault != Fault::RegexWorstCase) Fail("\"fault_bytes\" belongs to the fault \"regex-worst-case\" only");
      if (!bytes.is_number_integer() || bytes.get<long long>() < 1 || bytes.get<long long>() > (64ll << 20)) {
        Fail("\"fault_bytes\" must be a whole number from 1 to 67108864");
      }
      share.faultBytes = bytes.get<std::uint64_t>();
    }
  }

  [[noreturn]] void Fail(const std::string& fault) const { throw CatalogueError(path_ + ": " + where_ + ": " + fault); }

 private:
  std::string Text(const char* key) const {
    if (!item_.contains(key)) Fail(std::string("\"") + key + "\" is missing");
    const json& value = item_[key];
    if (!value.is_string()) Fail(std::string("\"") + key + "\" must be a string");
    return value.get<std::string>();
  }

  SharedFile File(const json& object, const std::string& prefix) const {
    SharedFile file;
    if (!object.contains("name")) Fail(prefix + "\"name\" is missing");
    if (!object["name"].is_string()) Fail(prefix + "\"name\" must be a string");
    file.name = object["name"].get<std::string>();
    if (file.name.empty()) Fail(prefix + "\"name\" is empty");
    if (!IsPrintable(file.name)) Fail(prefix + "\"name\" holds a control character");
    if (!object.contains("size")) Fail(prefix + "\"size\" is missing");
    const json& size = object["size"];
    if (!size.is_number_unsigned()) Fail(prefix + "\"size\" must be a whole number of bytes, 0 or more");
    file.size = size.get<std::uint64_t>();
    if (&object != &item_) {
      for (const auto& [key, value] : object.items()) {
        if (key != "name" && key != "size") Fail(prefix + "unknown member \"" + key + "\"");
      }
    }
    return file;
  }

  const std::string& path_;
  std::string where_;
  const json& item_;
};

constexpr std::pair<Fault, std::string_view> kFaultNames[] = {
    {Fault::EndlessBody, "endless-body"},   {Fault::Silent, "silent"},
    {Fault::ResetMidBody, "reset-mid-body"}, {Fault::RedirectLoop, "redirect-loop"},
    {Fault::HugeHeaders, "huge-headers"},   {Fault::BrokenChunks, "broken-chunks"},
    {Fault::Garbage, "garbage"},            {Fault::RegexWorstCase, "regex-worst-case"},
    {Fault::ScriptForever, "script-forever"}, {Fault::HugeArray, "huge-array"},
    {Fault::HugeAnswer, "huge-answer"},
};

}  // namespace

std::string_view FaultName(Fault fault) {
  for (const auto& [f, name] : kFaultNames) {
    if (f == fault) return name;
  }
  return "";
}

std::optional<Fault> FaultFromName(std::string_view name) {
  for (const auto& [f, n] : kFaultNames) {
    if (n == name) return f;
  }
  return std::nullopt;
}

Catalogue ParseCatalogue(std::string_view text, const std::string& path) {
  json document;
  try {
    document = json::parse(text);
  } catch (const json::parse_error& e) {
    std::string message = e.what();  // "[json.exception.parse_error.101] parse error at line ..."
    std::size_t bracket = message.find("] ");
    throw CatalogueError(path + ": not valid JSON: " + (bracket == std::string::npos ? message : message.substr(bracket + 2)));
  }
  if (!document.is_object() || !document.contains("shares") || !document["shares"].is_array()) {
    throw CatalogueError(path + ": the top level must be an object with a \"shares\" array");
  }
  const json& items = document["shares"];
  if (items.empty()) throw CatalogueError(path + ": \"shares\" is empty");

  Catalogue catalogue;
  catalogue.path = path;
  std::map<std::string, std::size_t> numbers;  // id -> share number, for duplicates
  for (std::size_t i = 0; i < items.size(); ++i) {
    ShareReader reader(path, i + 1, items[i]);
    Share share = reader.Read();
    auto [at, fresh] = numbers.emplace(share.id, i + 1);
    if (!fresh) reader.Fail("duplicate id: share " + std::to_string(at->second) + " has it too");
    catalogue.shares.push_back(std::move(share));
  }
  return catalogue;
}

Catalogue LoadCatalogue(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw CatalogueError(path + ": cannot be read (" + std::strerror(errno) + ")");
  std::ostringstream text;
  text << in.rdbuf();
  return ParseCatalogue(text.str(), path);
}

const Share* FindShare(const Catalogue& catalogue, std::string_view id) {
  for (const Share& share : catalogue.shares) {
    if (share.id == id) return &share;
  }
  return nullptr;
}

const Share* FindShare(const Catalogue& catalogue, Service service, std::string_view id) {
  const Share* share = FindShare(catalogue, id);
  return share && share->service == service ? share : nullptr;
}

}  // namespace share_simulator
