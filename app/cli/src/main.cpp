// panlift-cli: the program without a display, for scripts, batches and downloaders.
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "batch.h"
#include "help_text.h"
#include "link_run.h"
#include "options.h"
#include "request_trace.h"
#include "runtime/startup/start.h"

namespace {

int UsageError(const std::string& message) {
  std::fprintf(stderr, "panlift-cli: %s\nTry 'panlift-cli --help' for more information.\n", message.c_str());
  return 2;
}

// The proxy of this run, as the system's proxy setting, which is the environment's here.
void SetProxy(const std::string& proxy) {
  for (const char* name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) unsetenv(name);
  if (proxy.empty()) return;
  setenv("http_proxy", proxy.c_str(), 1);
  setenv("https_proxy", proxy.c_str(), 1);
}

// Qt's own notes (fonts, the offscreen platform) are no business of a script's; -v shows them.
bool showToolkitNotes = false;
void ToolkitNote(QtMsgType, const QMessageLogContext&, const QString& text) {
  if (showToolkitNotes) std::fprintf(stderr, "panlift-cli: qt: %s\n", text.toLocal8Bit().constData());
}

cli::LinkRun run;  // outlives the entry routine, which the run step ends the process after

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  cli::ParsedOptions parsed = cli::ParseOptions(arguments);
  if (!parsed.error.empty()) return UsageError(parsed.error);
  if (parsed.options.help) {
    std::fputs(cli::HelpText().c_str(), stdout);
    return 0;
  }
  if (parsed.options.version) {
    std::fputs(cli::VersionText().c_str(), stdout);
    return 0;
  }
  cli::CollectedLinks collected = cli::CollectLinks(parsed.options.sources, stdin);
  if (!collected.error.empty()) return UsageError(collected.error);
  if (collected.links.empty()) return 0;  // batch files without a link: nothing to do

  run.options = std::move(parsed.options);
  run.links = std::move(collected.links);
  // The window lives offscreen, whatever display there is.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (run.options.proxy) SetProxy(*run.options.proxy);
  showToolkitNotes = run.options.verbose;
  qInstallMessageHandler(ToolkitNote);
  if (run.options.verbose) cli::InstallRequestTrace(&cli::ClearProgressLine);
  cli::SetLinkRun(&run);
  runtime::RunProgram(&cli::ResolveLinksEntry);
}
