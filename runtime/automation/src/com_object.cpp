// The ComObject commands: creating an object from a ProgID, releasing it, and the calls.
#include <string>

#include "automation_call.h"
#include "codepage/codepage.h"
#include "oleaut/com_ptr.h"
#include "oleaut/ole32.h"
#include "oleaut/typelib.h"
#include "records.h"
#include "runtime/automation.h"
#include "variant_conversions.h"

namespace runtime {
namespace {

using oleaut::ComPtr;
using automation::ComObjectRecord;

const char* TextArgument(const CommandArg* args, std::int32_t argc, std::int32_t i) {
  if (i >= argc || BaseType(args[i].type) != types::Text) return nullptr;
  return ArgText(automation::ValueOf(args[i]));
}

// The object of a type named in a type library file, when exactly one type of that name
// is there; the library is registered under the file's path when that is a full path.
ComPtr<IDispatch> CreateFromTypeLibrary(const char* progId, const char* file) {
  std::u16string wideFile = codepage::GbkToUtf16(file);
  ComPtr<ITypeLib> library;
  if (FAILED(LoadTypeLib(wideFile.c_str(), library.Put())) || !library) return {};

  std::u16string name = codepage::GbkToUtf16(progId);
  ITypeInfo* found[1] = {nullptr};
  MEMBERID ids[1] = {MEMBERID_NIL};
  USHORT count = 1;
  HRESULT hr = library->FindName(name.data(), LHashValOfNameSysA(SYS_WIN32, GetUserDefaultLCID(), progId), found,
                                 ids, &count);
  ComPtr<ITypeInfo> type = ComPtr<ITypeInfo>::Adopt(SUCCEEDED(hr) && count == 1 ? found[0] : nullptr);
  if (SUCCEEDED(hr) && count != 1) {
    for (USHORT i = 0; i < count; ++i) found[i]->Release();
  }
  ComPtr<IDispatch> object;
  if (type && SUCCEEDED(type->CreateInstance(nullptr, IID_IDispatch, object.PutVoid())) && object &&
      std::string(file).find('\\') != std::string::npos) {
    RegisterTypeLib(library.Get(), wideFile.c_str(), nullptr);
  }
  return object;
}

ComPtr<IDispatch> CreateFromClass(const char* progId) {
  std::u16string wide = codepage::GbkToUtf16(progId);
  CLSID clsid{};
  HRESULT hr = progId[0] == '{' ? CLSIDFromString(wide.c_str(), &clsid) : CLSIDFromProgID(wide.c_str(), &clsid);
  if (FAILED(hr)) return {};
  ComPtr<IDispatch> object;
  constexpr DWORD kAllServers = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                CLSCTX_REMOTE_SERVER;  // 23
  constexpr DWORD kLocalServers = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;  // 7
  hr = CoCreateInstance(clsid, nullptr, kAllServers, IID_IDispatch, object.PutVoid());
  if (hr == E_INVALIDARG) hr = CoCreateInstance(clsid, nullptr, kLocalServers, IID_IDispatch, object.PutVoid());
  if (FAILED(hr)) return {};
  return object;
}

}  // namespace

namespace ComObject {

void Create(CommandResult* result, std::int32_t argc, CommandArg* args) {
  SetBoolResult(result, false);
  ComObjectRecord* record = argc >= 1 ? automation::ComObjectOf(args[0]) : nullptr;
  const char* progId = TextArgument(args, argc, 1);
  if (!record || !progId) return;
  const char* file = TextArgument(args, argc, 2);

  ComPtr<IDispatch> object;
  if (progId[0] != '{' && file && *file) object = CreateFromTypeLibrary(progId, file);
  if (!object) object = CreateFromClass(progId);
  if (!object || FAILED(OleRun(object.Get()))) return;
  // Only now that the new object runs is the old one released.
  automation::StoreObject(*record, object.Get());
  SetBoolResult(result, true);
}

void Clear(CommandResult*, std::int32_t argc, CommandArg* args) {
  if (ComObjectRecord* record = argc >= 1 ? automation::ComObjectOf(args[0]) : nullptr) {
    automation::ClearRecord(*record);
  }
}

using automation::AutomationCall;
using automation::CallKind;
using automation::WantedResult;

void Method(CommandResult* result, std::int32_t argc, CommandArg* args) {
  AutomationCall(result, argc, args, CallKind::Method, WantedResult::None);
}
void VariantMethod(CommandResult* result, std::int32_t argc, CommandArg* args) {
  AutomationCall(result, argc, args, CallKind::Method, WantedResult::Variant);
}
void TextMethod(CommandResult* result, std::int32_t argc, CommandArg* args) {
  AutomationCall(result, argc, args, CallKind::Method, WantedResult::Text);
}
void NumberMethod(CommandResult* result, std::int32_t argc, CommandArg* args) {
  AutomationCall(result, argc, args, CallKind::Method, WantedResult::Double);
}
void WriteProperty(CommandResult* result, std::int32_t argc, CommandArg* args) {
  AutomationCall(result, argc, args, CallKind::PropertyWrite, WantedResult::None);
  SetBoolResult(result, LastComError() == 0);
}

}  // namespace ComObject
}  // namespace runtime
