// "Adodb.Stream" as a late-bound caller sees it: created from its ProgID, members bound
// through its type information, called through IDispatch.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "adodb/adodb_stream.h"
#include "adodb/stream.h"
#include "oleaut/com_ptr.h"
#include "oleaut/ole32.h"
#include "oleaut/safearray.h"
#include "oleaut/typeinfo.h"
#include "testsupport/dispatch_call.h"

namespace {

using oleaut::ComPtr;
using oleaut::OwnedVariant;
using Bytes = std::vector<BYTE>;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

OwnedVariant ByteArray(const Bytes& bytes) {
  OwnedVariant v;
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 1, static_cast<ULONG>(bytes.size()));
  if (!bytes.empty()) std::memcpy(array->pvData, bytes.data(), bytes.size());
  oleaut::SetArray(*v, VT_UI1, array);
  return v;
}

Bytes BytesOf(const VARIANT& v) {
  EXPECT_EQ(v.vt, VT_ARRAY | VT_UI1);
  if (v.vt != (VT_ARRAY | VT_UI1)) return {};
  const auto* data = static_cast<const BYTE*>(v.parray->pvData);
  return Bytes(data, data + oleaut::SafeArrayElementCount(v.parray));
}

OwnedVariant Missing() {
  OwnedVariant v;
  oleaut::SetMissing(*v);
  return v;
}

class StreamDispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    RegisterAdodbStream();
    stream = Create(u"Adodb.Stream");
    ASSERT_TRUE(stream);
  }
  void TearDown() override {
    stream.Reset();
    CoUninitialize();
  }
  static ComPtr<IDispatch> Create(const char16_t* progId) {
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(progId, &clsid))) return nullptr;
    ComPtr<IDispatch> object;
    const DWORD contexts =
        CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
    if (FAILED(CoCreateInstance(clsid, nullptr, contexts, IID_IDispatch, object.PutVoid()))) {
      return nullptr;
    }
    return object;
  }
  void Ok(const DispatchOutcome& outcome) {
    EXPECT_EQ(outcome.hr, S_OK) << std::hex << outcome.scode;
  }
  ComPtr<IDispatch> stream;
};

TEST_F(StreamDispatch, ProgIdsWithoutRegardToCase) {
  for (const char16_t* progId :
       {u"ADODB.Stream", u"adodb.stream", u"ADODB.STREAM", u"ADODB.Stream.6.0"}) {
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(progId, &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, adodb::CLSID_Stream));
    EXPECT_TRUE(Create(progId));
  }
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(u"Adodb.Streams", &clsid), CO_E_CLASSSTRING);
}

// The conversion the program makes, member by member.
Bytes Convert(IDispatch* s, const Bytes& input, const char16_t* from, const char16_t* to,
              LONG skip) {
  auto ok = [](const DispatchOutcome& o) { EXPECT_EQ(o.hr, S_OK) << std::hex << o.scode; };
  ok(PutProperty(s, u"Type", OwnedVariant::I4(1)));
  ok(CallMethod(s, u"Open"));
  std::vector<OwnedVariant> write;
  write.push_back(ByteArray(input));
  ok(CallMethod(s, u"Write", std::move(write)));
  ok(PutProperty(s, u"Position", OwnedVariant::I4(0)));
  ok(PutProperty(s, u"Type", OwnedVariant::I4(2)));
  ok(PutProperty(s, u"Charset", OwnedVariant::Text(from)));
  DispatchOutcome text = CallMethod(s, u"ReadText");
  ok(text);
  EXPECT_EQ(text.result->vt, VT_BSTR);
  ok(CallMethod(s, u"Close"));
  ok(CallMethod(s, u"Open"));
  ok(PutProperty(s, u"Charset", OwnedVariant::Text(to)));
  std::vector<OwnedVariant> writeText;
  writeText.push_back(OwnedVariant::Copy(*text.result));
  ok(CallMethod(s, u"WriteText", std::move(writeText)));
  ok(PutProperty(s, u"Position", OwnedVariant::I4(0)));
  ok(PutProperty(s, u"Type", OwnedVariant::I4(1)));
  if (skip != 0) ok(PutProperty(s, u"Position", OwnedVariant::I4(skip)));
  DispatchOutcome read = CallMethod(s, u"Read");
  ok(read);
  return BytesOf(*read.result);
}

TEST_F(StreamDispatch, ConvertsUtf8ToGbkAndBack) {
  EXPECT_EQ(Convert(stream.Get(), B("\xE4\xB8\xAD"), u"utf-8", u"GBK", 0), B("\xD6\xD0"));
  ComPtr<IDispatch> second = Create(u"Adodb.Stream");
  EXPECT_EQ(Convert(second.Get(), B("\xD6\xD0"), u"GBK", u"utf-8", 3), B("\xE4\xB8\xAD"));
}

TEST_F(StreamDispatch, ReadGivesBytesFromZeroOrNullAtTheEnd) {
  Ok(PutProperty(stream.Get(), u"Type", OwnedVariant::I4(1)));
  Ok(CallMethod(stream.Get(), u"Open"));
  DispatchOutcome empty = CallMethod(stream.Get(), u"Read");
  Ok(empty);
  EXPECT_EQ(empty.result->vt, VT_NULL);
  std::vector<OwnedVariant> write;
  write.push_back(ByteArray(B("abcd")));
  Ok(CallMethod(stream.Get(), u"Write", std::move(write)));
  DispatchOutcome size = GetProperty(stream.Get(), u"Size");
  EXPECT_EQ(size.result->vt, VT_I4);
  EXPECT_EQ(size.result->lVal, 4);
  DispatchOutcome eos = GetProperty(stream.Get(), u"EOS");
  EXPECT_EQ(eos.result->vt, VT_BOOL);
  EXPECT_EQ(eos.result->boolVal, VARIANT_TRUE);
  Ok(PutProperty(stream.Get(), u"Position", OwnedVariant::I4(1)));
  std::vector<OwnedVariant> two;
  two.push_back(OwnedVariant::I4(2));
  DispatchOutcome read = CallMethod(stream.Get(), u"Read", std::move(two));
  Ok(read);
  EXPECT_EQ(BytesOf(*read.result), B("bc"));
  LONG lower = -1;
  ASSERT_EQ(SafeArrayGetLBound(read.result->parray, 1, &lower), S_OK);
  EXPECT_EQ(lower, 0);
}

TEST_F(StreamDispatch, AdoErrorsAreExceptionsWithTheirCodes) {
  const struct {
    const char* what;
    std::u16string member;
    WORD flags;
    SCODE scode;
  } closed[] = {
      {"Read", u"Read", DISPATCH_METHOD, adodb::kObjectClosed},
      {"Size", u"Size", DISPATCH_PROPERTYGET, adodb::kObjectClosed},
      {"Close", u"Close", DISPATCH_METHOD, adodb::kObjectClosed},
  };
  for (const auto& c : closed) {
    const DispatchOutcome outcome = CallByName(stream.Get(), c.member, c.flags);
    EXPECT_EQ(outcome.hr, DISP_E_EXCEPTION) << c.what;
    EXPECT_EQ(outcome.scode, c.scode) << c.what;
    EXPECT_EQ(outcome.description, u"Operation is not allowed when the object is closed.");
  }
  Ok(CallMethod(stream.Get(), u"Open"));
  EXPECT_EQ(CallMethod(stream.Get(), u"Open").scode, adodb::kObjectOpen);
  std::vector<OwnedVariant> nothing;
  nothing.emplace_back();  // VT_EMPTY
  EXPECT_EQ(CallMethod(stream.Get(), u"Write", std::move(nothing)).scode, adodb::kInvalidArgument);
  EXPECT_EQ(CallMethod(stream.Get(), u"Read").scode, adodb::kIllegalOperation);  // text stream
  EXPECT_EQ(PutProperty(stream.Get(), u"Position", OwnedVariant::I4(-1)).scode,
            adodb::kInvalidArgument);
  EXPECT_EQ(PutProperty(stream.Get(), u"Charset", OwnedVariant::Text(u"klingon")).scode,
            adodb::kInvalidArgument);
  // Size is read-only.
  EXPECT_EQ(PutProperty(stream.Get(), u"Size", OwnedVariant::I4(3)).hr, DISP_E_MEMBERNOTFOUND);
}

TEST_F(StreamDispatch, OptionalArgumentsMayBeLeftOut) {
  std::vector<OwnedVariant> open;
  for (int i = 0; i < 5; ++i) open.push_back(Missing());
  Ok(CallMethod(stream.Get(), u"Open", std::move(open)));
  Ok(PutProperty(stream.Get(), u"Charset", OwnedVariant::Text(u"us-ascii")));
  std::vector<OwnedVariant> line;
  line.push_back(OwnedVariant::Text(u"a"));
  line.push_back(OwnedVariant::I4(adodb::adWriteLine));
  Ok(CallMethod(stream.Get(), u"WriteText", std::move(line)));
  Ok(PutProperty(stream.Get(), u"Position", OwnedVariant::I4(0)));
  std::vector<OwnedVariant> all;
  all.push_back(Missing());
  DispatchOutcome text = CallMethod(stream.Get(), u"ReadText", std::move(all));
  Ok(text);
  EXPECT_EQ(oleaut::BstrView(text.result->bstrVal), u"a\r\n");
  // Opening from a source is not something this stream does.
  ComPtr<IDispatch> other = Create(u"ADODB.Stream");
  std::vector<OwnedVariant> source;
  source.push_back(OwnedVariant::Text(u"URL=http://example.invalid/"));
  EXPECT_EQ(CallMethod(other.Get(), u"Open", std::move(source)).scode, adodb::kInvalidArgument);
}

TEST_F(StreamDispatch, WriteTakesABufferBehindAReference) {
  Ok(PutProperty(stream.Get(), u"Type", OwnedVariant::I4(1)));
  Ok(CallMethod(stream.Get(), u"Open"));
  OwnedVariant buffer = ByteArray(B("xyz"));
  OwnedVariant reference;
  reference->vt = VT_BYREF | VT_VARIANT;
  reference->pvarVal = buffer.get();
  std::vector<OwnedVariant> args;
  args.emplace_back();
  *args.back() = *reference;  // a reference owns nothing
  Ok(CallMethod(stream.Get(), u"Write", std::move(args)));
  Ok(PutProperty(stream.Get(), u"Position", OwnedVariant::I4(0)));
  EXPECT_EQ(BytesOf(*CallMethod(stream.Get(), u"Read").result), B("xyz"));
}

// What a caller that binds through the type information finds: the declared types.
TEST_F(StreamDispatch, MembersCarryTheTypeLibrarysTypes) {
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(stream->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Put()), S_OK);
  ComPtr<ITypeComp> comp;
  ASSERT_EQ(info->GetTypeComp(comp.Put()), S_OK);

  auto bind = [&](const char16_t* name, WORD kind, auto&& check) {
    std::u16string text(name);
    ComPtr<ITypeInfo> bound;
    DESCKIND desc = DESCKIND_NONE;
    BINDPTR ptr{};
    ASSERT_EQ(comp->Bind(text.data(), 0, kind, bound.Put(), &desc, &ptr), S_OK) << text.size();
    ASSERT_EQ(desc, DESCKIND_FUNCDESC);
    check(*ptr.lpfuncdesc, bound.Get());
    bound->ReleaseFuncDesc(ptr.lpfuncdesc);
  };
  auto refName = [](ITypeInfo* owner, const TYPEDESC& type) {
    EXPECT_EQ(type.vt, VT_USERDEFINED);
    ComPtr<ITypeInfo> ref;
    if (type.vt != VT_USERDEFINED || FAILED(owner->GetRefTypeInfo(type.hreftype, ref.Put()))) {
      return std::u16string();
    }
    TYPEATTR* attr = nullptr;
    ref->GetTypeAttr(&attr);
    EXPECT_EQ(attr->typekind, TKIND_ENUM);
    ref->ReleaseTypeAttr(attr);
    BSTR name = nullptr;
    ref->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
    std::u16string result(oleaut::BstrView(name));
    SysFreeString(name);
    return result;
  };

  bind(u"Type", INVOKE_PROPERTYPUT, [&](const FUNCDESC& f, ITypeInfo* owner) {
    ASSERT_EQ(f.cParams, 1);
    EXPECT_EQ(refName(owner, f.lprgelemdescParam[0].tdesc), u"StreamTypeEnum");
  });
  bind(u"Charset", INVOKE_PROPERTYPUT, [&](const FUNCDESC& f, ITypeInfo*) {
    ASSERT_EQ(f.cParams, 1);
    EXPECT_EQ(f.lprgelemdescParam[0].tdesc.vt, VT_BSTR);
  });
  bind(u"Read", INVOKE_FUNC, [&](const FUNCDESC& f, ITypeInfo*) {
    ASSERT_GE(f.cParams, 1);
    EXPECT_EQ(f.lprgelemdescParam[0].tdesc.vt, VT_I4);
    EXPECT_TRUE(f.lprgelemdescParam[0].paramdesc.wParamFlags & PARAMFLAG_FOPT);
  });
  bind(u"WriteText", INVOKE_FUNC, [&](const FUNCDESC& f, ITypeInfo* owner) {
    ASSERT_EQ(f.cParams, 2);
    EXPECT_EQ(f.lprgelemdescParam[0].tdesc.vt, VT_BSTR);
    EXPECT_EQ(refName(owner, f.lprgelemdescParam[1].tdesc), u"StreamWriteEnum");
    EXPECT_TRUE(f.lprgelemdescParam[1].paramdesc.wParamFlags & PARAMFLAG_FOPT);
  });
  bind(u"Open", INVOKE_FUNC, [&](const FUNCDESC& f, ITypeInfo* owner) {
    ASSERT_EQ(f.cParams, 5);
    EXPECT_EQ(f.lprgelemdescParam[0].tdesc.vt, VT_VARIANT);
    EXPECT_EQ(refName(owner, f.lprgelemdescParam[1].tdesc), u"ConnectModeEnum");
    EXPECT_EQ(refName(owner, f.lprgelemdescParam[2].tdesc), u"StreamOpenOptionsEnum");
    EXPECT_EQ(f.lprgelemdescParam[3].tdesc.vt, VT_BSTR);
    for (int i = 0; i < 5; ++i) {
      EXPECT_TRUE(f.lprgelemdescParam[i].paramdesc.wParamFlags & PARAMFLAG_FOPT) << i;
    }
  });
  bind(u"Write", INVOKE_FUNC, [&](const FUNCDESC& f, ITypeInfo*) {
    ASSERT_EQ(f.cParams, 1);
    EXPECT_EQ(f.lprgelemdescParam[0].tdesc.vt, VT_VARIANT);
  });
}

}  // namespace
