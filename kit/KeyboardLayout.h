#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tolvex {

// The keyboard layout in use, as the XKB configuration names it.
struct KeyboardInputSource {
    QString localizedName; // the layout's description, such as "French (AZERTY)"
    QString identifier;    // layout and variant, such as "fr(azerty)", or the layout alone: "us"
};

class KeyboardLayout {
public:
    // The active layout: on X11 the root window's XKB rules names and the active group, elsewhere
    // XKB_DEFAULT_LAYOUT and XKB_DEFAULT_VARIANT; the description comes from xkb-data. Nothing
    // when no layout is known.
    static std::optional<KeyboardInputSource> currentInputSource();

    // Makes currentInputSource() answer `source`; nullopt goes back to the real layout.
    static void setForTesting(std::optional<KeyboardInputSource> source);

    // The layout of `group` in comma-separated XKB layout and variant lists.
    static KeyboardInputSource inputSourceFromLists(const QString& layouts, const QString& variants,
                                                    int group, const QString& rulesListPath);
    // The same from the value of the _XKB_RULES_NAMES property: rules, model, layouts, variants
    // and options, each ended by a NUL.
    static KeyboardInputSource inputSourceFromRulesNames(const QByteArray& rulesNames, int group,
                                                         const QString& rulesListPath);
    // The description of a layout (and variant) in an xkb-data rules list such as evdev.lst.
    static QString descriptionFromRulesList(const QString& rulesListPath, const QString& layout,
                                            const QString& variant);
    static QString defaultRulesListPath();
};

} // namespace tolvex
