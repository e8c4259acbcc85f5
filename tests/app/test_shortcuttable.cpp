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

    // The physical key that types the letter on each layout; Ctrl stands for Command.
    void keysFollowTheLayout_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<quint32>("key");
        QTest::addColumn<ShortcutAction>("action");
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
        const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        // Modifiers beyond those a row needs are not looked at: Ctrl+Shift+Alt+Q is Ctrl+Q.
        const Qt::KeyboardModifiers extra = ctrlShift | Qt::AltModifier;
        const struct {
            const char* name;
            Layout layout;
            Qt::KeyboardModifiers modifiers;
            quint32 key;
            ShortcutAction action;
        } rows[] = {
            {"qwerty Q quits", Layout::Qwerty, ctrl, Key::Q, ShortcutAction::Quit},
            {"extra modifiers are ignored", Layout::Qwerty, extra, Key::Q, ShortcutAction::Quit},
            {"without Ctrl nothing", Layout::Qwerty, {}, Key::Q, ShortcutAction::None},
            {"azerty Q (the A key) quits", Layout::Azerty, ctrl, Key::A, ShortcutAction::Quit},
            {"azerty Q position does nothing", Layout::Azerty, ctrl, Key::Q, ShortcutAction::None},
            {"dvorak Q (the X key) quits", Layout::Dvorak, ctrl, Key::X, ShortcutAction::Quit},
            {"qwerty W closes", Layout::Qwerty, ctrl, Key::W, ShortcutAction::CloseWindow},
            {"azerty W (the Z key) closes", Layout::Azerty, ctrl, Key::Z,
             ShortcutAction::CloseWindow},
            {"dvorak W (the comma key) closes", Layout::Dvorak, extra, Key::Comma,
             ShortcutAction::CloseWindow},
            {"qwerty M minimises", Layout::Qwerty, ctrl, Key::M, ShortcutAction::Minimise},
            {"azerty M (the ; key) minimises", Layout::Azerty, ctrl, Key::Semicolon,
             ShortcutAction::Minimise},
            {"dvorak M minimises", Layout::Dvorak, ctrl, Key::M, ShortcutAction::Minimise},
            {"qwerty comma: preferences", Layout::Qwerty, ctrl, Key::Comma,
             ShortcutAction::Preferences},
            {"azerty comma (the M key): preferences", Layout::Azerty, ctrl, Key::M,
             ShortcutAction::Preferences},
            {"dvorak comma (the W key): preferences", Layout::Dvorak, ctrl, Key::W,
             ShortcutAction::Preferences},
            {"qwerty H hides", Layout::Qwerty, ctrl, Key::H, ShortcutAction::Hide},
            {"azerty H hides", Layout::Azerty, ctrl, Key::H, ShortcutAction::Hide},
            {"dvorak H (the J key) hides", Layout::Dvorak, ctrl, Key::J, ShortcutAction::Hide},
            {"Return shreds", Layout::Azerty, {}, Key::Return, ShortcutAction::ShredEverything},
            {"Shift+Return shreds", Layout::Qwerty, Qt::ShiftModifier, Key::Return,
             ShortcutAction::ShredEverything},
            {"Ctrl+Return shreds", Layout::Qwerty, ctrl, Key::Return,
             ShortcutAction::ShredEverything},
            {"Ctrl+Up switches", Layout::Qwerty, ctrl, Key::Up, ShortcutAction::SwitchLayout},
            {"Ctrl+Down switches", Layout::Dvorak, ctrl, Key::Down, ShortcutAction::SwitchLayout},
            {"Up alone does nothing", Layout::Qwerty, {}, Key::Up, ShortcutAction::None},
            {"Ctrl+Delete does nothing", Layout::Qwerty, ctrl, Key::Backspace,
             ShortcutAction::None},
            {"Ctrl+Shift+Delete empties the Trash", Layout::Qwerty, ctrlShift, Key::Backspace,
             ShortcutAction::SecureEmptyTrash},
            {"Ctrl+Shift+S scans", Layout::Azerty, ctrlShift, Key::S, ShortcutAction::PrivacyScan},
            {"Ctrl+S does nothing", Layout::Qwerty, ctrl, Key::S, ShortcutAction::None},
        };
        for (const auto& row : rows)
            QTest::newRow(row.name) << row.layout << row.modifiers << row.key << row.action;
    }

    void keysFollowTheLayout()
    {
        QFETCH(Layout, layout);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(quint32, key);
        QFETCH(ShortcutAction, action);
        const KeyboardLayoutTests tests{[layout] { return layout == Layout::Dvorak; },
                                        [layout] { return layout == Layout::Azerty; }};
        const int macKeyCode = MacKeyCode::fromNativeScanCode(Key::scanCode(key)).value();
        QCOMPARE(ShortcutTable::actionFor(modifiers, macKeyCode, tests), action);
    }
};

QTEST_GUILESS_MAIN(TestShortcutTable)
#include "test_shortcuttable.moc"
