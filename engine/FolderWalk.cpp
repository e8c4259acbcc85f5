#include "FolderWalk.h"

#include "engine/EngineLog.h"
#include "platform/NativePath.h"

#include <vector>

namespace fs = std::filesystem;

namespace tolvex {

namespace {

void logEnumerationError(const fs::path& folder, const std::error_code& error)
{
    qCWarning(lcEngine).noquote() << QStringLiteral("ERROR ENUMERATING FOLDER> %1, %2")
                                         .arg(fromNativePath(folder),
                                              QString::fromStdString(error.message()));
}

} // namespace

bool FolderWalk::isFolder(const fs::directory_entry& item)
{
    // Both answers come from the listing itself where the file system tells the type, so a
    // folder whose path is too long to look up is still entered, and reported when it fails.
    std::error_code error;
    return !item.is_symlink(error) && item.is_directory(error);
}

bool FolderWalk::isWalkable(const QString& folder)
{
    std::error_code error;
    return fs::is_directory(fs::symlink_status(toNativePath(folder), error));
}

void FolderWalk::walk(const QString& folder, OnError onError, const Visitor& visit)
{
    if (!isWalkable(folder))
        return;
    const fs::path root = toNativePath(folder);
    std::error_code error;

    // One listing per folder on the way down from the root; the deepest is read first.
    struct Listing {
        fs::path folder;
        fs::directory_iterator next;
    };
    std::vector<Listing> listings;
    // Starts listing `path`; false when the walk must end.
    const auto enter = [&](const fs::path& path) {
        fs::directory_iterator next(path, error);
        if (error) {
            logEnumerationError(path, error);
            return onError == OnError::SkipFolder;
        }
        listings.push_back({path, std::move(next)});
        return true;
    };

    if (!enter(root))
        return;
    while (!listings.empty()) {
        Listing& listing = listings.back();
        if (listing.next == fs::directory_iterator()) {
            listings.pop_back();
            continue;
        }
        const fs::directory_entry item = *listing.next;
        listing.next.increment(error);
        if (error) {
            logEnumerationError(listing.folder, error);
            if (onError == OnError::Stop)
                return;
            listing.next = fs::directory_iterator();
        }
        visit(item);
        if (isFolder(item) && !enter(item.path()))
            return;
    }
}

} // namespace tolvex
