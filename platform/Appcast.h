#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QVersionNumber>
#include <optional>

namespace tolvex {

// One release announced by an appcast feed: an RSS item whose enclosure carries the version.
struct AppcastRelease {
    QVersionNumber version;
    QString displayVersion;
    QUrl download;
};

// Reads an appcast feed: RSS 2.0 whose items carry their version in the enclosure's
// `sparkle:shortVersionString` or `sparkle:version` attribute (or the item's elements of those
// names).
class Appcast {
public:
    // The highest version the feed announces; nothing when the feed is not well-formed XML or
    // announces no readable version.
    static std::optional<AppcastRelease> newestRelease(const QByteArray& feed);
};

} // namespace tolvex
