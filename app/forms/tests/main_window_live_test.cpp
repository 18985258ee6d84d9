// MainWindow made live by the window layer from the block the build makes: its eighteen
// widgets with their captions, the program's creation handler, and a left click into the
// download-address box reaching the handler its binding names.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <array>
#include <map>

#include "app/forms/main_window_template.h"
#include "expected_main_window.h"
#include "runtime/frame.h"
#include "runtime/windows/window_layer.h"
#include "runtime/windows/window_table.h"

namespace {

using mainwindow::kUnits;
using testing::ElementsAre;

constexpr std::uint32_t kFirstRadioBox = 0x160100a8, kAddressBox = 0x16010070;
constexpr std::int32_t kChecked = 18;

struct Call {
  int procedure;
  std::uint32_t sourceUnit;
  std::vector<std::int32_t> args;
};
std::vector<Call> calls;

template <int I>
runtime::HandlerResult Record(const std::int32_t* args, std::int32_t argc) {
  auto source = static_cast<std::uint64_t>(runtime::RuntimeNotify(runtime::notify::EventSource, 0, 0));
  calls.push_back({I, static_cast<std::uint32_t>(source >> 32), std::vector<std::int32_t>(args, args + argc)});
  return {0, 0};
}

// OnMainWindowCreated checks the first radio box itself, as the program's does.
runtime::HandlerResult Created(const std::int32_t* args, std::int32_t argc) {
  Record<2>(args, argc);
  runtime::WriteProperty(app::forms::kMainWindowId, kFirstRadioBox, kChecked, -1, 1, 0);
  return {0, 0};
}

// In the program's order: OnResolveClicked, OnAddressBoxLeftDown, OnMainWindowCreated.
const std::array<runtime::EventHandler, 3> kProcedures = {Record<0>, Record<1>, Created};

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QString Caption(QWidget* widget) {
  if (auto* radio = qobject_cast<QRadioButton*>(widget)) return radio->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text();
  return widget->windowTitle();
}

class MainWindowLive : public testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    runtime::WindowEntries windows = runtime::DeserialiseTemplates(
        std::span(app::forms::kMainWindowTemplate, app::forms::kMainWindowTemplateSize));
    runtime::RelocateHandlers(windows, kProcedures);
    runtime::InstallTemplates(std::move(windows));
    runtime::LoadStartupWindow(app::forms::kMainWindowId);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->isVisible()) form = widget;
    }
    ASSERT_NE(form, nullptr);
    // The controls by their place: no two units of the window share one.
    for (QWidget* control : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      controls[{control->x(), control->y()}] = control;
    }
  }
  void TearDown() override { runtime::InstallTemplates({}); }

  QWidget* Control(const mainwindow::ExpectedUnit& unit) {
    auto found = controls.find({unit.left, unit.top});
    return found == controls.end() ? nullptr : found->second;
  }

  QWidget* form = nullptr;
  std::map<std::pair<int, int>, QWidget*> controls;
};

TEST_F(MainWindowLive, EighteenWidgetsWithTheirCaptions) {
  EXPECT_EQ(form->windowTitle(), "Panlift");
  EXPECT_EQ(form->size(), QSize(kUnits[0].width, kUnits[0].height));
  ASSERT_EQ(controls.size(), kUnits.size() - 1);
  for (std::size_t i = 1; i < kUnits.size(); ++i) {
    const mainwindow::ExpectedUnit& unit = kUnits[i];
    SCOPED_TRACE(unit.name);
    QWidget* control = Control(unit);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->size(), QSize(unit.width, unit.height));
    EXPECT_TRUE(control->isVisible());
    switch (unit.type) {
      case runtime::unit_type::EditBox:
        ASSERT_NE(qobject_cast<QLineEdit*>(control), nullptr);
        EXPECT_EQ(qobject_cast<QLineEdit*>(control)->text(), "");
        break;
      case runtime::unit_type::RadioBox: EXPECT_NE(qobject_cast<QRadioButton*>(control), nullptr); break;
      case runtime::unit_type::Label: EXPECT_NE(qobject_cast<QLabel*>(control), nullptr); break;
      case runtime::unit_type::Button: EXPECT_NE(qobject_cast<QPushButton*>(control), nullptr); break;
      default: ADD_FAILURE() << "unexpected type";
    }
    if (unit.caption) {
      EXPECT_EQ(Caption(control), Utf8(unit.caption));
    }
  }
}

TEST_F(MainWindowLive, TheCreationHandlerRanAndTheFirstRadioBoxIsChecked) {
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].procedure, 2);
  EXPECT_EQ(calls[0].sourceUnit, kUnits[0].id);
  for (const mainwindow::ExpectedUnit& unit : kUnits) {
    if (unit.type != runtime::unit_type::RadioBox) continue;
    SCOPED_TRACE(unit.name);
    EXPECT_EQ(qobject_cast<QRadioButton*>(Control(unit))->isChecked(), unit.id == kFirstRadioBox);
    EXPECT_EQ(runtime::ReadProperty(app::forms::kMainWindowId, unit.id, kChecked, -1),
              std::uint64_t{unit.id == kFirstRadioBox ? 1u : 0u});
  }
}

TEST_F(MainWindowLive, ALeftClickIntoTheAddressBoxReachesItsHandler) {
  const auto& address = *std::find_if(kUnits.begin(), kUnits.end(), [](const auto& u) { return u.id == kAddressBox; });
  auto* box = qobject_cast<QLineEdit*>(Control(address));
  ASSERT_NE(box, nullptr);
  box->setText("http://example.invalid/some/long/address");
  box->setCursorPosition(0);
  calls.clear();
  QTest::mouseClick(box, Qt::LeftButton, Qt::ShiftModifier, QPoint(200, 12));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].procedure, 1) << "the handler at offset " << mainwindow::kOnAddressBoxLeftDown;
  EXPECT_EQ(calls[0].sourceUnit, kAddressBox);
  EXPECT_THAT(calls[0].args, ElementsAre(200, 12, 2));
  EXPECT_GT(box->cursorPosition(), 0) << "the box still got the click";
}

}  // namespace
