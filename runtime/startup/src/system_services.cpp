// The services that Windows installs with the system, present before any program runs:
// the modules that the program's DLL commands name and the automation classes it creates
// by ProgID.
#include <mutex>

#include "adodb/adodb_stream.h"
#include "oleaut/ole32.h"
#include "runtime/startup/start.h"
#include "script/script_control.h"
#include "wininet/wininet.h"

namespace runtime {

void RegisterSystemServices() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterOle32Module();
    RegisterWininetModule();
    RegisterAdodbStream();
    RegisterScriptControl();
  });
}

}  // namespace runtime
