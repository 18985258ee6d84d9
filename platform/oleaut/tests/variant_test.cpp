// BSTRs, and what VARIANTs own: clearing, copying, reading through references, records.
#include <gtest/gtest.h>

#include <cstring>

#include "oleaut/record_info.h"
#include "oleaut/safearray.h"
#include "oleaut/variant.h"
#include "testsupport/thing_object.h"

namespace oleaut {
namespace {

// An object that only counts its references.
class Counted final : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID riid, void** object) override {
    *object = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown)) return E_NOINTERFACE;
    *object = this;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  ULONG refs = 1;
};

TEST(Bstr, LengthsAndTerminator) {
  BSTR text = SysAllocString(u"abc");
  EXPECT_EQ(SysStringLen(text), 3u);
  EXPECT_EQ(SysStringByteLen(text), 6u);
  EXPECT_EQ(text[3], u'\0');
  SysFreeString(text);

  BSTR withNul = SysAllocStringLen(u"a\0b", 3);
  EXPECT_EQ(BstrView(withNul), std::u16string_view(u"a\0b", 3));
  SysFreeString(withNul);

  BSTR odd = SysAllocStringByteLen("xyz", 3);
  EXPECT_EQ(SysStringByteLen(odd), 3u);
  EXPECT_EQ(SysStringLen(odd), 1u);
  EXPECT_EQ(std::memcmp(odd, "xyz", 3), 0);
  SysFreeString(odd);

  BSTR zeroed = SysAllocStringLen(nullptr, 2);
  EXPECT_EQ(BstrView(zeroed), std::u16string_view(u"\0\0", 2));
  EXPECT_TRUE(SysReAllocString(&zeroed, u"longer text"));
  EXPECT_EQ(BstrView(zeroed), u"longer text");
  // Re-allocating from the string's own characters.
  EXPECT_TRUE(SysReAllocStringLen(&zeroed, zeroed + 7, 4));
  EXPECT_EQ(BstrView(zeroed), u"text");
  SysFreeString(zeroed);

  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);
}

TEST(Variant, ClearReleasesWhatItOwns) {
  Counted object;
  VARIANT v;
  VariantInit(&v);
  SetUnknown(v, &object);
  EXPECT_EQ(object.refs, 2u);
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(object.refs, 1u);
  EXPECT_EQ(v.vt, VT_EMPTY);

  // A reference owns nothing.
  IUnknown* pointer = &object;
  v.vt = VT_BYREF | VT_UNKNOWN;
  v.ppunkVal = &pointer;
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(object.refs, 1u);

  v.vt = 15;
  EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE);
  EXPECT_EQ(v.vt, 15);
  VariantInit(&v);

  SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, 1);
  SetArray(v, VT_I4, array);
  SafeArrayLock(array);
  EXPECT_EQ(VariantClear(&v), DISP_E_ARRAYISLOCKED);
  SafeArrayUnlock(array);
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

TEST(Variant, CopyIsDeep) {
  Counted object;
  OwnedVariant text = OwnedVariant::Text(u"hello");
  OwnedVariant copy;
  ASSERT_EQ(VariantCopy(copy.get(), text.get()), S_OK);
  EXPECT_NE(copy->bstrVal, text->bstrVal);
  EXPECT_EQ(BstrView(copy->bstrVal), u"hello");

  OwnedVariant unknown;
  SetUnknown(*unknown, &object);
  ASSERT_EQ(VariantCopy(copy.get(), unknown.get()), S_OK);  // replaces (frees) the text
  EXPECT_EQ(object.refs, 3u);
  copy = OwnedVariant();
  unknown = OwnedVariant();
  EXPECT_EQ(object.refs, 1u);

  SAFEARRAY* texts = SafeArrayCreateVector(VT_BSTR, 0, 2);
  LONG index = 1;
  BSTR two = SysAllocString(u"two");
  SafeArrayPutElement(texts, &index, two);
  SysFreeString(two);
  OwnedVariant array;
  SetArray(*array, VT_BSTR, texts);
  ASSERT_EQ(VariantCopy(copy.get(), array.get()), S_OK);
  ASSERT_NE(copy->parray, texts);
  BSTR element = nullptr;
  ASSERT_EQ(SafeArrayGetElement(copy->parray, &index, &element), S_OK);
  EXPECT_EQ(BstrView(element), u"two");
  EXPECT_NE(element, static_cast<BSTR*>(texts->pvData)[1]);
  SysFreeString(element);

  OwnedVariant bad;
  bad->vt = 0x0FFF;
  EXPECT_EQ(VariantCopy(copy.get(), bad.get()), DISP_E_BADVARTYPE);
  bad->vt = VT_EMPTY;
}

TEST(Variant, CopyIndReadsThroughReferences) {
  struct Case {
    VARTYPE vt;
    void* target;
  };
  LONG number = -5;
  double real = 2.5;
  BSTR text = SysAllocString(u"referred");
  VARIANT_BOOL truth = VARIANT_TRUE;
  OwnedVariant inner = OwnedVariant::Text(u"inside");
  const Case cases[] = {
      {VT_I4, &number}, {VT_R8, &real}, {VT_BSTR, &text}, {VT_BOOL, &truth}, {VT_VARIANT, inner.get()},
  };
  const std::u16string expected[] = {u"-5", u"2.5", u"referred", u"-1", u"inside"};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    VARIANT ref = testing::Ref(cases[i].vt, cases[i].target);
    OwnedVariant copy;
    ASSERT_EQ(VariantCopyInd(copy.get(), &ref), S_OK);
    EXPECT_FALSE(copy->vt & VT_BYREF);
    EXPECT_EQ(testing::TextOf(*copy), expected[i]);
    if (copy->vt == VT_BSTR) {
      EXPECT_NE(copy->bstrVal, text);
    }
  }
  // In place: the reference is replaced by the value.
  VARIANT ref = testing::Ref(VT_BSTR, &text);
  ASSERT_EQ(VariantCopyInd(&ref, &ref), S_OK);
  EXPECT_EQ(ref.vt, VT_BSTR);
  EXPECT_NE(ref.bstrVal, text);
  VariantClear(&ref);
  SysFreeString(text);

  VARIANT nested = testing::Ref(VT_VARIANT, inner.get());
  VARIANT twice = testing::Ref(VT_VARIANT, &nested);
  OwnedVariant out;
  EXPECT_EQ(VariantCopyInd(out.get(), &twice), E_INVALIDARG);
  VARIANT dangling = testing::Ref(VT_I4, nullptr);
  EXPECT_EQ(VariantCopyInd(out.get(), &dangling), E_INVALIDARG);
}

TEST(Variant, SettersClearFirst) {
  OwnedVariant v = OwnedVariant::Text(u"self");
  // The text may be the variant's own.
  ASSERT_EQ(SetText(*v, BstrView(v->bstrVal).substr(1)), S_OK);
  EXPECT_EQ(BstrView(v->bstrVal), u"elf");
  SetMissing(*v);
  EXPECT_TRUE(IsMissing(*v));
  SetError(*v, E_FAIL);
  EXPECT_FALSE(IsMissing(*v));
}

TEST(RecordInfo, RecordsInVariantsAreCopiedAndDestroyed) {
  ComPtr<ITypeInfo> pointType = FindTypeInfo(testing::TestTypeLib(), u"Point");
  ASSERT_TRUE(pointType);
  ComPtr<IRecordInfo> info;
  ASSERT_EQ(GetRecordInfoFromTypeInfo(pointType.Get(), info.Put()), S_OK);
  ULONG size = 0;
  info->GetSize(&size);
  EXPECT_EQ(size, 8u + sizeof(BSTR) + sizeof(VARIANT));

  void* record = info->RecordCreate();
  OwnedVariant value = OwnedVariant::Text(u"origin");
  ASSERT_EQ(info->PutField(0, record, u"label", value.get()), S_OK);
  value = OwnedVariant::Text(u"12");
  ASSERT_EQ(info->PutField(0, record, u"X", value.get()), S_OK);  // converted to i4
  ASSERT_EQ(info->PutField(0, record, u"extra", value.get()), S_OK);

  OwnedVariant v;
  v->vt = VT_RECORD;
  v->brecord.pvRecord = record;
  v->brecord.pRecInfo = ComPtr<IRecordInfo>(info).Detach();

  OwnedVariant copy;
  ASSERT_EQ(VariantCopy(copy.get(), v.get()), S_OK);
  ASSERT_NE(copy->brecord.pvRecord, record);
  OwnedVariant field;
  ASSERT_EQ(info->GetField(copy->brecord.pvRecord, u"label", field.get()), S_OK);
  EXPECT_EQ(BstrView(field->bstrVal), u"origin");
  ASSERT_EQ(info->GetField(copy->brecord.pvRecord, u"x", field.get()), S_OK);
  EXPECT_EQ(field->lVal, 12);
  EXPECT_EQ(info->GetField(copy->brecord.pvRecord, u"nope", field.get()), TYPE_E_ELEMENTNOTFOUND);

  // A record converts to nothing else.
  OwnedVariant out;
  EXPECT_EQ(VariantChangeType(out.get(), v.get(), 0, VT_BSTR), DISP_E_TYPEMISMATCH);
  // Clearing destroys the records and releases the record info; the sanitizer build sees
  // any leak.
}

}  // namespace
}  // namespace oleaut
