// Qt input events as unit events: mouse, wheel, keys, typed characters and focus.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "qt_text.h"
#include "unit.h"
#include "unit_widget.h"
#include "virtual_keys.h"

namespace runtime {
namespace {

namespace event_number {
constexpr std::int32_t LeftDown = -1, LeftUp = -2, LeftDoubleClick = -3, RightDown = -4, RightUp = -5,
                       MouseMove = -6, FocusIn = -7, FocusOut = -8, KeyDown = -9, KeyUp = -10, Character = -11,
                       Wheel = -12;
}

// Positions travel as the two unsigned 16-bit halves of a message's position word.
std::int32_t Half(int coordinate) { return static_cast<std::uint16_t>(coordinate); }

std::int32_t MouseEventNumber(const QMouseEvent& event) {
  const Qt::MouseButton button = event.button();
  switch (event.type()) {
    case QEvent::MouseMove: return event_number::MouseMove;
    case QEvent::MouseButtonPress:
      return button == Qt::LeftButton ? event_number::LeftDown : button == Qt::RightButton ? event_number::RightDown : 0;
    case QEvent::MouseButtonRelease:
      return button == Qt::LeftButton ? event_number::LeftUp : button == Qt::RightButton ? event_number::RightUp : 0;
    case QEvent::MouseButtonDblClick: return button == Qt::LeftButton ? event_number::LeftDoubleClick : 0;
    default: return 0;
  }
}

// The widget's handling, after which the event goes no further: a unit's event is not
// its parent's.
bool Finish(QEvent* event, const std::function<bool(QEvent*)>& base) {
  bool result = base(event);
  event->accept();
  return result;
}

bool Swallow(QEvent* event) {
  event->accept();
  return true;
}

bool Mouse(Unit& unit, QMouseEvent* event, const std::function<bool(QEvent*)>& base) {
  std::int32_t number = MouseEventNumber(*event);
  if (number == 0) return Finish(event, base);
  QPoint at = event->position().toPoint();
  if (unit.Raise(number, {Half(at.x()), Half(at.y()), KeyStateBits(event->modifiers())}).Swallows()) {
    return Swallow(event);
  }
  return Finish(event, base);
}

bool Wheel(Unit& unit, QWheelEvent* event, const std::function<bool(QEvent*)>& base) {
  // A sideways turn is not the wheel event (that one is the vertical wheel's alone).
  if (event->angleDelta().y() == 0) return Finish(event, base);
  std::int32_t notches = event->angleDelta().y() / 120;
  if (unit.Raise(event_number::Wheel, {notches, KeyStateBits(event->modifiers())}).Swallows()) return Swallow(event);
  return Finish(event, base);
}

// Each typed character is offered to the unit, which may keep it, replace it (a returned
// value) or drop it (the value 0). Null when every character was dropped.
std::optional<QString> TypedText(Unit& unit, const QString& text) {
  QString typed;
  for (QChar character : text) {
    EventOutcome outcome = unit.Raise(event_number::Character, {GbkCharacterCode(character)});
    if (!outcome.handled || !outcome.returnedValue) typed += character;
    else if (outcome.value != 0) typed += FromGbkCharacterCode(outcome.value);
  }
  if (typed.isEmpty()) return std::nullopt;
  return typed;
}

bool KeyPress(Unit& unit, QKeyEvent* event, const std::function<bool(QEvent*)>& base) {
  if (unit.Raise(event_number::KeyDown, {VirtualKeyCode(*event), KeyStateBits(event->modifiers())}).Swallows()) {
    return Swallow(event);
  }
  if (event->text().isEmpty()) return Finish(event, base);
  std::optional<QString> typed = TypedText(unit, event->text());
  if (!typed) return Swallow(event);
  if (*typed == event->text()) return Finish(event, base);
  QKeyEvent replaced(QEvent::KeyPress, event->key(), event->modifiers(), *typed, event->isAutoRepeat(),
                     static_cast<quint16>(event->count()));
  bool result = Finish(&replaced, base);
  event->accept();
  return result;
}

bool KeyRelease(Unit& unit, QKeyEvent* event, const std::function<bool(QEvent*)>& base) {
  if (unit.Raise(event_number::KeyUp, {VirtualKeyCode(*event), KeyStateBits(event->modifiers())}).Swallows()) {
    return Swallow(event);
  }
  return Finish(event, base);
}

}  // namespace

bool TranslateUnitEvent(Unit* unit, QEvent* event, const std::function<bool(QEvent*)>& base) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: return Mouse(*unit, static_cast<QMouseEvent*>(event), base);
    case QEvent::Wheel: return Wheel(*unit, static_cast<QWheelEvent*>(event), base);
    case QEvent::KeyPress: return KeyPress(*unit, static_cast<QKeyEvent*>(event), base);
    case QEvent::KeyRelease: return KeyRelease(*unit, static_cast<QKeyEvent*>(event), base);
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
      bool result = base(event);
      unit->Raise(event->type() == QEvent::FocusIn ? event_number::FocusIn : event_number::FocusOut);
      return result;
    }
    default: return base(event);
  }
}

}  // namespace runtime
