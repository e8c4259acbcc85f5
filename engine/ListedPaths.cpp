#include "engine/ListedPaths.h"

namespace tolvex {

namespace {

// Calls `cut` with the position of each "/" in `path`, first to last, until it answers true.
template <typename Cut> bool anySlash(QStringView path, Cut cut)
{
    for (qsizetype slash = path.indexOf(u'/'); slash >= 0; slash = path.indexOf(u'/', slash + 1)) {
        if (cut(slash)) {
            return true;
        }
    }
    return false;
}

} // namespace

void ListedPaths::add(std::size_t list, const QStringList& paths)
{
    counts_.reserve(counts_.size() + paths.size());
    for (const QString& path : paths) {
        auto found = counts_.find(path);
        if (found == counts_.end()) {
            found = counts_.insert(path, Counts{});
            if (pathsOfLength_.size() <= std::size_t(path.size())) {
                pathsOfLength_.resize(std::size_t(path.size()) + 1);
            }
            ++pathsOfLength_[std::size_t(path.size())];
            endingInSlash_ += path.endsWith(u'/');
        }
        if (++(*found)[list] == 2) {
            ++repeated_[list];
        }
    }
}

void ListedPaths::remove(std::size_t list, const QStringList& paths)
{
    for (const QString& path : paths) {
        const auto found = counts_.find(path);
        if (found == counts_.end() || (*found)[list] == 0) {
            continue;
        }
        if ((*found)[list]-- == 2) {
            --repeated_[list];
        }
        if (*found == Counts{}) {
            --pathsOfLength_[std::size_t(path.size())];
            endingInSlash_ -= path.endsWith(u'/');
            counts_.erase(found);
        }
    }
}

qsizetype ListedPaths::count(std::size_t list, QStringView path) const
{
    const Counts* counts = countsOf(path);
    return counts ? (*counts)[list] : 0;
}

std::optional<std::size_t> ListedPaths::firstListHolding(QStringView path) const
{
    const Counts* counts = countsOf(path);
    if (!counts) {
        return std::nullopt;
    }
    for (std::size_t list = 0; list < counts->size(); ++list) {
        if ((*counts)[list] > 0) {
            return list;
        }
    }
    return std::nullopt;
}

bool ListedPaths::hasRepeats(std::size_t list) const
{
    return repeated_[list] > 0;
}

bool ListedPaths::coversFolder(QStringView folder) const
{
    return isListed(folder) ||
           anySlash(folder, [&](qsizetype slash) { return isListed(folder.left(slash)); });
}

bool ListedPaths::holdsFolderAround(QStringView path) const
{
    return anySlash(path, [&](qsizetype slash) {
        const bool endsInSlash = slash > 0 && path[slash - 1] == u'/';
        return (!endsInSlash && isListed(path.left(slash))) ||
               (endingInSlash_ > 0 && isListed(path.left(slash + 1)));
    });
}

// The path is looked up in place, not copied: a raw-data string borrows its characters.
const ListedPaths::Counts* ListedPaths::countsOf(QStringView path) const
{
    const auto found = counts_.constFind(QString::fromRawData(path.constData(), path.size()));
    return found == counts_.cend() ? nullptr : &*found;
}

bool ListedPaths::isListed(QStringView path) const
{
    const auto length = std::size_t(path.size());
    return length < pathsOfLength_.size() && pathsOfLength_[length] > 0 && countsOf(path);
}

} // namespace tolvex
