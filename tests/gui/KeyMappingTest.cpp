#include <QKeyEvent>
#include <QtTest>

#include "core/input/ShortcutKeys.h"
#include "gui/input/KeyMapping.h"

namespace zelvora {

class KeyMappingTest : public QObject {
  Q_OBJECT

 private:
  static std::optional<std::uint16_t> Key(int key, Qt::KeyboardModifiers modifiers = {},
                                          quint32 scanCode = 0) {
    const QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0);
    return VirtualKeyOf(event);
  }
  static std::optional<std::uint16_t> Named(const char* text) {
    const auto key = ParseShortcutKey(text);
    return key ? std::optional(key->virtualKey) : std::nullopt;
  }

 private slots:
  // Keys that read alike in Qt but are bound apart, and keys Qt renames with Shift held.
  void KeysReadAsTheirBindingNamesThem() {
    QCOMPARE(Key(Qt::Key_7), Named("7"));
    QCOMPARE(Key(Qt::Key_7, Qt::KeypadModifier), Named("NUM 7"));
    QCOMPARE(Key(Qt::Key_Slash), Named("/"));
    QCOMPARE(Key(Qt::Key_Slash, Qt::KeypadModifier), Named("NUM /"));
    QCOMPARE(Key(Qt::Key_Backtab, Qt::ShiftModifier), Named("Tab"));
    QCOMPARE(Key(Qt::Key_Exclam, Qt::ShiftModifier | Qt::ControlModifier), Named("1"));
    QCOMPARE(Key(Qt::Key_Ampersand, {}, 10), Named("1"));
    QCOMPARE(Key(Qt::Key_Less, {}, 94), Named("VK_OEM_102"));
    QCOMPARE(Key(Qt::Key_Escape), Named("Escape"));
    QCOMPARE(Key(Qt::Key_PageDown, Qt::ControlModifier), Named("PageDown"));
    QCOMPARE(Key(Qt::Key_F24), Named("F24"));
    QVERIFY(!Key(Qt::Key_Control, Qt::ControlModifier).has_value());
    QVERIFY(!Key(Qt::Key_Print).has_value());
  }

  void ModifiersBecomeAcceleratorFlags() {
    const QKeyEvent all(QEvent::KeyPress, Qt::Key_F5,
                        Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    QCOMPARE(ParseShortcutKey("Ctrl+Alt+Shift+F5")->modifiers, AcceleratorModifiersOf(all));
    const QKeyEvent keypad(QEvent::KeyPress, Qt::Key_1, Qt::KeypadModifier);
    QCOMPARE(AcceleratorModifiersOf(keypad), std::uint16_t(0));
  }
};

}  // namespace zelvora

QTEST_MAIN(zelvora::KeyMappingTest)
#include "KeyMappingTest.moc"
