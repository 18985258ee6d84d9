// The program as start-up describes it: its build mode and version, and where it lives
// (its module file name split at the last "\").
#include <cstring>

#include "context.h"

namespace runtime {

void SetProgramPath(const char* moduleFileName) {
  RuntimeContext& context = Context();
  const char* name = moduleFileName ? moduleFileName : "";
  const char* lastSeparator = std::strrchr(name, '\\');
  if (!lastSeparator) {
    context.programDirectory.clear();
    context.programFileName = name;
    return;
  }
  context.programDirectory.assign(name, lastSeparator);
  context.programFileName = lastSeparator + 1;
}

void SetProgramVersion(std::int32_t mode, std::int32_t version) {
  Context().mode = mode;
  Context().version = version;
}
std::int32_t ProgramMode() { return Context().mode; }
std::int32_t ProgramVersion() { return Context().version; }

const char* ProgramDirectory() { return Context().programDirectory.c_str(); }
const char* ProgramFileName() { return Context().programFileName.c_str(); }

}  // namespace runtime
