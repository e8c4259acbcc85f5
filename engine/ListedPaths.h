#pragma once

#include <QHash>
#include <QStringList>
#include <QStringView>
#include <array>
#include <optional>
#include <vector>

namespace tolvex {

// Every entry of the three shred lists, with how often each list holds it, so that a rule asks a
// few hashed lookups per path instead of walking the lists. A path's folders are found by
// cutting it at its slashes; only cuts as long as some entry are looked up.
class ListedPaths {
public:
    // Counts or forgets the entries of list position `list` (0, 1, 2 as in kListIds).
    void add(std::size_t list, const QStringList& paths);
    void remove(std::size_t list, const QStringList& paths);

    // How often list position `list` holds exactly `path`.
    qsizetype count(std::size_t list, QStringView path) const;
    // The position of the first list that holds exactly `path`.
    std::optional<std::size_t> firstListHolding(QStringView path) const;
    // Whether list position `list` holds some path more than once.
    bool hasRepeats(std::size_t list) const;

    // Whether an entry equals `folder` or is followed in it by "/".
    bool coversFolder(QStringView folder) const;
    // Whether `path` begins with an entry followed by "/", or with an entry that ends in "/"
    // (then `path` may be that entry itself): the entry is a folder that holds `path`.
    bool holdsFolderAround(QStringView path) const;

private:
    using Counts = std::array<qsizetype, 3>;

    const Counts* countsOf(QStringView path) const;
    bool isListed(QStringView path) const;

    QHash<QString, Counts> counts_;
    std::vector<qsizetype> pathsOfLength_;
    Counts repeated_{};
    qsizetype endingInSlash_ = 0;
};

} // namespace tolvex
