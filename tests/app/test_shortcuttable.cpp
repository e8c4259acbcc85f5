#include "KeyCodes.h"
#include "app/MacKeyCode.h"
#include "app/ShortcutTable.h"

#include <QTest>

using namespace tolvex;

namespace {

using namespace tolvex::testing;

constexpr quint32 kQ = Key::scanCode(Key::Q), kW = Key::scanCode(Key::W),
                  kA = Key::scanCode(Key::A), kS = Key::scanCode(Key::S),
                  kH = Key::scanCode(Key::H), kJ = Key::scanCode(Key::J),
                  kSemicolon = Key::scanCode(Key::Semicolon), kZ = Key::scanCode(Key::Z),
                  kX = Key::scanCode(Key::X), kM = Key::scanCode(Key::M),
                  kComma = Key::scanCode(Key::Comma), kReturn = Key::scanCode(Key::Return),
                  kBackspace = Key::scanCode(Key::Backspace), kUp = Key::scanCode(Key::Up),
                  kDown = Key::scanCode(Key::Down);

enum class Layout { Qwerty, Azerty, Dvorak };

ShortcutAction press(Layout layout, Qt::KeyboardModifiers modifiers, quint32 scanCode)
{
    const KeyboardLayoutTests tests{[layout] { return layout == Layout::Dvorak; },
                                    [layout] { return layout == Layout::Azerty; }};
    return ShortcutTable::actionFor(modifiers, MacKeyCode::fromNativeScanCode(scanCode).value(),
                                    tests);
}

} // namespace

Q_DECLARE_METATYPE(Layout)
Q_DECLARE_METATYPE(ShortcutAction)

class TestShortcutTable : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A synthesised event carries no scan code; an unknown key maps to nothing.
    void keysWithoutAPositionMapToNothing()
    {
        QCOMPARE(MacKeyCode::fromNativeScanCode(0), std::nullopt);
        QCOMPARE(MacKeyCode::fromNativeScanCode(Key::scanCode(240)), std::nullopt);
    }

    // The physical key that types the letter on each layout, with Ctrl held.
    void lettersFollowTheLayout_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<quint32>("key");
        QTest::addColumn<ShortcutAction>("action");
        const auto row = [](const char* name, Layout l, quint32 key, ShortcutAction a) {
            QTest::newRow(name) << l << key << a;
        };
        row("qwerty Q quits", Layout::Qwerty, kQ, ShortcutAction::Quit);
        row("azerty Q (the A key) quits", Layout::Azerty, kA, ShortcutAction::Quit);
        row("azerty Q position does nothing", Layout::Azerty, kQ, ShortcutAction::None);
        row("dvorak Q (the X key) quits", Layout::Dvorak, kX, ShortcutAction::Quit);
        row("qwerty W closes", Layout::Qwerty, kW, ShortcutAction::CloseWindow);
        row("azerty W (the Z key) closes", Layout::Azerty, kZ, ShortcutAction::CloseWindow);
        row("dvorak W (the comma key) closes", Layout::Dvorak, kComma, ShortcutAction::CloseWindow);
        row("qwerty M minimises", Layout::Qwerty, kM, ShortcutAction::Minimise);
        row("azerty M (the ; key) minimises", Layout::Azerty, kSemicolon, ShortcutAction::Minimise);
        row("dvorak M minimises", Layout::Dvorak, kM, ShortcutAction::Minimise);
        row("qwerty comma opens preferences", Layout::Qwerty, kComma, ShortcutAction::Preferences);
        row("azerty comma (the M key) opens preferences", Layout::Azerty, kM,
            ShortcutAction::Preferences);
        row("dvorak comma (the W key) opens preferences", Layout::Dvorak, kW,
            ShortcutAction::Preferences);
        row("qwerty H hides", Layout::Qwerty, kH, ShortcutAction::Hide);
        row("azerty H hides", Layout::Azerty, kH, ShortcutAction::Hide);
        row("dvorak H (the J key) hides", Layout::Dvorak, kJ, ShortcutAction::Hide);
    }

    void lettersFollowTheLayout()
    {
        QFETCH(Layout, layout);
        QFETCH(quint32, key);
        QFETCH(ShortcutAction, action);
        QCOMPARE(press(layout, Qt::ControlModifier, key), action);
        // Other modifiers are not looked at: Ctrl+Shift+Q is Ctrl+Q.
        QCOMPARE(press(layout, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier, key),
                 action);
        QCOMPARE(press(layout, Qt::NoModifier, key), ShortcutAction::None);
    }

    void returnShredsWithAnyModifiers()
    {
        for (Qt::KeyboardModifiers m :
             {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
              Qt::KeyboardModifiers(Qt::ControlModifier)})
            QCOMPARE(press(Layout::Azerty, m, kReturn), ShortcutAction::ShredEverything);
    }

    void arrowsSwitchTheLayoutAndShiftedKeysNeedShift()
    {
        QCOMPARE(press(Layout::Qwerty, Qt::ControlModifier, kUp), ShortcutAction::SwitchLayout);
        QCOMPARE(press(Layout::Dvorak, Qt::ControlModifier, kDown), ShortcutAction::SwitchLayout);
        QCOMPARE(press(Layout::Qwerty, Qt::NoModifier, kUp), ShortcutAction::None);
        QCOMPARE(press(Layout::Qwerty, Qt::ControlModifier, kBackspace), ShortcutAction::None);
        QCOMPARE(press(Layout::Qwerty, Qt::ControlModifier | Qt::ShiftModifier, kBackspace),
                 ShortcutAction::SecureEmptyTrash);
        QCOMPARE(press(Layout::Azerty, Qt::ControlModifier | Qt::ShiftModifier, kS),
                 ShortcutAction::PrivacyScan);
        QCOMPARE(press(Layout::Qwerty, Qt::ControlModifier, kS), ShortcutAction::None);
    }
};

QTEST_GUILESS_MAIN(TestShortcutTable)
#include "test_shortcuttable.moc"
