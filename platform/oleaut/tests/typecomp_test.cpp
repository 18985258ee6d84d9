// Type information as a caller that binds names sees it: ITypeComp::Bind, the descriptions
// it hands out, and the library's lookups.
#include <gtest/gtest.h>

#include "oleaut/typelib.h"
#include "testsupport/thing_object.h"

namespace oleaut {
namespace {

class TypeCompTest : public ::testing::Test {
 protected:
  void SetUp() override {
    info_ = FindTypeInfo(testing::TestTypeLib(), u"IThing");
    ASSERT_TRUE(info_);
    ASSERT_EQ(info_->GetTypeComp(comp_.Put()), S_OK);
  }

  struct Bound {
    HRESULT hr;
    DESCKIND kind;
    ComPtr<ITypeInfo> info;
    BINDPTR ptr;
  };

  Bound Bind(std::u16string name, WORD flags, ULONG hash = 0) {
    Bound b{};
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(1);
    b.hr = comp_->Bind(name.data(), hash, flags, &info, &b.kind, &b.ptr);
    b.info = ComPtr<ITypeInfo>::Adopt(info);
    return b;
  }

  // What the bound description says, then given back.
  static std::string Describe(Bound& b) {
    std::string out;
    if (b.kind == DESCKIND_FUNCDESC) {
      const FUNCDESC& f = *b.ptr.lpfuncdesc;
      out = "func kind " + std::to_string(f.invkind) + " params " + std::to_string(f.cParams);
      b.info->ReleaseFuncDesc(b.ptr.lpfuncdesc);
    } else if (b.kind == DESCKIND_VARDESC) {
      out = "var type " + std::to_string(b.ptr.lpvardesc->elemdescVar.tdesc.vt);
      b.info->ReleaseVarDesc(b.ptr.lpvardesc);
    } else {
      out = "none";
    }
    return out;
  }

  ComPtr<ITypeInfo> info_;
  ComPtr<ITypeComp> comp_;
};

TEST_F(TypeCompTest, BindOutcomes) {
  struct Case {
    std::u16string name;
    WORD flags;
    HRESULT hr;
    std::string described;
  } const cases[] = {
      {u"add", INVOKE_FUNC, S_OK, "func kind 1 params 2"},
      {u"ADD", 0, S_OK, "func kind 1 params 2"},
      {u"Add", INVOKE_PROPERTYGET, TYPE_E_TYPEMISMATCH, "none"},
      {u"Name", INVOKE_PROPERTYGET, S_OK, "func kind 2 params 0"},
      {u"Name", INVOKE_PROPERTYPUT, S_OK, "func kind 4 params 1"},
      {u"Name", INVOKE_PROPERTYPUTREF, TYPE_E_TYPEMISMATCH, "none"},
      {u"Name", INVOKE_FUNC, TYPE_E_TYPEMISMATCH, "none"},
      {u"Level", INVOKE_PROPERTYGET, S_OK, "var type 3"},
      {u"Level", INVOKE_PROPERTYPUT, S_OK, "var type 3"},
      {u"partner", INVOKE_PROPERTYPUTREF, S_OK, "var type 9"},
      {u"Level", INVOKE_FUNC, TYPE_E_TYPEMISMATCH, "none"},
      {u"Nothing", INVOKE_FUNC, S_OK, "none"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Narrow(c.name) + " " + std::to_string(c.flags));
    Bound b = Bind(c.name, c.flags);
    EXPECT_EQ(b.hr, c.hr);
    EXPECT_EQ(b.info.Get() != nullptr, b.kind != DESCKIND_NONE);
    EXPECT_EQ(Describe(b), c.described);
  }
  // A true hash binds as a hash of 0 does.
  Bound b = Bind(u"Add", INVOKE_FUNC, LHashValOfNameSys(SYS_WIN32, 0x0804, u"Add"));
  EXPECT_EQ(Describe(b), "func kind 1 params 2");

  ITypeInfo* info = nullptr;
  DESCKIND kind;
  BINDPTR ptr;
  std::u16string name = u"Add";
  EXPECT_EQ(comp_->Bind(name.data(), 0, 0, nullptr, &kind, &ptr), E_INVALIDARG);
  EXPECT_EQ(comp_->Bind(name.data(), 0, 0, &info, nullptr, &ptr), E_INVALIDARG);
}

TEST_F(TypeCompTest, FunctionDescriptionsCarryTheDeclaredTypes) {
  Bound b = Bind(u"Describe", INVOKE_FUNC);
  ASSERT_EQ(b.kind, DESCKIND_FUNCDESC);
  const FUNCDESC& describe = *b.ptr.lpfuncdesc;
  EXPECT_EQ(describe.funckind, FUNC_DISPATCH);
  EXPECT_EQ(describe.cParams, 3);
  EXPECT_EQ(describe.cParamsOpt, 1);
  EXPECT_EQ(describe.elemdescFunc.tdesc.vt, VT_BSTR);
  const ELEMDESC* p = describe.lprgelemdescParam;
  EXPECT_EQ(p[0].paramdesc.wParamFlags, PARAMFLAG_FIN);
  EXPECT_EQ(p[1].tdesc.vt, VT_VARIANT);
  EXPECT_EQ(p[1].paramdesc.wParamFlags, PARAMFLAG_FIN | PARAMFLAG_FOPT);
  EXPECT_EQ(p[2].paramdesc.wParamFlags, PARAMFLAG_FIN | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT);
  ASSERT_NE(p[2].paramdesc.pparamdescex, nullptr);
  EXPECT_EQ(p[2].paramdesc.pparamdescex->varDefaultValue.vt, VT_I4);
  EXPECT_EQ(p[2].paramdesc.pparamdescex->varDefaultValue.lVal, 7);
  b.info->ReleaseFuncDesc(b.ptr.lpfuncdesc);

  b = Bind(u"Sum", INVOKE_FUNC);
  EXPECT_EQ(b.ptr.lpfuncdesc->cParamsOpt, -1);
  const TYPEDESC& rest = b.ptr.lpfuncdesc->lprgelemdescParam[1].tdesc;
  EXPECT_EQ(rest.vt, VT_SAFEARRAY);
  EXPECT_EQ(rest.lptdesc->vt, VT_VARIANT);
  b.info->ReleaseFuncDesc(b.ptr.lpfuncdesc);

  b = Bind(u"Split", INVOKE_FUNC);
  const ELEMDESC& left = b.ptr.lpfuncdesc->lprgelemdescParam[1];
  EXPECT_EQ(left.tdesc.vt, VT_PTR);
  EXPECT_EQ(left.tdesc.lptdesc->vt, VT_BSTR);
  EXPECT_EQ(left.paramdesc.wParamFlags, PARAMFLAG_FOUT);
  b.info->ReleaseFuncDesc(b.ptr.lpfuncdesc);

  b = Bind(u"Tally", INVOKE_FUNC);
  EXPECT_EQ(b.ptr.lpfuncdesc->elemdescFunc.tdesc.vt, VT_HRESULT);
  EXPECT_EQ(b.ptr.lpfuncdesc->lprgelemdescParam[0].paramdesc.wParamFlags,
            PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
  b.info->ReleaseFuncDesc(b.ptr.lpfuncdesc);
}

TEST_F(TypeCompTest, UserDefinedTypesResolveThroughGetRefTypeInfo) {
  struct Case {
    std::u16string member;
    WORD flags;
    int param;  // -1: the function's own type
    TYPEKIND kind;
  } const cases[] = {
      {u"Color", INVOKE_PROPERTYGET, -1, TKIND_ENUM},
      {u"PartnerName", INVOKE_FUNC, 0, TKIND_DISPATCH},
      {u"Twice", INVOKE_FUNC, 0, TKIND_ALIAS},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Narrow(c.member));
    Bound b = Bind(c.member, c.flags);
    ASSERT_EQ(b.kind, DESCKIND_FUNCDESC);
    const FUNCDESC& f = *b.ptr.lpfuncdesc;
    const TYPEDESC& type = c.param < 0 ? f.elemdescFunc.tdesc : f.lprgelemdescParam[c.param].tdesc;
    ASSERT_EQ(type.vt, VT_USERDEFINED);
    ComPtr<ITypeInfo> target;
    ASSERT_EQ(b.info->GetRefTypeInfo(type.hreftype, target.Put()), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(target->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, c.kind);
    if (c.kind == TKIND_ALIAS) {
      EXPECT_EQ(attr->tdescAlias.vt, VT_I4);
    }
    target->ReleaseTypeAttr(attr);
    b.info->ReleaseFuncDesc(b.ptr.lpfuncdesc);
  }
  ComPtr<ITypeInfo> none;
  EXPECT_EQ(info_->GetRefTypeInfo(12345, none.Put()), TYPE_E_ELEMENTNOTFOUND);
}

TEST_F(TypeCompTest, TypeAttributesNamesAndDocumentation) {
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info_->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  EXPECT_TRUE(IsEqualGUID(attr->guid, testing::kThingIid));
  EXPECT_EQ(attr->cVars, 3);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 2);
  const WORD funcs = attr->cFuncs;
  info_->ReleaseTypeAttr(attr);
  FUNCDESC* desc = nullptr;
  EXPECT_EQ(info_->GetFuncDesc(funcs, &desc), TYPE_E_ELEMENTNOTFOUND);

  std::u16string name = u"Describe";
  LPOLESTR names[] = {name.data()};
  MEMBERID id;
  ASSERT_EQ(info_->GetIDsOfNames(names, 1, &id), S_OK);
  BSTR got[5] = {};
  UINT count = 0;
  ASSERT_EQ(info_->GetNames(id, got, 5, &count), S_OK);
  ASSERT_EQ(count, 4u);
  EXPECT_EQ(BstrView(got[0]), u"Describe");
  EXPECT_EQ(BstrView(got[3]), u"c");
  for (BSTR n : got) SysFreeString(n);

  BSTR typeName = nullptr;
  ASSERT_EQ(info_->GetDocumentation(MEMBERID_NIL, &typeName, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(BstrView(typeName), u"IThing");
  SysFreeString(typeName);
  ComPtr<ITypeLib> lib;
  UINT index = 99;
  ASSERT_EQ(info_->GetContainingTypeLib(lib.Put(), &index), S_OK);
  EXPECT_EQ(lib.Get(), testing::TestTypeLib());
}

TEST(TypeLib, FindNameIsNameAndTheLibraryTypeComp) {
  ITypeLib* lib = testing::TestTypeLib();
  std::u16string name = u"thing";
  ITypeInfo* found[2] = {};
  MEMBERID ids[2] = {};
  USHORT count = 2;
  ASSERT_EQ(lib->FindName(name.data(), 0, found, ids, &count), S_OK);
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(ids[0], MEMBERID_NIL);
  EXPECT_EQ(name, u"Thing");  // rewritten in the library's spelling
  TYPEATTR* attr = nullptr;
  found[0]->GetTypeAttr(&attr);
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  found[0]->ReleaseTypeAttr(attr);
  found[0]->Release();

  name = u"NAME";
  count = 2;
  ASSERT_EQ(lib->FindName(name.data(), 0, found, ids, &count), S_OK);
  ASSERT_EQ(count, 1u);  // the get and the put are one member
  EXPECT_NE(ids[0], MEMBERID_NIL);
  found[0]->Release();
  name = u"missing";
  count = 2;
  ASSERT_EQ(lib->FindName(name.data(), 0, found, ids, &count), S_OK);
  EXPECT_EQ(count, 0u);

  BOOL is = FALSE;
  name = u"clgreen";
  ASSERT_EQ(lib->IsName(name.data(), 0, &is), S_OK);
  EXPECT_TRUE(is);
  EXPECT_EQ(name, u"clGreen");

  ComPtr<ITypeComp> comp;
  ASSERT_EQ(lib->GetTypeComp(comp.Put()), S_OK);
  ITypeInfo* info = nullptr;
  DESCKIND kind;
  BINDPTR ptr;
  name = u"ColorEnum";
  ASSERT_EQ(comp->Bind(name.data(), 0, 0, &info, &kind, &ptr), S_OK);
  EXPECT_EQ(kind, DESCKIND_TYPECOMP);
  ptr.lptcomp->Release();
  name = u"clBlue";
  ASSERT_EQ(comp->Bind(name.data(), 0, 0, &info, &kind, &ptr), S_OK);
  ASSERT_EQ(kind, DESCKIND_VARDESC);
  EXPECT_EQ(ptr.lpvardesc->varkind, VAR_CONST);
  EXPECT_EQ(ptr.lpvardesc->lpvarValue->lVal, 4);
  info->ReleaseVarDesc(ptr.lpvardesc);
  info->Release();
  name = u"IThing";
  ASSERT_EQ(comp->Bind(name.data(), 0, 0, &info, &kind, &ptr), S_OK);
  EXPECT_EQ(kind, DESCKIND_NONE);
  ITypeComp* none = nullptr;
  ASSERT_EQ(comp->BindType(name.data(), 0, &info, &none), S_OK);
  ASSERT_NE(info, nullptr);
  info->Release();

  ComPtr<ITypeInfo> byGuid;
  EXPECT_EQ(lib->GetTypeInfoOfGuid(testing::kThingClsid, byGuid.Put()), S_OK);
  EXPECT_EQ(lib->GetTypeInfoOfGuid(GUID_NULL, byGuid.Put()), TYPE_E_ELEMENTNOTFOUND);
  TLIBATTR* libAttr = nullptr;
  ASSERT_EQ(lib->GetLibAttr(&libAttr), S_OK);
  EXPECT_TRUE(IsEqualGUID(libAttr->guid, testing::kTestLibId));
  lib->ReleaseTLibAttr(libAttr);
}

TEST(TypeLibBuilder, RefusesDescriptionsIdlWouldRefuse) {
  struct Case {
    const char* what;
    std::function<void(TypeLibBuilder&)> describe;
    const char* message;
  };
  const Case cases[] = {
      {"unknown type", [](TypeLibBuilder& l) { l.Alias(u"A", TypeSpec::Named(u"Nowhere")); },
       "unknown type"},
      {"twice", [](TypeLibBuilder& l) { l.Enum(u"E"); l.Enum(u"e"); }, "declared twice"},
      {"alias loop",
       [](TypeLibBuilder& l) {
         l.Alias(u"A", TypeSpec::Named(u"B"));
         l.Alias(u"B", TypeSpec::Named(u"A"));
       },
       "alias of itself"},
      {"out by value",
       [](TypeLibBuilder& l) { l.DispInterface(u"I", GUID_NULL).Method(u"M").Param(u"x", VT_I4, PARAMFLAG_FOUT); },
       "no pointer"},
      {"required after optional",
       [](TypeLibBuilder& l) {
         l.DispInterface(u"I", GUID_NULL).Method(u"M").Optional(u"a", VT_VARIANT).Param(u"b", VT_I4);
       },
       "required parameter after an optional"},
      {"retval not last",
       [](TypeLibBuilder& l) {
         l.DispInterface(u"I", GUID_NULL).Method(u"M").Retval(u"r", VT_I4).Param(u"b", VT_I4);
       },
       "not the last"},
      {"bad default",
       [](TypeLibBuilder& l) {
         l.DispInterface(u"I", GUID_NULL).Method(u"M").Default(u"a", VT_I4, OwnedVariant::Text(u"x"));
       },
       "default value"},
      {"two ids",
       [](TypeLibBuilder& l) {
         auto& i = l.DispInterface(u"I", GUID_NULL);
         i.Get(u"P", VT_I4).Id(5);
         i.Put(u"P", VT_I4).Id(6);
       },
       "two member ids"},
      {"member twice",
       [](TypeLibBuilder& l) {
         auto& i = l.DispInterface(u"I", GUID_NULL);
         i.Method(u"M");
         i.Method(u"m");
       },
       "declared twice"},
      {"coclass of nothing",
       [](TypeLibBuilder& l) { l.CoClass(u"C", GUID_NULL).Implements(u"Nothing"); }, "no interface"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TypeLibBuilder lib(u"Faulty");
    c.describe(lib);
    try {
      lib.Build();
      ADD_FAILURE() << "built";
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

TEST(TypeLibBuilder, IdsAreGivenByName) {
  TypeLibBuilder lib(u"Ids");
  auto& i = lib.DispInterface(u"I", GUID_NULL);
  i.Method(u"First");
  i.Get(u"Taken", VT_I4).Id(1);
  i.Put(u"Taken", VT_I4);
  i.Method(u"Second");
  i.Variable(u"V", VT_I4);
  ComPtr<ITypeLib> built = lib.Build();
  ComPtr<ITypeInfo> info = FindTypeInfo(built.Get(), u"i");
  auto idOf = [&](std::u16string name) {
    LPOLESTR names[] = {name.data()};
    MEMBERID id = MEMBERID_NIL;
    info->GetIDsOfNames(names, 1, &id);
    return id;
  };
  EXPECT_EQ(idOf(u"Taken"), 1);
  EXPECT_EQ(idOf(u"First"), 2);
  EXPECT_EQ(idOf(u"Second"), 3);
  EXPECT_EQ(idOf(u"V"), 4);
}

}  // namespace
}  // namespace oleaut
