#pragma once

#include <QString>
#include <filesystem>
#include <functional>

namespace tolvex {

// A deep walk of a folder: every item below it, each folder before its contents, in the order
// the file system lists them. Hidden items are walked like any other.
//
// Symbolic links are never followed: a link is met as an item of its own and a link to a folder
// is not entered, so a walk can neither leave the tree nor loop. A `folder` that is itself a
// link, is missing or is not a folder is not walked at all.
//
// A folder that cannot be listed is logged as "ERROR ENUMERATING FOLDER> <path>, <reason>";
// the walk then stops (Stop) or goes on without that folder's contents (SkipFolder).
class FolderWalk {
public:
    enum class OnError { Stop, SkipFolder };
    using Visitor = std::function<void(const std::filesystem::directory_entry& item)>;

    static void walk(const QString& folder, OnError onError, const Visitor& visit);

    // True for a folder met by the walk (a link to a folder is not one).
    static bool isFolder(const std::filesystem::directory_entry& item);
    // True for a `folder` that walk() enters.
    static bool isWalkable(const QString& folder);
};

} // namespace tolvex
