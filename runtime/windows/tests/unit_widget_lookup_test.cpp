// FindUnitWidget: a unit's live widget by window and unit id, only while the window lives.
#include "runtime/windows/unit_widget_lookup.h"

#include "runtime/windows/window_layer.h"
#include "test_program.h"

namespace testprogram {
namespace {

class UnitWidgetLookup : public WindowTest {};

TEST_F(UnitWidgetLookup, LiveWidgetsOnly) {
  Install(StandardBlock());
  EXPECT_EQ(runtime::FindUnitWidget(kWindow, kEdit), nullptr) << "not loaded yet";
  runtime::LoadStartupWindow(kWindow);
  EXPECT_EQ(runtime::FindUnitWidget(kWindow, kEdit), Widget(kEdit));
  EXPECT_EQ(runtime::FindUnitWidget(kWindow, kButton), Widget(kButton));
  ASSERT_NE(runtime::FindUnitWidget(kWindow, 0), nullptr);
  EXPECT_TRUE(runtime::FindUnitWidget(kWindow, 0)->isWindow()) << "unit 0 is the window";
  EXPECT_EQ(runtime::FindUnitWidget(kWindow, 0x16019999), nullptr);
  EXPECT_EQ(runtime::FindUnitWidget(0x52019999, kEdit), nullptr);
}

}  // namespace
}  // namespace testprogram
