// Options as the downloaders have them: short ones bundled ("-gq", "-sbaidu"), long ones
// with "=" or the next argument as value, "--" before links that start with "-".
#include "options.h"

#include <string_view>

namespace cli {
namespace {

enum class Id { Service, GetUrl, DumpJson, Print, Proxy, Batch, Quiet, Verbose, Help, Version };

struct OptionInfo {
  Id id;
  char shortName;  // 0: none
  std::string_view longName;
  bool takesValue;
};

constexpr OptionInfo kOptions[] = {
    {Id::Service, 's', "service", true},  {Id::GetUrl, 'g', "get-url", false},
    {Id::DumpJson, 'j', "dump-json", false}, {Id::Print, 0, "print", true},
    {Id::Proxy, 0, "proxy", true},        {Id::Batch, 'a', "batch-file", true},
    {Id::Quiet, 'q', "quiet", false},     {Id::Verbose, 'v', "verbose", false},
    {Id::Help, 'h', "help", false},       {Id::Version, 0, "version", false},
};

const OptionInfo* FindShort(char c) {
  for (const OptionInfo& o : kOptions) {
    if (o.shortName == c) return &o;
  }
  return nullptr;
}

const OptionInfo* FindLong(std::string_view name) {
  for (const OptionInfo& o : kOptions) {
    if (o.longName == name) return &o;
  }
  return nullptr;
}

std::string Spelling(const OptionInfo& o) { return "--" + std::string(o.longName); }

class Parser {
 public:
  explicit Parser(std::span<const std::string> arguments) : arguments_(arguments) {}

  ParsedOptions Run() {
    bool linksOnly = false;
    for (next_ = 0; next_ < arguments_.size() && result_.error.empty();) {
      const std::string& argument = arguments_[next_++];
      if (linksOnly || argument == "-" || argument.empty() || argument[0] != '-') {
        result_.options.sources.push_back({false, argument});
      } else if (argument == "--") {
        linksOnly = true;
      } else if (argument.starts_with("--")) {
        Long(std::string_view(argument).substr(2));
      } else {
        Bundle(std::string_view(argument).substr(1));
      }
    }
    if (result_.error.empty()) Check();
    return result_;
  }

 private:
  void Long(std::string_view body) {
    std::size_t equals = body.find('=');
    const OptionInfo* o = FindLong(body.substr(0, equals));
    if (!o) return Fail("unknown option --" + std::string(body.substr(0, equals)));
    if (equals != std::string_view::npos) {
      if (!o->takesValue) return Fail(Spelling(*o) + " takes no value");
      return Apply(*o, std::string(body.substr(equals + 1)));
    }
    if (!o->takesValue) return Apply(*o, "");
    if (next_ == arguments_.size()) return Fail(Spelling(*o) + " needs a value");
    Apply(*o, arguments_[next_++]);
  }

  // "-gq", "-sbaidu", "-a FILE".
  void Bundle(std::string_view letters) {
    for (std::size_t i = 0; i < letters.size() && result_.error.empty(); ++i) {
      const OptionInfo* o = FindShort(letters[i]);
      if (!o) return Fail("unknown option -" + std::string(1, letters[i]));
      if (!o->takesValue) {
        Apply(*o, "");
        continue;
      }
      if (i + 1 < letters.size()) return Apply(*o, std::string(letters.substr(i + 1)));
      if (next_ == arguments_.size()) return Fail("-" + std::string(1, o->shortName) + " needs a value");
      return Apply(*o, arguments_[next_++]);
    }
  }

  void Apply(const OptionInfo& o, const std::string& value) {
    Options& options = result_.options;
    switch (o.id) {
      case Id::Service:
        options.service = ServiceFromName(value);
        if (!options.service) Fail("unknown service \"" + value + "\" (xunlei, baidu or 360)");
        break;
      case Id::GetUrl: Form(OutputForm::Url); break;
      case Id::DumpJson: Form(OutputForm::Json); break;
      case Id::Print:
        if (value == "curl") {
          Form(OutputForm::Curl);
        } else if (value == "aria2") {
          Form(OutputForm::Aria2);
        } else {
          Fail("unknown --print form \"" + value + "\" (curl or aria2)");
        }
        break;
      case Id::Proxy: options.proxy = value; break;
      case Id::Batch: options.sources.push_back({true, value}); break;
      case Id::Quiet: options.quiet = true; break;
      case Id::Verbose: options.verbose = true; break;
      case Id::Help: options.help = true; break;
      case Id::Version: options.version = true; break;
    }
  }

  // One output form per run: a second, different one is a mistake, not a choice.
  void Form(OutputForm form) {
    if (formGiven_ && result_.options.form != form) return Fail("-g, -j and --print are alternatives; give one");
    formGiven_ = true;
    result_.options.form = form;
  }

  void Check() {
    const Options& options = result_.options;
    if (options.help || options.version) return;
    if (options.quiet && options.verbose) return Fail("-q and -v are alternatives; give one");
    if (options.sources.empty()) Fail("no link given");
  }

  void Fail(std::string message) {
    if (result_.error.empty()) result_.error = std::move(message);
  }

  std::span<const std::string> arguments_;
  std::size_t next_ = 0;
  bool formGiven_ = false;
  ParsedOptions result_;
};

}  // namespace

ParsedOptions ParseOptions(std::span<const std::string> arguments) { return Parser(arguments).Run(); }

}  // namespace cli
