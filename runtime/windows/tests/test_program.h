// A small fake program for the window layer's tests: a procedure table whose procedures
// record their calls, and a window template with one unit of each type.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "runtime/program_info.h"
#include "runtime/windows/template_format.h"
#include "runtime/windows/type_data.h"
#include "runtime/windows/window_table.h"

namespace testprogram {

constexpr std::uint32_t kWindow = 0x52010001;
constexpr std::uint32_t kOwn = 0x06010000;
constexpr std::uint32_t kEdit = 0x16010001;
constexpr std::uint32_t kOtherEdit = 0x16010002;
constexpr std::uint32_t kRadio1 = 0x16010011, kRadio2 = 0x16010012, kRadio3 = 0x16010013;
constexpr std::uint32_t kLabel = 0x16010021;
constexpr std::uint32_t kButton = 0x16010031;

constexpr int kProcedureCount = 6;
extern const runtime::EventHandler kProcedures[kProcedureCount];
constexpr std::int32_t Offset(int procedure) {
  return procedure * static_cast<std::int32_t>(sizeof(runtime::EventHandler));
}

struct Call {
  int procedure;
  std::uint32_t sourceWindow, sourceUnit;  // the event source while it ran
  std::vector<std::int32_t> args;
  bool operator==(const Call&) const = default;
};
std::vector<Call>& Calls();
std::vector<int> CalledProcedures();

using Behaviour = std::function<runtime::HandlerResult(const std::int32_t* args, std::int32_t argc)>;
// What procedure i does besides recording its call (by default: returns no value).
void SetBehaviour(int procedure, Behaviour behaviour);
runtime::HandlerResult Returns(std::int32_t value);

struct Binding {
  std::uint32_t unit;
  std::int32_t event;
  int procedure;
};

runtime::UnitRecord MakeUnit(std::uint32_t id, std::uint32_t type, int left, int top, int width, int height,
                             const std::function<void(runtime::TypeData&)>& values = {});
// The test window: its own unit, two edit boxes, three radio boxes (the first checked), a
// label and a button, with these bindings.
runtime::TemplateBlock StandardBlock(const std::vector<Binding>& bindings = {});
// Start-up's steps 10 to 12 for a block.
void Install(const runtime::TemplateBlock& block);

runtime::UnitSlot& Slot(std::uint32_t unit, std::uint32_t window = kWindow);
QWidget* Widget(std::uint32_t unit, std::uint32_t window = kWindow);
// Lets Qt deliver what is waiting.
void Pump();
// Types text into the widget key by key (also characters that have no key of their own).
void Type(QWidget* widget, const QString& text);

// Text values through the property entries.
std::string ReadText(std::uint32_t unit, std::int32_t property);
void WriteText(std::uint32_t unit, std::int32_t property, const char* text);
std::int32_t ReadNumber(std::uint32_t unit, std::int32_t property);
void WriteNumber(std::uint32_t unit, std::int32_t property, std::int32_t value);

// What the fatal-error box writes headless.
std::string ErrorBox(const std::string& messageUtf8);

// Each test starts with an empty window table and nothing recorded.
class WindowTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace testprogram
