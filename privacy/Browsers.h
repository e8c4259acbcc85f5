#pragma once

#include <QString>

namespace tolvex {

// A browser the privacy scan knows: its name (the results screen picks its image by it), the
// bundle identifier that finds it installed and running, and the names its sandboxed builds go
// by, which name their data folders (empty where there is no such build).
struct Browser {
    QString name;
    QString bundleID;
    QString snap{};
    QString flatpak{};
};

inline const Browser kSafari{QStringLiteral("Safari"), QStringLiteral("com.apple.Safari")};
inline const Browser kGoogleChrome{QStringLiteral("Google Chrome"),
                                   QStringLiteral("com.google.Chrome"),
                                   {},
                                   QStringLiteral("com.google.Chrome")};
inline const Browser kFirefox{QStringLiteral("Firefox"), QStringLiteral("org.mozilla.firefox"),
                              QStringLiteral("firefox"), QStringLiteral("org.mozilla.firefox")};
inline const Browser kOpera{QStringLiteral("Opera"), QStringLiteral("com.operasoftware.Opera"),
                            QStringLiteral("opera"), QStringLiteral("com.opera.Opera")};
inline const Browser kVivaldi{QStringLiteral("Vivaldi"), QStringLiteral("com.vivaldi.Vivaldi"),
                              QStringLiteral("vivaldi"), QStringLiteral("com.vivaldi.Vivaldi")};
inline const Browser kBraveBrowser{QStringLiteral("Brave Browser"),
                                   QStringLiteral("com.brave.Browser"), QStringLiteral("brave"),
                                   QStringLiteral("com.brave.Browser")};

} // namespace tolvex
