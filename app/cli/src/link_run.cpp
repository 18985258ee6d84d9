#include "link_run.h"

#include <cstdio>
#include <memory>

#include "app/window/program.h"
#include "output_forms.h"
#include "progress.h"
#include "window_driver.h"

namespace cli {
namespace {

const LinkRun* current = nullptr;
Progress* progress = nullptr;

void Message(const std::string& link, const std::string& text) {
  if (current->options.quiet) return;
  ClearProgressLine();
  std::fprintf(stderr, "panlift-cli: %s: %s\n", link.c_str(), text.c_str());
}

std::string Formatted(OutputForm form, const LinkResult& result) {
  switch (form) {
    case OutputForm::Lines: return FormatLines(result);
    case OutputForm::Url: return FormatUrl(result);
    case OutputForm::Json: return FormatJson(result);
    case OutputForm::Curl: return FormatCurl(result);
    case OutputForm::Aria2: return FormatAria2(result);
  }
  return "";
}

// Why a link gave no address, as far as the boxes tell.
std::string Failure(const LinkResult& result) {
  if (result.url.empty()) return "no download address found";
  // The one answer that reaches the box: the 360 Pan endpoint's own text.
  if (result.service == Service::Yunpan360) return "the service's message: " + result.url;
  return "not a download address: " + result.url;
}

// One link; true when it gave an address.
bool ResolveOne(const std::string& link) {
  std::optional<Service> service = current->options.service;
  if (!service) service = ServiceOfLink(link);
  if (!service) {
    const std::string host = LinkHost(link);
    Message(link, (host.empty() ? std::string("no host") : "unknown host " + host) +
                      ": not a link of a known service (choose one with --service)");
    return false;
  }
  const LinkResult result = ResolveInWindow(*service, link);
  ClearProgressLine();
  const std::string output = Formatted(current->options.form, result);
  std::fwrite(output.data(), 1, output.size(), stdout);
  std::fflush(stdout);  // a downloader reading the pipe starts at once
  if (IsAddress(result.url)) return true;
  Message(link, Failure(result));
  return false;
}

}  // namespace

void SetLinkRun(const LinkRun* run) { current = run; }

void ClearProgressLine() {
  if (progress) progress->Clear();
}

std::int32_t ResolveLinksEntry() {
  app::StartProgram();
  Progress shown(current->links.size(), current->options.quiet);
  progress = &shown;
  bool all = true;
  for (std::size_t i = 0; i < current->links.size(); ++i) {
    shown.Show(i + 1, current->links[i]);
    if (!ResolveOne(current->links[i])) all = false;
  }
  shown.Clear();
  progress = nullptr;
  return all ? 0 : 1;
}

}  // namespace cli
