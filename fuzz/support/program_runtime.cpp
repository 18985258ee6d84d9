#include "program_runtime.h"

#include <cstdlib>

#include "app/base/main_window_units.h"
#include "app/base/program_block.h"
#include "app/testing/program_test.h"
#include "codepage/codepage.h"
#include "control_object.h"
#include "memory_wininet.h"
#include "oleaut/class_registry.h"
#include "runtime/startup/start.h"
#include "script/script_control.h"
#include "ui/application.h"

namespace fuzz {
namespace {

runtime::HandlerResult Nothing(const std::int32_t*, std::int32_t) { return {0, 0}; }
const runtime::EventHandler kProcedures[] = {Nothing, Nothing, Nothing};

std::int32_t g_scriptTimeoutMs = 100;

// The ScriptControl class again, its objects made with a short Timeout, so that a script
// that runs for ever costs the fuzzer a fraction of a second instead of ten.
void RegisterShortScriptControl() {
  oleaut::ComClass cls;
  cls.clsid = script::CLSID_ScriptControl;
  cls.progIds = {u"ScriptControl", u"MSScriptControl.ScriptControl", u"MSScriptControl.ScriptControl.1"};
  cls.factory = []() -> IUnknown* {
    IDispatch* control = new script::detail::ControlObject();
    LPOLESTR name = const_cast<LPOLESTR>(u"Timeout");
    DISPID id = DISPID_UNKNOWN;
    if (control->GetIDsOfNames(IID_NULL, &name, 1, 0, &id) == S_OK) {
      VARIANT value;
      VariantInit(&value);
      oleaut::SetI4(value, g_scriptTimeoutMs);
      DISPID put = DISPID_PROPERTYPUT;
      DISPPARAMS params{&value, &put, 1, 1};
      control->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
    }
    return control;
  };
  oleaut::RegisterComClass(std::move(cls));
}

}  // namespace

void StartProgramRuntime(const ProgramRuntimeOptions& options) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  g_scriptTimeoutMs = options.scriptTimeoutMs;
  ui::EnsureApplication();
  runtime::InstallRuntimeParts();
  // The system's services first, then ours over them, before start-up binds any of them.
  runtime::RegisterSystemServices();
  RegisterShortScriptControl();
  if (options.memoryNetwork) InstallMemoryWininet();
  static const runtime::ProgramInfoBlock block = app::MakeProgramBlock(kProcedures, 3);
  runtime::StartRuntime(&block);
  app::testing::LoadMainWindow();
}

bool IsValidGbk(std::string_view bytes) {
  if (bytes.empty()) return true;
  return MultiByteToWideChar(CP_GBK, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

OutputBoxes ReadOutputBoxes() {
  using app::testing::BoxText;
  namespace u = app::units;
  return {BoxText(u::文件名称编辑框), BoxText(u::文件扩展名编辑框), BoxText(u::文件大小编辑框), BoxText(u::文件md5编辑框),
          BoxText(u::文件下载地址编辑框)};
}

void ClearOutputBoxes() {
  namespace u = app::units;
  for (std::uint32_t box : {u::文件名称编辑框, u::文件扩展名编辑框, u::文件大小编辑框, u::文件md5编辑框, u::文件下载地址编辑框}) {
    app::testing::SetBoxText(box, "");
  }
}

}  // namespace fuzz
