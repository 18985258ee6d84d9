// The command line: what to resolve, how to print it and how to run.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link_service.h"

namespace cli {

enum class OutputForm { Lines, Url, Json, Curl, Aria2 };

// A link given on the command line, or a batch file ("-" is standard input), in the order given.
struct LinkSource {
  bool batchFile = false;
  std::string text;
};

struct Options {
  OutputForm form = OutputForm::Lines;
  std::optional<Service> service;  // overrides the service of every link's host
  std::optional<std::string> proxy;  // empty: no proxy at all
  bool quiet = false;
  bool verbose = false;
  bool help = false;
  bool version = false;
  std::vector<LinkSource> sources;
};

struct ParsedOptions {
  Options options;
  std::string error;  // not empty: a usage error, one line without the program's name
};

// The arguments after the program's name.
ParsedOptions ParseOptions(std::span<const std::string> arguments);

}  // namespace cli
