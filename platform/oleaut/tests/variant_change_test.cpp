// VariantChangeType: the conversions the automation commands and objects rely on.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "oleaut/safearray.h"
#include "oleaut/variant.h"
#include "testsupport/thing_object.h"

namespace oleaut {
namespace {

constexpr LCID kEnglish = 0x0409;

OwnedVariant Real(double value) { return OwnedVariant::R8(value); }

OwnedVariant Float(float value) {
  OwnedVariant v;
  v->vt = VT_R4;
  v->fltVal = value;
  return v;
}

OwnedVariant Date(double value) {
  OwnedVariant v;
  SetDate(*v, value);
  return v;
}

OwnedVariant Boolean(bool value) { return OwnedVariant::Bool(value); }

// The text VariantChangeTypeEx makes, or the failure.
std::u16string ToText(const OwnedVariant& source, USHORT flags = 0, LCID lcid = kEnglish) {
  OwnedVariant out;
  const HRESULT hr = VariantChangeTypeEx(out.get(), source.get(), lcid, flags, VT_BSTR);
  if (FAILED(hr)) return u"failed";
  EXPECT_EQ(out->vt, VT_BSTR);
  return std::u16string(BstrView(out->bstrVal));
}

struct TextToNumberCase {
  std::u16string text;
  HRESULT hr;
  LONG value;
};

TEST(VariantChangeType, TextToI4RoundsHalfToEvenAndChecksRange) {
  const TextToNumberCase cases[] = {
      {u"0.5", S_OK, 0},          {u"1.5", S_OK, 2},          {u"2.5", S_OK, 2},
      {u"-0.5", S_OK, 0},         {u"-1.5", S_OK, -2},        {u"0.6", S_OK, 1},
      {u"0.49999", S_OK, 0},      {u"2.50001", S_OK, 3},      {u"  42  ", S_OK, 42},
      {u"+7", S_OK, 7},           {u"1,000", S_OK, 1000},     {u"1e3", S_OK, 1000},
      {u"2147483647", S_OK, 2147483647},
      {u"-2147483648", S_OK, -2147483647 - 1},
      {u"2147483648", DISP_E_OVERFLOW, 0},
      {u"2147483647.5", DISP_E_OVERFLOW, 0},
      {u"-2147483648.5", S_OK, -2147483647 - 1},
      {u"99999999999999999999999", DISP_E_OVERFLOW, 0},
      {u"", DISP_E_TYPEMISMATCH, 0},   {u"abc", DISP_E_TYPEMISMATCH, 0},
      {u"12abc", DISP_E_TYPEMISMATCH, 0}, {u"1e", DISP_E_TYPEMISMATCH, 0},
      {u".", DISP_E_TYPEMISMATCH, 0},  {u"1,", DISP_E_TYPEMISMATCH, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Narrow(c.text));
    OwnedVariant source = OwnedVariant::Text(c.text);
    OwnedVariant out;
    EXPECT_EQ(VariantChangeTypeEx(out.get(), source.get(), kEnglish, 0, VT_I4), c.hr);
    if (c.hr == S_OK) {
      EXPECT_EQ(out->vt, VT_I4);
      EXPECT_EQ(out->lVal, c.value);
    } else {
      EXPECT_EQ(out->vt, VT_EMPTY);  // the destination is left alone on failure
    }
  }
  OwnedVariant nullText;
  nullText->vt = VT_BSTR;  // a null BSTR
  OwnedVariant out;
  EXPECT_EQ(VariantChangeType(out.get(), nullText.get(), 0, VT_I4), DISP_E_TYPEMISMATCH);
}

TEST(VariantChangeType, TextToSmallerAndUnsignedIntegers) {
  struct Case {
    std::u16string text;
    VARTYPE vt;
    HRESULT hr;
    ULONGLONG bits;
  } const cases[] = {
      {u"255", VT_UI1, S_OK, 255},         {u"256", VT_UI1, DISP_E_OVERFLOW, 0},
      {u"-1", VT_UI1, DISP_E_OVERFLOW, 0}, {u"-0.4", VT_UI1, S_OK, 0},
      {u"-32768", VT_I2, S_OK, 0x8000},    {u"32768", VT_I2, DISP_E_OVERFLOW, 0},
      {u"-128", VT_I1, S_OK, 0x80},        {u"4294967295", VT_UI4, S_OK, 0xFFFFFFFF},
      {u"9223372036854775807", VT_I8, S_OK, 0x7FFFFFFFFFFFFFFF},
      {u"18446744073709551615", VT_UI8, S_OK, 0xFFFFFFFFFFFFFFFF},
      {u"18446744073709551616", VT_UI8, DISP_E_OVERFLOW, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Narrow(c.text));
    OwnedVariant source = OwnedVariant::Text(c.text);
    OwnedVariant out;
    ASSERT_EQ(VariantChangeTypeEx(out.get(), source.get(), kEnglish, 0, c.vt), c.hr);
    if (c.hr != S_OK) continue;
    ULONGLONG bits = 0;
    switch (c.vt) {
      case VT_UI1: case VT_I1: bits = out->bVal; break;
      case VT_I2: bits = out->uiVal; break;
      case VT_UI4: bits = out->ulVal; break;
      default: bits = out->ullVal; break;
    }
    EXPECT_EQ(bits, c.bits);
  }
}

TEST(VariantChangeType, TextToBool) {
  struct Case {
    std::u16string text;
    HRESULT hr;
    VARIANT_BOOL value;
  } const cases[] = {
      {u"#TRUE#", S_OK, VARIANT_TRUE},  {u"#FALSE#", S_OK, VARIANT_FALSE},
      {u"#true#", DISP_E_TYPEMISMATCH, 0}, {u"true", S_OK, VARIANT_TRUE},
      {u"TRUE", S_OK, VARIANT_TRUE},    {u"False", S_OK, VARIANT_FALSE},
      {u"1", S_OK, VARIANT_TRUE},       {u"-3.5", S_OK, VARIANT_TRUE},
      {u"0", S_OK, VARIANT_FALSE},      {u"0.0", S_OK, VARIANT_FALSE},
      {u"On", DISP_E_TYPEMISMATCH, 0},  {u"Yes", DISP_E_TYPEMISMATCH, 0},
      {u"", DISP_E_TYPEMISMATCH, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Narrow(c.text));
    OwnedVariant source = OwnedVariant::Text(c.text);
    OwnedVariant out;
    ASSERT_EQ(VariantChangeTypeEx(out.get(), source.get(), 0x0804, 0, VT_BOOL), c.hr);
    if (c.hr == S_OK) {
      EXPECT_EQ(out->boolVal, c.value);
    }
  }
}

TEST(VariantChangeType, DoubleToTextAsFifteenDigitsWithFixedFormForSmallNumbers) {
  const std::pair<double, std::u16string> cases[] = {
      {0.56789, u"0.56789"},
      {5.6789e-11, u"0.000000000056789"},
      {5.6789e-12, u"5.6789E-12"},
      {1e14, u"100000000000000"},
      {999999999999999.0, u"999999999999999"},
      {1e15, u"1E+15"},
      {1.2e15, u"1.2E+15"},
      {3.14159265358979323846, u"3.14159265358979"},
      {12.345678901234567, u"12.3456789012346"},
      {1e21, u"1E+21"},
      {0.1, u"0.1"},
      {-0.0, u"0"},
      {-2.5, u"-2.5"},
      {-5.6789e-11, u"-0.000000000056789"},
      {1e-15, u"0.000000000000001"},
      {1e-16, u"1E-16"},
      {123456789.0, u"123456789"},
  };
  for (const auto& [value, text] : cases) {
    SCOPED_TRACE(value);
    EXPECT_EQ(ToText(Real(value)), text);
  }
  EXPECT_EQ(ToText(Real(0.5), 0, 0x0C0A), u"0,5");  // Spanish writes a decimal comma
  EXPECT_EQ(ToText(Real(0.5), 0, 0x0804), u"0.5");
}

TEST(VariantChangeType, FloatToTextAsSevenDigits) {
  EXPECT_EQ(ToText(Float(1e8f)), u"1E+08");
  EXPECT_EQ(ToText(Float(3.14159265f)), u"3.141593");
  EXPECT_EQ(ToText(Float(0.25f)), u"0.25");
  EXPECT_EQ(ToText(Float(1234567.0f)), u"1234567");
}

TEST(VariantChangeType, BoolToTextByFlags) {
  EXPECT_EQ(ToText(Boolean(true)), u"-1");
  EXPECT_EQ(ToText(Boolean(false)), u"0");
  EXPECT_EQ(ToText(Boolean(true), VARIANT_ALPHABOOL), u"True");
  EXPECT_EQ(ToText(Boolean(false), VARIANT_ALPHABOOL), u"False");
  EXPECT_EQ(ToText(Boolean(false), VARIANT_ALPHABOOL, 0x0804), u"False");
}

TEST(VariantChangeType, IntegersAndCurrencyToText) {
  EXPECT_EQ(ToText(OwnedVariant::I4(-2147483647 - 1)), u"-2147483648");
  OwnedVariant big;
  big->vt = VT_UI8;
  big->ullVal = 18446744073709551615ull;
  EXPECT_EQ(ToText(big), u"18446744073709551615");
  OwnedVariant money;
  money->vt = VT_CY;
  money->cyVal.int64 = 15000;  // 1.5
  EXPECT_EQ(ToText(money), u"1.5");
  money->cyVal.int64 = -123456789;
  EXPECT_EQ(ToText(money), u"-12345.6789");
}

TEST(VariantChangeType, DatesToAndFromText) {
  const std::pair<double, std::u16string> cases[] = {
      {0.0, u"12:00:00 AM"},
      {365.0, u"12/30/1900"},
      {365.25, u"12/30/1900 6:00:00 AM"},
      {0.5, u"12:00:00 PM"},
      {1.75, u"12/31/1899 6:00:00 PM"},
      {-1.25, u"12/29/1899 6:00:00 AM"},
      {36526.0, u"1/1/2000"},
      {2958465.0, u"12/31/9999"},
  };
  for (const auto& [value, text] : cases) {
    SCOPED_TRACE(value);
    EXPECT_EQ(ToText(Date(value)), text);
    OwnedVariant source = OwnedVariant::Text(text);
    OwnedVariant back;
    ASSERT_EQ(VariantChangeType(back.get(), source.get(), 0, VT_DATE), S_OK);
    EXPECT_DOUBLE_EQ(back->date, value);
  }
  const std::u16string bad[] = {u"13/1/2000", u"2/30/2000", u"25:00", u"noon", u"1/2"};
  for (const auto& text : bad) {
    OwnedVariant source = OwnedVariant::Text(text);
    OwnedVariant out;
    EXPECT_EQ(VariantChangeType(out.get(), source.get(), 0, VT_DATE), DISP_E_TYPEMISMATCH);
  }
  OwnedVariant iso = OwnedVariant::Text(u"2000-01-01 13:30");
  OwnedVariant out;
  ASSERT_EQ(VariantChangeType(out.get(), iso.get(), 0, VT_DATE), S_OK);
  EXPECT_DOUBLE_EQ(out->date, 36526.0 + 13.5 / 24);
}

TEST(VariantChangeType, NumbersBetweenTypes) {
  struct Case {
    OwnedVariant source;
    VARTYPE vt;
    HRESULT hr;
    double value;  // compared after conversion to R8
  };
  const Case cases[] = {
      {Real(2.5), VT_I4, S_OK, 2},        {Real(3.5), VT_I4, S_OK, 4},
      {Real(-2.5), VT_I2, S_OK, -2},      {Real(2147483647.4), VT_I4, S_OK, 2147483647},
      {Real(2147483647.5), VT_I4, DISP_E_OVERFLOW, 0},
      {Real(std::nan("")), VT_I4, DISP_E_OVERFLOW, 0},
      {Real(1e300), VT_R4, DISP_E_OVERFLOW, 0},
      {OwnedVariant::I4(300), VT_UI1, DISP_E_OVERFLOW, 0},
      {OwnedVariant::I4(-1), VT_UI4, DISP_E_OVERFLOW, 0},
      {Boolean(true), VT_I4, S_OK, -1},   {Boolean(true), VT_UI1, S_OK, 255},
      {Boolean(true), VT_R8, S_OK, -1},   {OwnedVariant::I4(0), VT_BOOL, S_OK, 0},
      {Real(0.1), VT_BOOL, S_OK, -1},     {Date(1.5), VT_I4, S_OK, 2},
      {Real(3e6), VT_DATE, DISP_E_OVERFLOW, 0},
      {OwnedVariant(), VT_I4, S_OK, 0},   {OwnedVariant(), VT_R8, S_OK, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Narrow(testing::TextOf(*c.source)) + " to " + std::to_string(c.vt));
    OwnedVariant out;
    ASSERT_EQ(VariantChangeType(out.get(), c.source.get(), 0, c.vt), c.hr);
    if (c.hr != S_OK) continue;
    EXPECT_EQ(out->vt, c.vt);
    OwnedVariant real;
    ASSERT_EQ(VariantChangeType(real.get(), out.get(), 0, VT_R8), S_OK);
    EXPECT_DOUBLE_EQ(real->dblVal, c.value);
  }
}

TEST(VariantChangeType, EmptyAndNull) {
  OwnedVariant empty;
  OwnedVariant out;
  ASSERT_EQ(VariantChangeType(out.get(), empty.get(), 0, VT_BSTR), S_OK);
  EXPECT_EQ(out->vt, VT_BSTR);
  ASSERT_NE(out->bstrVal, nullptr);
  EXPECT_EQ(SysStringLen(out->bstrVal), 0u);
  ASSERT_EQ(VariantChangeType(out.get(), empty.get(), 0, VT_BOOL), S_OK);
  EXPECT_EQ(out->boolVal, VARIANT_FALSE);
  ASSERT_EQ(VariantChangeType(out.get(), empty.get(), 0, VT_DISPATCH), S_OK);
  EXPECT_EQ(out->vt, VT_DISPATCH);
  EXPECT_EQ(out->pdispVal, nullptr);
  // No array type has an empty value: nothing converts to an array that holds none.
  for (VARTYPE vt : {VT_I4, VT_BSTR, VT_UI1, VT_VARIANT}) {
    EXPECT_EQ(VariantChangeType(out.get(), empty.get(), 0, VT_ARRAY | vt), DISP_E_TYPEMISMATCH) << vt;
  }
  ASSERT_EQ(VariantChangeType(out.get(), empty.get(), 0, VT_NULL), S_OK);
  EXPECT_EQ(out->vt, VT_NULL);

  OwnedVariant null;
  SetNull(*null);
  for (VARTYPE vt : {VT_BSTR, VT_I4, VT_BOOL, VT_DATE, VT_DISPATCH}) {
    EXPECT_EQ(VariantChangeType(out.get(), null.get(), 0, vt), DISP_E_TYPEMISMATCH) << vt;
  }
  ASSERT_EQ(VariantChangeType(out.get(), null.get(), 0, VT_EMPTY), S_OK);
  EXPECT_EQ(out->vt, VT_EMPTY);
}

TEST(VariantChangeType, BadTypesAndReferences) {
  OwnedVariant bad;
  bad->vt = 15;
  OwnedVariant out;
  EXPECT_EQ(VariantChangeType(out.get(), bad.get(), 0, VT_I4), DISP_E_BADVARTYPE);
  OwnedVariant number = OwnedVariant::I4(5);
  EXPECT_EQ(VariantChangeType(out.get(), number.get(), 0, VT_BYREF | VT_I4), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantChangeType(out.get(), number.get(), 0, 0x7FFF), DISP_E_BADVARTYPE);

  LONG target = 77;
  VARIANT ref = testing::Ref(VT_I4, &target);
  ASSERT_EQ(VariantChangeType(out.get(), &ref, 0, VT_BSTR), S_OK);
  EXPECT_EQ(BstrView(out->bstrVal), u"77");
  VARIANT inner = testing::Ref(VT_I4, &target);
  VARIANT outer = testing::Ref(VT_VARIANT, &inner);
  ASSERT_EQ(VariantChangeType(out.get(), &outer, 0, VT_R8), S_OK);
  EXPECT_EQ(out->dblVal, 77.0);

  // Converting in place replaces (and frees) the source's own text.
  OwnedVariant text = OwnedVariant::Text(u"12");
  ASSERT_EQ(VariantChangeType(text.get(), text.get(), 0, VT_I4), S_OK);
  EXPECT_EQ(text->vt, VT_I4);
  EXPECT_EQ(text->lVal, 12);
}

TEST(VariantChangeType, ByteArrayAndTextCarryRawBytes) {
  SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 1, 3);
  const BYTE data[] = {0xE4, 0xB8, 0xAD};
  std::memcpy(bytes->pvData, data, 3);
  OwnedVariant array;
  SetArray(*array, VT_UI1, bytes);
  OwnedVariant text;
  ASSERT_EQ(VariantChangeType(text.get(), array.get(), 0, VT_BSTR), S_OK);
  ASSERT_EQ(SysStringByteLen(text->bstrVal), 3u);
  EXPECT_EQ(std::memcmp(text->bstrVal, data, 3), 0);

  OwnedVariant back;
  ASSERT_EQ(VariantChangeType(back.get(), text.get(), 0, VT_ARRAY | VT_UI1), S_OK);
  ASSERT_EQ(back->vt, VT_ARRAY | VT_UI1);
  LONG lower = -1;
  ASSERT_EQ(SafeArrayGetLBound(back->parray, 1, &lower), S_OK);
  EXPECT_EQ(lower, 0);
  ASSERT_EQ(SafeArrayElementCount(back->parray), 3u);
  EXPECT_EQ(std::memcmp(back->parray->pvData, data, 3), 0);

  OwnedVariant words;
  SetArray(*words, VT_I4, SafeArrayCreateVector(VT_I4, 0, 2));
  OwnedVariant out;
  EXPECT_EQ(VariantChangeType(out.get(), words.get(), 0, VT_BSTR), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(VariantChangeType(out.get(), words.get(), 0, VT_ARRAY | VT_UI1), DISP_E_TYPEMISMATCH);
  ASSERT_EQ(VariantChangeType(out.get(), words.get(), 0, VT_ARRAY | VT_I4), S_OK);
  EXPECT_NE(out->parray, words->parray);  // a copy
}

TEST(VariantChangeType, ObjectsConvertThroughTheirDefaultValue) {
  testing::Thing* thing = new testing::Thing;
  thing->name = u"1234";
  OwnedVariant object;
  SetDispatch(*object, thing);
  thing->Release();

  OwnedVariant out;
  ASSERT_EQ(VariantChangeType(out.get(), object.get(), 0, VT_BSTR), S_OK);
  EXPECT_EQ(BstrView(out->bstrVal), u"1234");
  ASSERT_EQ(VariantChangeType(out.get(), object.get(), 0, VT_I4), S_OK);
  EXPECT_EQ(out->lVal, 1234);
  EXPECT_EQ(VariantChangeType(out.get(), object.get(), VARIANT_NOVALUEPROP, VT_BSTR),
            DISP_E_TYPEMISMATCH);
  ASSERT_EQ(VariantChangeType(out.get(), object.get(), 0, VT_UNKNOWN), S_OK);
  EXPECT_EQ(out->vt, VT_UNKNOWN);
  EXPECT_NE(out->punkVal, nullptr);

  OwnedVariant nothing;
  nothing->vt = VT_DISPATCH;
  EXPECT_EQ(VariantChangeType(out.get(), nothing.get(), 0, VT_BSTR), DISP_E_TYPEMISMATCH);

  OwnedVariant unknown;
  SetUnknown(*unknown, object->pdispVal);
  ASSERT_EQ(VariantChangeType(out.get(), unknown.get(), 0, VT_DISPATCH), S_OK);
  EXPECT_EQ(out->pdispVal, object->pdispVal);
  out = OwnedVariant();
  object = OwnedVariant();
  unknown = OwnedVariant();
  EXPECT_EQ(testing::Thing::Live(), 0);
}

}  // namespace
}  // namespace oleaut
