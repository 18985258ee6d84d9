#include "test_program.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "runtime/frame.h"
#include "runtime/windows/window_layer.h"
#include "ui/application.h"
#include "unit.h"

namespace testprogram {
namespace {

Behaviour behaviours[kProcedureCount];

template <int I>
runtime::HandlerResult Procedure(const std::int32_t* args, std::int32_t argc) {
  auto source = static_cast<std::uint64_t>(runtime::RuntimeNotify(runtime::notify::EventSource, 0, 0));
  Calls().push_back({I, static_cast<std::uint32_t>(source), static_cast<std::uint32_t>(source >> 32),
                     std::vector<std::int32_t>(args, args + argc)});
  return behaviours[I] ? behaviours[I](args, argc) : runtime::HandlerResult{0, 0};
}

}  // namespace

const runtime::EventHandler kProcedures[kProcedureCount] = {Procedure<0>, Procedure<1>, Procedure<2>,
                                                            Procedure<3>, Procedure<4>, Procedure<5>};

std::vector<Call>& Calls() {
  static std::vector<Call> calls;
  return calls;
}

std::vector<int> CalledProcedures() {
  std::vector<int> procedures;
  for (const Call& call : Calls()) procedures.push_back(call.procedure);
  return procedures;
}

void SetBehaviour(int procedure, Behaviour behaviour) { behaviours[procedure] = std::move(behaviour); }

runtime::HandlerResult Returns(std::int32_t value) { return {value, 1}; }

runtime::UnitRecord MakeUnit(std::uint32_t id, std::uint32_t type, int left, int top, int width, int height,
                             const std::function<void(runtime::TypeData&)>& values) {
  runtime::UnitRecord unit;
  unit.id = id;
  unit.typeWord = type;
  unit.left = left;
  unit.top = top;
  unit.width = width;
  unit.height = height;
  unit.flags = {0, type == runtime::unit_type::Window || type == runtime::unit_type::Label ? 1u : 5u, 0};
  if (values) {
    const runtime::UnitTypeInfo& info = *runtime::FindUnitType(type);
    runtime::TypeData data = runtime::DefaultTypeData(info);
    values(data);
    unit.typeData = runtime::EncodeTypeData(info, data);
  }
  return unit;
}

runtime::TemplateBlock StandardBlock(const std::vector<Binding>& bindings) {
  using namespace runtime;
  namespace t = unit_type;
  auto caption = [](std::int32_t index, const char* text) {
    return [=](TypeData& d) { d.own[index].bytes = text; };
  };
  WindowTemplate form;
  form.header = {0x00B9B430, 0x19010004};
  form.units = {
      MakeUnit(kOwn, t::Window, 40, 40, 320, 240, caption(window_property::Caption, "Test")),
      MakeUnit(kEdit, t::EditBox, 10, 10, 200, 24, caption(edit_box_property::Content, "hello")),
      MakeUnit(kOtherEdit, t::EditBox, 10, 40, 200, 24),
      MakeUnit(kRadio1, t::RadioBox, 10, 70, 80, 24,
               [](TypeData& d) {
                 d.own[radio_box_property::Caption].bytes = "one";
                 d.own[radio_box_property::Checked].number = 1;
               }),
      MakeUnit(kRadio2, t::RadioBox, 10, 100, 80, 24, caption(radio_box_property::Caption, "two")),
      MakeUnit(kRadio3, t::RadioBox, 10, 130, 80, 24, caption(radio_box_property::Caption, "three")),
      MakeUnit(kLabel, t::Label, 220, 10, 80, 24, caption(label_property::Caption, "label")),
      MakeUnit(kButton, t::Button, 220, 40, 80, 24, caption(button_property::Caption, "go")),
  };
  for (const Binding& binding : bindings) {
    for (UnitRecord& unit : form.units) {
      if (unit.id == binding.unit) unit.events.push_back({binding.event, Offset(binding.procedure)});
    }
  }
  TemplateBlock block;
  block.windows.push_back({kWindow, form});
  return block;
}

void Install(const runtime::TemplateBlock& block) {
  std::vector<std::uint8_t> bytes = runtime::WriteTemplateBlock(block);
  runtime::WindowEntries windows = runtime::DeserialiseTemplates(bytes);
  runtime::RelocateHandlers(windows, kProcedures);
  runtime::InstallTemplates(std::move(windows));
}

runtime::UnitSlot& Slot(std::uint32_t unit, std::uint32_t window) {
  runtime::WindowEntry* entry = runtime::FindWindow(window);
  EXPECT_NE(entry, nullptr);
  runtime::UnitSlot* slot = entry->FindUnit(unit);
  EXPECT_NE(slot, nullptr);
  return *slot;
}

QWidget* Widget(std::uint32_t unit, std::uint32_t window) {
  runtime::UnitSlot& slot = Slot(unit, window);
  return slot.live ? slot.live->Widget() : nullptr;
}

void Pump() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

void Type(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(widget, static_cast<char>(c.unicode()));
      continue;
    }
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

std::string ReadText(std::uint32_t unit, std::int32_t property) {
  auto* text = reinterpret_cast<char*>(static_cast<std::uintptr_t>(runtime::ReadProperty(kWindow, unit, property, -1)));
  std::string value = text ? text : "";
  runtime::FreeBlock(text);
  return value;
}

void WriteText(std::uint32_t unit, std::int32_t property, const char* text) {
  auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(text));
  runtime::WriteProperty(kWindow, unit, property, -1, static_cast<std::uint32_t>(bits),
                         static_cast<std::uint32_t>(bits >> 32));
}

std::int32_t ReadNumber(std::uint32_t unit, std::int32_t property) {
  return static_cast<std::int32_t>(runtime::ReadProperty(kWindow, unit, property, -1));
}

void WriteNumber(std::uint32_t unit, std::int32_t property, std::int32_t value) {
  runtime::WriteProperty(kWindow, unit, property, -1, static_cast<std::uint32_t>(value), 0);
}

std::string ErrorBox(const std::string& messageUtf8) {
  return "错误\n运行时出错!\r\n\r\n错误信息：" + messageUtf8 + "\r\n\n";
}

void WindowTest::SetUp() {
  Calls().clear();
  for (Behaviour& behaviour : behaviours) behaviour = nullptr;
  ui::ResetQuit();
}

void WindowTest::TearDown() {
  runtime::InstallTemplates({});  // destroys what is still live
  Pump();
  ui::ResetQuit();
  for (Behaviour& behaviour : behaviours) behaviour = nullptr;
}

}  // namespace testprogram
