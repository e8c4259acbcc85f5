#pragma once

#include <QString>
#include <optional>

namespace tolvex {

// The keys of a freedesktop desktop entry file that locating applications needs: the
// unlocalised Name and Icon of its [Desktop Entry] group.
struct DesktopEntry {
    QString name;
    QString icon;

    // std::nullopt when the file cannot be read or has no [Desktop Entry] group.
    static std::optional<DesktopEntry> read(const QString& path);
};

} // namespace tolvex
