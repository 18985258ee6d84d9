// SAFEARRAY bounds, element order, element ownership and locks.
#include <gtest/gtest.h>

#include "oleaut/safearray.h"
#include "testsupport/thing_object.h"

namespace oleaut {
namespace {

// A 3 x 2 array of I4 (first dimension 3 elements from 1, second 2 from 10).
SAFEARRAY* MakeGrid() {
  const SAFEARRAYBOUND bounds[] = {{3, 1}, {2, 10}};
  return SafeArrayCreate(VT_I4, 2, bounds);
}

TEST(SafeArray, BoundsCountDimensionsFromOne) {
  SAFEARRAY* grid = MakeGrid();
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(SafeArrayGetDim(grid), 2u);
  EXPECT_EQ(SafeArrayGetElemsize(grid), 4u);
  struct Case {
    UINT dim;
    HRESULT hr;
    LONG lower, upper;
  } const cases[] = {{1, S_OK, 1, 3}, {2, S_OK, 10, 11}, {0, DISP_E_BADINDEX, 0, 0},
                     {3, DISP_E_BADINDEX, 0, 0}};
  for (const auto& c : cases) {
    LONG lower = -99, upper = -99;
    EXPECT_EQ(SafeArrayGetLBound(grid, c.dim, &lower), c.hr) << c.dim;
    EXPECT_EQ(SafeArrayGetUBound(grid, c.dim, &upper), c.hr) << c.dim;
    if (c.hr == S_OK) {
      EXPECT_EQ(lower, c.lower);
      EXPECT_EQ(upper, c.upper);
    }
  }
  // Stored reversed: rgsabound[0] is the last dimension given.
  EXPECT_EQ(grid->rgsabound[0].lLbound, 10);
  VARTYPE vt = VT_EMPTY;
  EXPECT_EQ(SafeArrayGetVartype(grid, &vt), S_OK);
  EXPECT_EQ(vt, VT_I4);
  EXPECT_EQ(SafeArrayDestroy(grid), S_OK);
}

TEST(SafeArray, FirstIndexVariesFastest) {
  SAFEARRAY* grid = MakeGrid();
  LONG value = 0;
  for (LONG j = 10; j <= 11; ++j) {
    for (LONG i = 1; i <= 3; ++i) {
      const LONG index[] = {i, j};
      value = i * 100 + j;
      ASSERT_EQ(SafeArrayPutElement(grid, index, &value), S_OK);
    }
  }
  const LONG* data = static_cast<const LONG*>(grid->pvData);
  const LONG expected[] = {110, 210, 310, 111, 211, 311};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(data[k], expected[k]) << k;

  const LONG index[] = {2, 11};
  void* element = nullptr;
  ASSERT_EQ(SafeArrayPtrOfIndex(grid, index, &element), S_OK);
  EXPECT_EQ(*static_cast<LONG*>(element), 211);
  LONG read = 0;
  ASSERT_EQ(SafeArrayGetElement(grid, index, &read), S_OK);
  EXPECT_EQ(read, 211);

  const LONG bad[][2] = {{0, 10}, {4, 10}, {1, 9}, {1, 12}};
  for (const auto& b : bad) {
    EXPECT_EQ(SafeArrayGetElement(grid, b, &read), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayPutElement(grid, b, &read), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayPtrOfIndex(grid, b, &element), DISP_E_BADINDEX);
  }
  SafeArrayDestroy(grid);
}

TEST(SafeArray, ElementsAreCopiedInAndOut) {
  SAFEARRAY* texts = SafeArrayCreateVector(VT_BSTR, 1, 2);
  BSTR mine = SysAllocString(u"mine");
  const LONG one = 1;
  ASSERT_EQ(SafeArrayPutElement(texts, &one, mine), S_OK);
  EXPECT_NE(static_cast<BSTR*>(texts->pvData)[0], mine);  // a copy is stored
  SysFreeString(mine);
  BSTR again = SysAllocString(u"again");
  ASSERT_EQ(SafeArrayPutElement(texts, &one, again), S_OK);  // the old copy is freed
  SysFreeString(again);
  BSTR out = nullptr;
  ASSERT_EQ(SafeArrayGetElement(texts, &one, &out), S_OK);
  EXPECT_EQ(BstrView(out), u"again");
  SysFreeString(out);

  SAFEARRAY* copy = nullptr;
  ASSERT_EQ(SafeArrayCopy(texts, &copy), S_OK);
  EXPECT_NE(static_cast<BSTR*>(copy->pvData)[0], static_cast<BSTR*>(texts->pvData)[0]);
  SafeArrayDestroy(copy);
  SafeArrayDestroy(texts);

  testing::Thing* thing = new testing::Thing;
  SAFEARRAY* objects = SafeArrayCreateVector(VT_DISPATCH, 0, 3);
  const LONG zero = 0;
  SafeArrayPutElement(objects, &zero, static_cast<IDispatch*>(thing));
  thing->Release();
  SAFEARRAY* variants = SafeArrayCreateVector(VT_VARIANT, 0, 1);
  VARIANT holder = testing::Object(thing);
  SafeArrayPutElement(variants, &zero, &holder);
  VariantClear(&holder);
  EXPECT_EQ(testing::Thing::Live(), 1);
  SafeArrayDestroy(objects);
  EXPECT_EQ(testing::Thing::Live(), 1);
  SafeArrayDestroy(variants);
  EXPECT_EQ(testing::Thing::Live(), 0);

  SAFEARRAY* none = reinterpret_cast<SAFEARRAY*>(1);
  ASSERT_EQ(SafeArrayCopy(nullptr, &none), S_OK);
  EXPECT_EQ(none, nullptr);
}

TEST(SafeArray, LocksGuardTheData) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, 4);
  void* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(array, &data), S_OK);
  EXPECT_EQ(data, array->pvData);
  ASSERT_EQ(SafeArrayLock(array), S_OK);
  EXPECT_EQ(array->cLocks, 2u);
  EXPECT_EQ(SafeArrayDestroy(array), DISP_E_ARRAYISLOCKED);
  const SAFEARRAYBOUND bigger{8, 0};
  EXPECT_EQ(SafeArrayRedim(array, &bigger), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(SafeArrayUnlock(array), S_OK);
  EXPECT_EQ(SafeArrayUnaccessData(array), S_OK);
  EXPECT_EQ(SafeArrayUnlock(array), E_UNEXPECTED);
  EXPECT_EQ(SafeArrayDestroy(array), S_OK);
}

TEST(SafeArray, RedimChangesTheLastDimensionAndKeepsElements) {
  SAFEARRAY* grid = MakeGrid();
  for (LONG k = 0; k < 6; ++k) static_cast<LONG*>(grid->pvData)[k] = k + 1;
  const SAFEARRAYBOUND longer{3, 10};
  ASSERT_EQ(SafeArrayRedim(grid, &longer), S_OK);
  LONG upper = 0;
  SafeArrayGetUBound(grid, 2, &upper);
  EXPECT_EQ(upper, 12);
  SafeArrayGetUBound(grid, 1, &upper);
  EXPECT_EQ(upper, 3);
  const LONG* data = static_cast<const LONG*>(grid->pvData);
  for (LONG k = 0; k < 6; ++k) EXPECT_EQ(data[k], k + 1);
  for (LONG k = 6; k < 9; ++k) EXPECT_EQ(data[k], 0);
  SafeArrayDestroy(grid);

  // Shrinking releases the texts that are cut off (the sanitizer build sees a leak).
  SAFEARRAY* texts = SafeArrayCreateVector(VT_BSTR, 0, 3);
  BSTR t = SysAllocString(u"t");
  for (LONG i = 0; i < 3; ++i) SafeArrayPutElement(texts, &i, t);
  SysFreeString(t);
  const SAFEARRAYBOUND shorter{1, 0};
  ASSERT_EQ(SafeArrayRedim(texts, &shorter), S_OK);
  EXPECT_EQ(SafeArrayElementCount(texts), 1u);
  SafeArrayDestroy(texts);
}

TEST(SafeArray, RefusesWhatItCannotHold) {
  const SAFEARRAYBOUND one{1, 0};
  for (VARTYPE vt : std::initializer_list<VARTYPE>{VT_EMPTY, VT_NULL, VT_RECORD, VT_DECIMAL, 15,
                                                  VT_VOID}) {
    EXPECT_EQ(SafeArrayCreate(vt, 1, &one), nullptr) << vt;
  }
  EXPECT_EQ(SafeArrayCreate(VT_I4, 0, &one), nullptr);
  const SAFEARRAYBOUND huge[] = {{0x10000, 0}, {0x10000, 0}};
  EXPECT_EQ(SafeArrayCreate(VT_UI1, 2, huge), nullptr);
  SAFEARRAY* empty = SafeArrayCreateVector(VT_VARIANT, 1, 0);
  ASSERT_NE(empty, nullptr);
  LONG upper = 99;
  SafeArrayGetUBound(empty, 1, &upper);
  EXPECT_EQ(upper, 0);
  SafeArrayDestroy(empty);
  EXPECT_EQ(SafeArrayGetDim(nullptr), 0u);
  LONG bound;
  EXPECT_EQ(SafeArrayGetLBound(nullptr, 1, &bound), E_INVALIDARG);
}

}  // namespace
}  // namespace oleaut
