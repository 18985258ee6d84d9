// The two automation objects as the program uses them, per call: the JSON reader's
// ScriptControl (create, Language, ExecuteStatement, Run, release) and the charset
// conversion's Adodb.Stream (create, binary write, text read, text write, binary read,
// release, within CoInitialize / CoUninitialize).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "adodb/adodb_stream.h"
#include "oleaut/com_ptr.h"
#include "oleaut/dispatch.h"
#include "oleaut/ole32.h"
#include "oleaut/safearray.h"
#include "script/script_control.h"

namespace {

using oleaut::ComPtr;
using oleaut::OwnedVariant;

// Binds the name and invokes it; `args` in their written order.
HRESULT Call(IDispatch* object, const char16_t* name, WORD flags, std::vector<VARIANT> args,
             VARIANT* result = nullptr) {
  std::u16string text(name);
  LPOLESTR names[] = {text.data()};
  DISPID id = DISPID_UNKNOWN;
  if (HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
      FAILED(hr)) {
    return hr;
  }
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPID put = DISPID_PROPERTYPUT;
  const bool isPut = flags == DISPATCH_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), isPut ? &put : nullptr, static_cast<UINT>(reversed.size()),
                    isPut ? 1u : 0u};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr,
                        nullptr);
}

VARIANT I4(LONG value) {
  VARIANT v;
  VariantInit(&v);
  oleaut::SetI4(v, value);
  return v;
}

// Borrows the text of a BSTR the caller keeps.
VARIANT Text(BSTR text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = text;
  return v;
}

ComPtr<IDispatch> Create(const char16_t* progId) {
  CLSID clsid{};
  ComPtr<IDispatch> object;
  if (SUCCEEDED(CLSIDFromProgID(progId, &clsid))) {
    CoCreateInstance(clsid, nullptr, 23, IID_IDispatch, object.PutVoid());
  }
  return object;
}

void BM_JsonRead(benchmark::State& state) {
  CoInitialize(nullptr);
  RegisterScriptControl();
  BSTR language = oleaut::AllocBstr(u"javascript");
  BSTR script = oleaut::AllocBstr(
      u"function mapStr(){\r\nvar people = {\"errno\":0,\"errmsg\":\"\",\"data\":{\"downloadurl\":"
      u"\"http://dl.example.invalid/file/abc123?sign=0f3e&t=1700000000\",\"size\":\"734003201\"}};"
      u"\r\nreturn people.data.downloadurl\r\n}\r\n");
  BSTR function = oleaut::AllocBstr(u"mapStr");
  for (auto _ : state) {
    ComPtr<IDispatch> engine = Create(u"ScriptControl");
    Call(engine.Get(), u"Language", DISPATCH_PROPERTYPUT, {Text(language)});
    Call(engine.Get(), u"ExecuteStatement", DISPATCH_METHOD, {Text(script)});
    OwnedVariant value;
    Call(engine.Get(), u"Run", DISPATCH_METHOD, {Text(function)}, value.get());
    VariantChangeType(value.get(), value.get(), 0, VT_BSTR);
    if (value->vt != VT_BSTR) state.SkipWithError("no value");
    benchmark::DoNotOptimize(value->bstrVal);
  }
  SysFreeString(language);
  SysFreeString(script);
  SysFreeString(function);
  CoUninitialize();
}
BENCHMARK(BM_JsonRead)->Unit(benchmark::kMicrosecond);

void BM_Utf8ToGbk(benchmark::State& state) {
  CoInitialize(nullptr);
  RegisterAdodbStream();
  const std::string input = "\xE4\xB8\xAD\xE6\x96\x87\xE6\x96\x87\xE4\xBB\xB6 report 2024.zip";
  BSTR fromCharset = oleaut::AllocBstr(u"utf-8");
  BSTR toCharset = oleaut::AllocBstr(u"GBK");
  for (auto _ : state) {
    CoInitialize(nullptr);
    ComPtr<IDispatch> stream = Create(u"Adodb.Stream");
    IDispatch* s = stream.Get();
    Call(s, u"Type", DISPATCH_PROPERTYPUT, {I4(1)});
    Call(s, u"Open", DISPATCH_METHOD, {});
    OwnedVariant bytes;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 1, static_cast<ULONG>(input.size()));
    std::memcpy(array->pvData, input.data(), input.size());
    oleaut::SetArray(*bytes, VT_UI1, array);
    Call(s, u"Write", DISPATCH_METHOD, {*bytes});
    Call(s, u"Position", DISPATCH_PROPERTYPUT, {I4(0)});
    Call(s, u"Type", DISPATCH_PROPERTYPUT, {I4(2)});
    Call(s, u"Charset", DISPATCH_PROPERTYPUT, {Text(fromCharset)});
    OwnedVariant text;
    Call(s, u"ReadText", DISPATCH_METHOD, {}, text.get());
    Call(s, u"Close", DISPATCH_METHOD, {});
    Call(s, u"Open", DISPATCH_METHOD, {});
    Call(s, u"Charset", DISPATCH_PROPERTYPUT, {Text(toCharset)});
    Call(s, u"WriteText", DISPATCH_METHOD, {*text});
    Call(s, u"Position", DISPATCH_PROPERTYPUT, {I4(0)});
    Call(s, u"Type", DISPATCH_PROPERTYPUT, {I4(1)});
    OwnedVariant out;
    Call(s, u"Read", DISPATCH_METHOD, {}, out.get());
    if (out->vt != (VT_ARRAY | VT_UI1)) state.SkipWithError("no bytes");
    benchmark::DoNotOptimize(out->parray);
    stream.Reset();
    CoUninitialize();
  }
  SysFreeString(fromCharset);
  SysFreeString(toCharset);
  CoUninitialize();
}
BENCHMARK(BM_Utf8ToGbk)->Unit(benchmark::kMicrosecond);

}  // namespace
