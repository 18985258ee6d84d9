// Where the program lives: its module file name split at the last "\".
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

const char* ProgramDirectory() { return Context().programDirectory.c_str(); }
const char* ProgramFileName() { return Context().programFileName.c_str(); }

}  // namespace runtime
