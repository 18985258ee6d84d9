#include "options.h"

#include <string_view>

namespace share_simulator {

const char kUsage[] =
    "Usage: panlift-simulator [options]\n"
    "A local stand-in for the share pages of Xunlei Kuaichuan, Baidu Pan and 360 Pan.\n"
    "\n"
    "  --port N          listen on 127.0.0.1:N (default 8000; 0 picks a free port)\n"
    "  --catalogue FILE  serve the shares of FILE instead of the default catalogue\n"
    "  --print-env       print \"export PANLIFT_CONNECT_TO=...\" for the port and exit\n"
    "  --quiet           no log line per request on standard error\n"
    "  --help            this text\n"
    "  --version         the version\n"
    "\n"
    "On start it prints, tab-separated on standard output: \"listening\" and its address,\n"
    "\"connect-to\" and the PANLIFT_CONNECT_TO value, one \"share\" line per share (service,\n"
    "link, file name), then \"ready\". SIGINT or SIGTERM stops it.\n";

namespace {

std::optional<int> PortNumber(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int port = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    port = port * 10 + (c - '0');
  }
  return port <= 65535 ? std::optional<int>(port) : std::nullopt;
}

}  // namespace

std::optional<Options> ParseOptions(int argc, const char* const* argv, std::string* fault) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    std::string_view name = argument.substr(0, argument.find('='));
    std::optional<std::string_view> value;
    if (name.size() < argument.size()) value = argument.substr(name.size() + 1);
    bool takesValue = name == "--port" || name == "--catalogue";
    if (takesValue && !value) {
      if (i + 1 >= argc) {
        *fault = std::string(name) + " needs a value";
        return std::nullopt;
      }
      value = argv[++i];
    } else if (!takesValue && value) {
      *fault = "option " + std::string(name) + " takes no value";
      return std::nullopt;
    }
    if (name == "--port") {
      auto port = PortNumber(*value);
      if (!port) {
        *fault = "--port wants a number from 0 to 65535, not '" + std::string(*value) + "'";
        return std::nullopt;
      }
      options.port = *port;
    } else if (name == "--catalogue") {
      options.catalogue = *value;
      if (options.catalogue.empty()) {
        *fault = "--catalogue needs a file name";
        return std::nullopt;
      }
    } else if (name == "--print-env") {
      options.printEnv = true;
    } else if (name == "--quiet") {
      options.quiet = true;
    } else if (name == "--help" || name == "-h") {
      options.help = true;
    } else if (name == "--version") {
      options.version = true;
    } else {
      *fault = "unknown option '" + std::string(argument) + "'";
      return std::nullopt;
    }
  }
  if (options.printEnv && options.port == 0) {
    *fault = "--print-env needs a fixed port, not 0";
    return std::nullopt;
  }
  return options;
}

}  // namespace share_simulator
