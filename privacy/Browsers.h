#pragma once

#include <QString>

namespace tolvex {

// A browser the privacy scan knows: its name (the results screen picks its image by it) and
// the bundle identifier that finds it installed and running.
struct Browser {
    QString name;
    QString bundleID;
};

inline const Browser kSafari{QStringLiteral("Safari"), QStringLiteral("com.apple.Safari")};
inline const Browser kGoogleChrome{QStringLiteral("Google Chrome"),
                                   QStringLiteral("com.google.Chrome")};
inline const Browser kFirefox{QStringLiteral("Firefox"), QStringLiteral("org.mozilla.firefox")};
inline const Browser kOpera{QStringLiteral("Opera"), QStringLiteral("com.operasoftware.Opera")};
inline const Browser kVivaldi{QStringLiteral("Vivaldi"), QStringLiteral("com.vivaldi.Vivaldi")};
inline const Browser kBraveBrowser{QStringLiteral("Brave Browser"),
                                   QStringLiteral("com.brave.Browser")};

} // namespace tolvex
