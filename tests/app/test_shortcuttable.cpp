#include "KeyCodes.h"
#include "app/MacKeyCode.h"
#include "app/ShortcutTable.h"

#include <QTest>

using namespace tolvex;
using namespace tolvex::testing;

enum class Layout { Qwerty, Azerty, Dvorak };
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

    // The physical key that types the letter on each layout; Ctrl stands for Command. The window
    // tests press the keys the QWERTY rows would repeat, and Ctrl+A on AZERTY.
    void keysFollowTheLayout_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<quint32>("key");
        QTest::addColumn<ShortcutAction>("action");
        using A = ShortcutAction;
        using L = Layout;
        const Qt::KeyboardModifiers none, ctrl = Qt::ControlModifier;
        // Modifiers beyond those a row needs are not looked at: Ctrl+Shift+Alt+Q is Ctrl+Q.
        const Qt::KeyboardModifiers extra = ctrl | Qt::ShiftModifier | Qt::AltModifier;
        const auto row = [](const char* name, L layout, Qt::KeyboardModifiers modifiers,
                            quint32 key, A action) {
            QTest::newRow(name) << layout << modifiers << key << action;
        };
        row("qwerty Q quits", L::Qwerty, ctrl, Key::Q, A::Quit);
        row("extra modifiers are ignored", L::Qwerty, extra, Key::Q, A::Quit);
        row("without Ctrl nothing", L::Qwerty, none, Key::Q, A::None);
        row("azerty Q position does nothing", L::Azerty, ctrl, Key::Q, A::None);
        row("dvorak Q (the X key) quits", L::Dvorak, ctrl, Key::X, A::Quit);
        row("azerty W (the Z key) closes", L::Azerty, ctrl, Key::Z, A::CloseWindow);
        row("dvorak W (the comma key) closes", L::Dvorak, extra, Key::Comma, A::CloseWindow);
        row("azerty M (the ; key) minimises", L::Azerty, ctrl, Key::Semicolon, A::Minimise);
        row("dvorak M minimises", L::Dvorak, ctrl, Key::M, A::Minimise);
        row("azerty comma (the M key): preferences", L::Azerty, ctrl, Key::M, A::Preferences);
        row("dvorak comma (the W key): preferences", L::Dvorak, ctrl, Key::W, A::Preferences);
        row("azerty H hides", L::Azerty, ctrl, Key::H, A::Hide);
        row("dvorak H (the J key) hides", L::Dvorak, ctrl, Key::J, A::Hide);
        row("Return shreds", L::Azerty, none, Key::Return, A::ShredEverything);
        row("Ctrl+Return shreds", L::Qwerty, ctrl, Key::Return, A::ShredEverything);
        row("Ctrl+Up switches", L::Qwerty, ctrl, Key::Up, A::SwitchLayout);
        row("Up alone does nothing", L::Qwerty, none, Key::Up, A::None);
        row("Ctrl+Delete does nothing", L::Qwerty, ctrl, Key::Backspace, A::None);
        row("Ctrl+S does nothing", L::Qwerty, ctrl, Key::S, A::None);
    }

    void keysFollowTheLayout()
    {
        QFETCH(Layout, layout);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(quint32, key);
        const KeyboardLayoutTests tests{[layout] { return layout == Layout::Dvorak; },
                                        [layout] { return layout == Layout::Azerty; }};
        const int macKeyCode = MacKeyCode::fromNativeScanCode(Key::scanCode(key)).value();
        QTEST(ShortcutTable::actionFor(modifiers, macKeyCode, tests), "action");
    }
};

QTEST_GUILESS_MAIN(TestShortcutTable)
#include "test_shortcuttable.moc"
