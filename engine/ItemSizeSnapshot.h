#pragma once

#include <QStringList>
#include <unordered_map>

namespace tolvex {

// The items of a shred run as they were when the helper was launched: every path and, inside
// folders, everything below them, each with its size, folders marked as such. The helper
// renames and removes an item right after announcing it, so a message read a moment late would
// otherwise find nothing left to measure. Links are items of their own, never followed.
class ItemSizeSnapshot {
public:
    enum class Kind { Unknown, Folder, Item };
    struct Entry {
        Kind kind = Kind::Unknown;
        quint64 size = 0;
    };

    explicit ItemSizeSnapshot(const QStringList& paths);

    Entry entry(const QString& path) const;

private:
    static constexpr qint64 kFolder = -1;

    void add(const QString& path, qint64 size);

    // Keyed by a 64-bit hash of the path, so a run over a million files stays small.
    std::unordered_map<std::size_t, qint64> sizes_;
};

} // namespace tolvex
