#include <QKeyEvent>
#include <QtTest>

#include "core/input/ShortcutKeys.h"
#include "gui/input/KeyMapping.h"

namespace zelvora {

class KeyMappingTest : public QObject {
  Q_OBJECT

 private:
  static std::optional<std::uint16_t> Key(int key, Qt::KeyboardModifiers modifiers = {}) {
    const QKeyEvent event(QEvent::KeyPress, key, modifiers);
    return VirtualKeyOf(event);
  }

 private slots:
  void KeysMapOntoTheKeyNameTable() {
    QCOMPARE(Key(Qt::Key_A), std::optional<std::uint16_t>(65));
    QCOMPARE(Key(Qt::Key_Z, Qt::ControlModifier), std::optional<std::uint16_t>(90));
    QCOMPARE(Key(Qt::Key_7), std::optional<std::uint16_t>(55));
    QCOMPARE(Key(Qt::Key_7, Qt::KeypadModifier), std::optional<std::uint16_t>(103));
    QCOMPARE(Key(Qt::Key_Plus, Qt::KeypadModifier), std::optional<std::uint16_t>(107));
    QCOMPARE(Key(Qt::Key_Slash, Qt::KeypadModifier), std::optional<std::uint16_t>(111));
    QCOMPARE(Key(Qt::Key_Slash), std::optional<std::uint16_t>(191));
    QCOMPARE(Key(Qt::Key_At), std::optional<std::uint16_t>(192));
    QCOMPARE(Key(Qt::Key_F1), std::optional<std::uint16_t>(112));
    QCOMPARE(Key(Qt::Key_F24), std::optional<std::uint16_t>(135));
    QCOMPARE(Key(Qt::Key_Left), std::optional<std::uint16_t>(37));
    QCOMPARE(Key(Qt::Key_Down), std::optional<std::uint16_t>(40));
    QCOMPARE(Key(Qt::Key_Backspace), std::optional<std::uint16_t>(kVirtualKeyBack));
    QCOMPARE(Key(Qt::Key_Delete), std::optional<std::uint16_t>(kVirtualKeyDelete));
  }

  void KeysOutsideTheTableCannotBeBound() {
    QVERIFY(!Key(Qt::Key_Return).has_value());
    QVERIFY(!Key(Qt::Key_Escape).has_value());
    QVERIFY(!Key(Qt::Key_Space).has_value());
    QVERIFY(!Key(Qt::Key_Home).has_value());
    QVERIFY(!Key(Qt::Key_Control, Qt::ControlModifier).has_value());
  }

  void ModifiersBecomeAcceleratorFlags() {
    const QKeyEvent all(QEvent::KeyPress, Qt::Key_F5,
                        Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    QCOMPARE(AcceleratorModifiersOf(all), std::uint16_t(kAccelControl | kAccelAlt | kAccelShift));
    const QKeyEvent keypad(QEvent::KeyPress, Qt::Key_1, Qt::KeypadModifier);
    QCOMPARE(AcceleratorModifiersOf(keypad), std::uint16_t(0));
    QCOMPARE(ParseShortcutKey("Ctrl+Alt+Shift+F5")->modifiers, AcceleratorModifiersOf(all));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::KeyMappingTest)
#include "KeyMappingTest.moc"
