// Type-library files: the text format both ways, loading, registration, and the path by
// which a program creates an object named in a type library.
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

#include <fstream>

#include "oleaut/ole32.h"
#include "oleaut/typelib.h"
#include "oleaut/typelib_text.h"
#include "testsupport/thing_object.h"

namespace oleaut {
namespace {

constexpr char kHandWritten[] = R"(# A library written by hand
typelib Shapes {11111111-2222-3333-4444-555555555555} 2.5 lcid 804
doc "Shapes and \"quotes\""
enum Corner
  const TopLeft 0
  const BottomRight 3   # a comment after a declaration
alias Size int
record Box {11111111-2222-3333-4444-555555555556}
  field width i4
  field name bstr
dispinterface IShape {11111111-2222-3333-4444-555555555557} dual
  get 0 Area returns r8
  doc "the area"
  method 5 Resize returns hresult
    param corners carray(i4,4,0) in
    param grid carray(r8,2,1,3,0) in
    param size Size in opt
    param ok ptr(bool) out retval
  method 6 Mark vararg
    param where ptr(Corner) in out default i4 3
    param rest safearray(variant) in
  var 7 Count uint readonly
coclass Shape {11111111-2222-3333-4444-555555555558}
  implements IShape default
)";

// Expects success, or with `error` a failure (whose message it stores).
ComPtr<ITypeLib> Parse(std::string_view text, std::string* error = nullptr) {
  ComPtr<ITypeLib> lib;
  std::string message;
  EXPECT_EQ(ParseTypeLibText(text, lib.Put(), &message), error ? TYPE_E_CANTLOADLIBRARY : S_OK)
      << message;
  if (error) *error = message;
  return lib;
}

std::string Write(ITypeLib* lib) {
  std::string text;
  EXPECT_EQ(WriteTypeLibText(lib, &text), S_OK);
  return text;
}

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

TEST(TypeLibText, WrittenLibrariesReadBackTheSame) {
  const std::string first = Write(testing::TestTypeLib());
  ComPtr<ITypeLib> reread = Parse(first);
  ASSERT_TRUE(reread);
  EXPECT_EQ(Write(reread.Get()), first);
  for (const char* line : {"get 0 Value returns bstr", "param c i4 in default i4 7",
                           "method 7 Sum returns r8 vararg", "param rest safearray(variant) in",
                           "param left ptr(bstr) out", "param count ptr(i4) out retval",
                           "var 15 Serial i4 readonly", "implements IThing default",
                           "param other IThing in", "alias Amount i4", "const clBlue 4"}) {
    EXPECT_NE(first.find(line), std::string::npos) << line << "\n" << first;
  }
  const std::string hand = Write(Parse(kHandWritten).Get());
  EXPECT_EQ(Write(Parse(hand).Get()), hand);
}

TEST(TypeLibText, HandWrittenFileDescribesEveryKindOfType) {
  ComPtr<ITypeLib> lib = Parse(kHandWritten);
  ASSERT_TRUE(lib);
  TLIBATTR* attr = nullptr;
  lib->GetLibAttr(&attr);
  EXPECT_EQ(attr->wMajorVerNum, 2);
  EXPECT_EQ(attr->wMinorVerNum, 5);
  EXPECT_EQ(attr->lcid, 0x804u);
  lib->ReleaseTLibAttr(attr);
  BSTR doc = nullptr;
  lib->GetDocumentation(-1, nullptr, &doc, nullptr, nullptr);
  EXPECT_EQ(BstrView(doc), u"Shapes and \"quotes\"");
  SysFreeString(doc);

  ComPtr<ITypeInfo> shape = FindTypeInfo(lib.Get(), u"IShape");
  ASSERT_TRUE(shape);
  FUNCDESC* resize = nullptr;
  ASSERT_EQ(shape->GetFuncDesc(1, &resize), S_OK);
  EXPECT_EQ(resize->memid, 5);
  const TYPEDESC& grid = resize->lprgelemdescParam[1].tdesc;
  ASSERT_EQ(grid.vt, VT_CARRAY);
  EXPECT_EQ(grid.lpadesc->tdescElem.vt, VT_R8);
  ASSERT_EQ(grid.lpadesc->cDims, 2);
  const SAFEARRAYBOUND* bounds = grid.lpadesc->rgbounds;
  EXPECT_EQ(bounds[0].cElements, 2u);
  EXPECT_EQ(bounds[0].lLbound, 1);
  EXPECT_EQ(bounds[1].cElements, 3u);
  EXPECT_EQ(resize->lprgelemdescParam[2].tdesc.vt, VT_USERDEFINED);  // Size, an alias of int
  EXPECT_EQ(resize->cParamsOpt, 1);
  shape->ReleaseFuncDesc(resize);

  FUNCDESC* mark = nullptr;
  ASSERT_EQ(shape->GetFuncDesc(2, &mark), S_OK);
  const ELEMDESC& where = mark->lprgelemdescParam[0];
  EXPECT_EQ(where.paramdesc.wParamFlags,
            PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT);
  EXPECT_EQ(where.paramdesc.pparamdescex->varDefaultValue.lVal, 3);
  shape->ReleaseFuncDesc(mark);

  BSTR areaDoc = nullptr;
  shape->GetDocumentation(0, nullptr, &areaDoc, nullptr, nullptr);
  EXPECT_EQ(BstrView(areaDoc), u"the area");
  SysFreeString(areaDoc);
  ComPtr<ITypeInfo> box = FindTypeInfo(lib.Get(), u"Box");
  TYPEATTR* boxAttr = nullptr;
  box->GetTypeAttr(&boxAttr);
  EXPECT_EQ(boxAttr->typekind, TKIND_RECORD);
  EXPECT_EQ(boxAttr->cbSizeInstance, 16u);  // i4, padding, bstr
  box->ReleaseTypeAttr(boxAttr);
}

TEST(TypeLibText, ErrorsNameTheLine) {
  struct Case {
    std::string text;
    std::string message;
  } const cases[] = {
      {"", "not a type library"},
      {"MSFT\x01\x02", "not a type library"},
      {"typelib X {1-2}", "lacks its arguments"},
      {"typelib X {00000000-0000-0000-0000-000000000000} 1", "major.minor"},
      {"typelib X {00000000-0000-0000-0000-000000000000} 1.0\nconst A 1", "line 2: \"const\" outside"},
      {"typelib X {00000000-0000-0000-0000-000000000000} 1.0\nenum E\n  const A one", "line 3"},
      {"typelib X {00000000-0000-0000-0000-000000000000} 1.0\nalias A nowhere", "unknown type"},
      {"typelib X {00000000-0000-0000-0000-000000000000} 1.0\nalias A ptr(i4", "broken type"},
      {"typelib X {00000000-0000-0000-0000-000000000000} 1.0\ndoc \"open", "closing quote"},
      {"typelib X {00000000-0000-0000-0000-000000000000} 1.0\nfrobnicate", "unknown declaration"},
      {"typelib X {00000000-0000-0000-0000-000000000000} 1.0\ndispinterface I {00000000-0000-0000-0000-000000000001}\n"
       "  method 1 M\n    param x i4 in default bstr plain",
       "must be quoted"},
  };
  for (const auto& c : cases) {
    std::string error;
    Parse(c.text, &error);
    EXPECT_NE(error.find(c.message), std::string::npos) << c.text << "\n-> " << error;
  }
}

TEST(TypeLibText, WritingRefusesTypesOfOtherLibraries) {
  TypeLibBuilder lib(u"Borrowing");
  lib.Alias(u"Other", TypeSpec::Of(FindTypeInfo(testing::TestTypeLib(), u"IThing").Get()));
  ComPtr<ITypeLib> built = lib.Build();
  std::string text;
  EXPECT_EQ(WriteTypeLibText(built.Get(), &text), E_NOTIMPL);
}

class TypeLibFile : public ::testing::Test {
 protected:
  void SetUp() override {
    // One file per test and process: ctest runs tests side by side.
    path_ = ::testing::TempDir() + "panlift_typelib_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + std::to_string(getpid()) + ".txt";
    std::ofstream(path_) << Write(testing::TestTypeLib());
  }
  void TearDown() override { std::remove(path_.c_str()); }

  // The path as a Windows program writes it.
  std::u16string WindowsPath() const {
    std::u16string path = Wide(path_);
    for (char16_t& c : path) {
      if (c == u'/') c = u'\\';
    }
    return path;
  }

  std::string path_;
};

TEST_F(TypeLibFile, LoadsAndRegisters) {
  ComPtr<ITypeLib> lib;
  ASSERT_EQ(LoadTypeLib(WindowsPath().c_str(), lib.Put()), S_OK);
  EXPECT_TRUE(FindTypeInfo(lib.Get(), u"IThing"));
  EXPECT_EQ(LoadTypeLib(u"/no/such/file.tlb", lib.Put()), TYPE_E_CANTLOADLIBRARY);
  EXPECT_EQ(LoadTypeLib(nullptr, lib.Put()), E_INVALIDARG);

  ASSERT_EQ(LoadTypeLib(WindowsPath().c_str(), lib.Put()), S_OK);
  BSTR path = nullptr;
  EXPECT_EQ(QueryPathOfRegTypeLib(testing::kTestLibId, 1, 0, 0, &path), TYPE_E_LIBNOTREGISTERED);
  ASSERT_EQ(RegisterTypeLib(lib.Get(), WindowsPath().c_str(), nullptr), S_OK);
  ASSERT_EQ(QueryPathOfRegTypeLib(testing::kTestLibId, 1, 0, 0, &path), S_OK);
  EXPECT_EQ(BstrView(path), WindowsPath());
  SysFreeString(path);
  EXPECT_EQ(QueryPathOfRegTypeLib(testing::kTestLibId, 1, 3, 0, &path), TYPE_E_LIBNOTREGISTERED);
  ComPtr<ITypeLib> again;
  EXPECT_EQ(LoadRegTypeLib(testing::kTestLibId, 1, 2, 0, again.Put()), S_OK);
  EXPECT_EQ(UnRegisterTypeLib(testing::kTestLibId, 1, 2, 0, SYS_WIN32), S_OK);
  EXPECT_EQ(LoadRegTypeLib(testing::kTestLibId, 1, 2, 0, again.Put()), TYPE_E_LIBNOTREGISTERED);
  EXPECT_EQ(RegisterTypeLib(lib.Get(), nullptr, nullptr), E_INVALIDARG);
}

// What a program does with a ProgID and a type-library file: find the ProgID as a type
// name, create an instance of that type, and register the library under its path.
TEST_F(TypeLibFile, CreatesTheObjectThatATypeNameNames) {
  testing::RegisterThing();
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  ComPtr<ITypeLib> lib;
  ASSERT_EQ(LoadTypeLib(WindowsPath().c_str(), lib.Put()), S_OK);
  std::u16string name = u"thing";
  ITypeInfo* found = nullptr;
  MEMBERID id = 0;
  USHORT count = 1;
  ASSERT_EQ(lib->FindName(name.data(), LHashValOfNameSys(SYS_WIN32, GetUserDefaultLCID(), name.c_str()),
                          &found, &id, &count),
            S_OK);
  ASSERT_EQ(count, 1u);
  ComPtr<ITypeInfo> type = ComPtr<ITypeInfo>::Adopt(found);
  ComPtr<IDispatch> object;
  ASSERT_EQ(type->CreateInstance(nullptr, IID_IDispatch, object.PutVoid()), S_OK);
  EXPECT_EQ(testing::TextOf(*testing::GetProperty(object.Get(), u"Name").value), u"thing");
  EXPECT_EQ(RegisterTypeLib(lib.Get(), WindowsPath().c_str(), nullptr), S_OK);
  UnRegisterTypeLib(testing::kTestLibId, 1, 2, 0, SYS_WIN32);
  object.Reset();
  CoUninitialize();
  EXPECT_EQ(testing::Thing::Live(), 0);
}

}  // namespace
}  // namespace oleaut
