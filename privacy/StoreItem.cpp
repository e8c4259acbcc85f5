#include "privacy/StoreItem.h"

#include "platform/HomeFolder.h"
#include "platform/NativePath.h"
#include "platform/XdgFolders.h"

#include <QDir>
#include <algorithm>

namespace tolvex {

namespace fs = std::filesystem;

namespace {

// Where browsers keep data in the home folder itself rather than in its XDG folders: Firefox's
// profiles, and the data of Snap and Flatpak builds.
const QStringList kHomeRoots{QStringLiteral(".mozilla"), QStringLiteral("snap"),
                             QStringLiteral(".var/app")};

// The deepest root that holds `path` strictly below it.
std::optional<QString> rootOf(const QString& path, const QStringList& roots)
{
    std::optional<QString> deepest;
    for (const QString& root : roots) {
        const QString folder = QDir::cleanPath(root);
        if (path.startsWith(folder + u'/') && (!deepest || folder.size() > deepest->size()))
            deepest = folder;
    }
    return deepest;
}

} // namespace

QStringList StoreItem::browserRoots()
{
    QStringList roots;
    for (const std::optional<QString>& root :
         {XdgFolders::dataHome(), XdgFolders::configHome(), XdgFolders::cacheHome()}) {
        if (root)
            roots << *root;
    }
    if (const std::optional<QString> home = HomeFolder::realHomeFolder()) {
        for (const QString& folder : kHomeRoots)
            roots << *home + u'/' + folder;
    }
    return roots;
}

std::optional<StoreItem> StoreItem::find(const QString& path, const QStringList& roots,
                                         std::error_code& error)
{
    const QString item = QDir::cleanPath(path);
    const std::optional<QString> root = rootOf(item, roots);
    if (!QDir::isAbsolutePath(path) || !root) {
        error = std::make_error_code(std::errc::operation_not_permitted);
        return std::nullopt;
    }
    std::optional<NoFollowFolder> folder = NoFollowFolder::open(toNativePath(*root), error);
    const QStringList names = item.mid(root->size() + 1).split(u'/');
    for (qsizetype i = 0; folder && i + 1 < names.size(); ++i)
        folder = folder->folder(toNativePath(names[i]).native(), error);
    if (!folder) {
        if (error == std::errc::no_such_file_or_directory)
            error.clear();
        return std::nullopt;
    }
    const std::string name = toNativePath(names.last()).native();
    if (!folder->hasChild(name))
        return std::nullopt;
    const QString reached = QDir(*root).canonicalPath() + u'/' + names.join(u'/');
    return StoreItem(std::move(*folder), name, reached);
}

} // namespace tolvex
