// Loading a window: its units from the template, the creation events, a second load, and
// the start-up errors.
#include <QLineEdit>
#include <QRadioButton>

#include "runtime/frame.h"
#include "runtime/windows/window_layer.h"
#include "test_program.h"

namespace testprogram {
namespace {

using runtime::LoadStartupWindow;
using testing::ElementsAre;
using testing::HasSubstr;

class WindowLoading : public WindowTest {};

TEST_F(WindowLoading, CreatesEveryUnitFromItsTemplate) {
  Install(StandardBlock());
  LoadStartupWindow(kWindow);
  QWidget* form = Widget(kOwn);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowTitle(), "Test");
  EXPECT_EQ(form->pos(), QPoint(40, 40));
  EXPECT_EQ(form->size(), QSize(320, 240));

  auto* edit = qobject_cast<QLineEdit*>(Widget(kEdit));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->parentWidget(), form);
  EXPECT_EQ(edit->geometry(), QRect(10, 10, 200, 24));
  EXPECT_EQ(edit->text(), "hello");
  EXPECT_EQ(qobject_cast<QLineEdit*>(Widget(kOtherEdit))->text(), "") << "empty data: the defaults";

  EXPECT_TRUE(qobject_cast<QRadioButton*>(Widget(kRadio1))->isChecked()) << "checked word of its data";
  EXPECT_FALSE(qobject_cast<QRadioButton*>(Widget(kRadio2))->isChecked());
  EXPECT_TRUE(runtime::AnyWindowLive());
}

TEST_F(WindowLoading, RaisesCreationEventsZeroThreeFourInOrder) {
  Install(StandardBlock({{kOwn, 4, 3}, {kOwn, 0, 1}, {kOwn, 3, 2}}));
  LoadStartupWindow(kWindow);
  EXPECT_THAT(CalledProcedures(), ElementsAre(1, 2, 3));
  EXPECT_EQ(Calls()[0].sourceWindow, kWindow);
  EXPECT_EQ(Calls()[0].sourceUnit, kOwn);
}

TEST_F(WindowLoading, CreationHandlerSeesLiveUnits) {
  Install(StandardBlock({{kOwn, 0, 1}}));
  SetBehaviour(1, [](const std::int32_t*, std::int32_t) {
    WriteNumber(kRadio2, 18, 1);  // as MainWindow's creation handler checks its first box
    return runtime::HandlerResult{0, 0};
  });
  LoadStartupWindow(kWindow);
  EXPECT_EQ(ReadNumber(kRadio2, 18), 1);
  EXPECT_EQ(ReadNumber(kRadio1, 18), 1) << "a write of the checked state changes only that box";
}

TEST_F(WindowLoading, SecondLoadOnlyBringsTheWindowForward) {
  Install(StandardBlock({{kOwn, 0, 1}}));
  LoadStartupWindow(kWindow);
  QWidget* first = Widget(kEdit);
  WriteText(kEdit, 8, "typed");
  Widget(kOwn)->showMinimized();
  Pump();

  LoadStartupWindow(kWindow);
  EXPECT_EQ(Widget(kEdit), first);
  EXPECT_EQ(ReadText(kEdit, 8), "typed");
  EXPECT_FALSE(Widget(kOwn)->isMinimized());
  EXPECT_THAT(CalledProcedures(), ElementsAre(1)) << "no creation events the second time";
}

TEST_F(WindowLoading, ClosedWindowLoadsAfresh) {
  Install(StandardBlock({{kOwn, 0, 1}}));
  LoadStartupWindow(kWindow);
  WriteText(kEdit, 8, "typed");
  Widget(kOwn)->close();
  EXPECT_EQ(Widget(kEdit), nullptr);
  EXPECT_FALSE(runtime::AnyWindowLive());

  LoadStartupWindow(kWindow);
  EXPECT_EQ(ReadText(kEdit, 8), "hello") << "made from the template again";
  EXPECT_THAT(CalledProcedures(), ElementsAre(1, 1));
}

TEST_F(WindowLoading, LaterCreationEventsOnlyWhileTheWindowLives) {
  Install(StandardBlock({{kOwn, 0, 1}, {kOwn, 3, 2}, {kOwn, 4, 3}}));
  SetBehaviour(1, [](const std::int32_t*, std::int32_t) {
    Widget(kOwn)->close();  // the user closes it while the first handler runs
    return runtime::HandlerResult{0, 0};
  });
  LoadStartupWindow(kWindow);
  EXPECT_THAT(CalledProcedures(), ElementsAre(1));
  EXPECT_FALSE(runtime::AnyWindowLive());
}

TEST_F(WindowLoading, UnitsInsideOtherUnits) {
  runtime::TemplateBlock block = StandardBlock();
  block.windows[0].form.units[1].parentId = kLabel;  // the edit box inside the label, made later
  Install(block);
  LoadStartupWindow(kWindow);
  EXPECT_EQ(Widget(kEdit)->parentWidget(), Widget(kLabel));
}

using WindowLoadingDeath = WindowLoading;

TEST_F(WindowLoadingDeath, UnknownWindowIdIsFatal) {
  Install(StandardBlock());
  EXPECT_EXIT(LoadStartupWindow(0x52019999), testing::ExitedWithCode(255), HasSubstr(ErrorBox("载入启动窗口失败")));
}

TEST_F(WindowLoadingDeath, WindowsThatCannotBeMadeAreFatal) {
  const std::function<void(runtime::TemplateBlock&)> damages[] = {
      [](runtime::TemplateBlock& b) { b.windows[0].form.units[2].typeWord = 0x00010007; },  // no such unit type
      [](runtime::TemplateBlock& b) { b.windows[0].form.units[2].parentId = 0x1234; },      // parent missing
      [](runtime::TemplateBlock& b) { std::swap(b.windows[0].form.units[0], b.windows[0].form.units[1]); },
      [](runtime::TemplateBlock& b) {  // two units inside each other
        b.windows[0].form.units[1].parentId = kOtherEdit;
        b.windows[0].form.units[2].parentId = kEdit;
      },
  };
  for (const auto& damage : damages) {
    runtime::TemplateBlock block = StandardBlock();
    damage(block);
    EXPECT_EXIT((Install(block), LoadStartupWindow(kWindow)), testing::ExitedWithCode(255),
                HasSubstr(ErrorBox("载入启动窗口失败")));
  }
}

TEST_F(WindowLoadingDeath, DamagedTemplateDataIsFatal) {
  std::vector<std::uint8_t> bytes = runtime::WriteTemplateBlock(StandardBlock());
  bytes.pop_back();
  EXPECT_EXIT(runtime::DeserialiseTemplates(bytes), testing::ExitedWithCode(255),
              HasSubstr(ErrorBox("载入窗口模板数据段出错!")));

  runtime::TemplateBlock badData = StandardBlock();
  badData.windows[0].form.units[1].typeData = "\x02";  // an edit box's data cut short
  EXPECT_EXIT(runtime::DeserialiseTemplates(runtime::WriteTemplateBlock(badData)), testing::ExitedWithCode(255),
              HasSubstr(ErrorBox("载入窗口模板数据段出错!")));
}

TEST_F(WindowLoadingDeath, HandlerOffsetsThatNameNoProcedureAreFatal) {
  // Negative, inside a procedure's entry, past the end of the table, far past it.
  for (std::int32_t offset : {-2, 3, Offset(1) + 1, Offset(kProcedureCount), 0x7FFFFFF8}) {
    runtime::TemplateBlock block = StandardBlock();
    block.windows[0].form.units[1].events = {{0, offset}};
    runtime::WindowEntries windows = runtime::DeserialiseTemplates(runtime::WriteTemplateBlock(block));
    EXPECT_EXIT(runtime::RelocateHandlers(windows, kProcedures), testing::ExitedWithCode(255),
                HasSubstr(ErrorBox("载入窗口模板数据段出错!")))
        << offset;
  }
}

}  // namespace
}  // namespace testprogram
