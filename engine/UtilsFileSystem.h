#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class QMimeData;
#include <filesystem>
#include <optional>

// File-system helpers. Each runs on the caller's thread, keeps no state and may be called from
// any thread (revealMultiFilesInFinder from the GUI thread only).
//
// Sizes and counts treat a symbolic link as an item of its own, never following it: the
// shredding helper removes a link without touching its target, so that is what a link costs.
// A listed link to a folder is therefore one file of the link's own size, and the deep walks
// (FolderWalk) do not enter linked folders.
namespace tolvex::Utils {

// True when something exists at `path` and is a folder, symbolic links followed.
bool isThisAFolderHere(const QString& path);

// True when the item itself is there; a link counts as the link, whatever it points at.
bool itemExistsAtPath(const QString& path);

// The bytes an item takes on disk: its allocated size, else its length (a file whose blocks
// are all holes), 0 when it cannot be read. Links are measured themselves.
quint64 fileSizeAtPath(const QString& path);
quint64 fileSizeAtPath(const std::filesystem::path& path);

// The sum of the sizes of every non-folder item below `folder`, and their number. Both stop at
// the first folder that cannot be listed (see FolderWalk); 0 for a missing path or a link.
quint64 folderSize(const QString& folder);
quint64 folderFilesCount(const QString& folder);

// For each path: its contents when it is a folder, plus its own size in every case.
quint64 multipleItemsSize(const QStringList& paths);

// For each path: the files inside it when it is a folder, else 1 (a missing path too).
quint64 totalFilesToShredCount(const QStringList& paths);

QString getHumanReadableSizeFrom(qint64 bytes);

// Two or more paths: multipleItemsSize; one: its contents when a folder, else its own size;
// none: "n/a". As readable text.
QString getTheSizeOfItemsInArr(const QStringList& paths);

// The direct children of a folder as paths under the folder's resolved path, in the file
// system's order; std::nullopt when the folder cannot be listed or has no such child. A child
// that is a symbolic link is named as the link itself, never by its target: what is listed here
// may be shredded, and the target may lie anywhere.
std::optional<QStringList> childrenForParentFolderAtPathOneLevel(const QString& folder);
std::optional<QStringList>
childrenForParentFolderAtPathOneLevelWithHiddenFiles(const QString& folder);
// The same for a file URL, taken as given (links in it are not resolved).
std::optional<QStringList> childrenForParentFolderAtURLOneLevelWithHiddenFiles(const QUrl& folder);

// The path a file URL names on this machine, its percent-encoded bytes taken as the bytes they
// stand for, so that a name that is not text survives (toLocalFile would replace its bytes, and
// a replaced name can be another file's). Nothing for another scheme or another host.
std::optional<QString> pathOfFileURL(const QUrl& url);
// The file URL of `path`, byte for byte.
QUrl fileURLWithPath(const QString& path);
// The item a file dialog names `shownPath`: Qt shows each name whose bytes are not text with
// replacement characters, so each such component is matched against its folder's listing as Qt
// would show it. Nothing when no item, or more than one, is shown that way.
std::optional<QString> pathShownAs(const QString& shownPath);

// The paths a drag's URL list names, cleaned, without those IncomingPath refuses: nothing when
// the drag offers no URL list or one of its URLs names no file here, so that it counts as a drag
// without file names.
std::optional<QStringList> fileNamesOfPasteboard(const QMimeData& pasteboard);

// Every item below `folder`, relative to it, in FolderWalk's order (all levels, despite the name).
QStringList subfoldersForParentFolderAtPathOneLevel(const QString& folder);

// The real home folder (HomeFolder); the argument plays no part.
std::optional<QString> checkAndReturnHomeFolderPath(const QString& path);
// The real home folder with `component` appended.
std::optional<QString> nonSandboxPathFor(const QString& component);

// Desktop, Documents, Movies, Music, Pictures and Downloads, in that order. `asSystemReports`:
// the XDG user folders (Documents always under the real home); otherwise the last component of
// each appended to the real home folder (empty when there is no real home folder).
QStringList defFileMoveDestPaths(bool asSystemReports);

QString getDesktopFolderPath();
std::optional<QString> getDocumentsFodlerPath();
QString getMoviesFolderPath();
QString getMusicFolderPath();
QString getPicturesFolderPath();
QString getDownloadsFolderPath();
// Where installed programs live: "/usr".
QString getApplicationsFolderPath();

// True for the folder "Library" in the real home folder and anything below it, judged on the
// path text alone.
bool checkIfFileIsFromLibraryFolder(const QString& path);
bool isFolderFromLibraryFolder(const QString& path);

// True when the item exists and its name starts with a dot.
bool isFileOrFolderInVisible(const QString& path);

bool isFileOrFolderReadable(const QString& path);
bool isFileOrFolderWritable(const QString& path);

// Selects the items in the file manager (FileManager::showItems).
void revealMultiFilesInFinder(const QStringList& paths);

QStringList getFileNamesFromArrOfPaths(const QStringList& paths);

// Sorted copies in the order a file manager shows names (case-insensitive, numbers by value).
QStringList sortArrayInAlphabeticalOrder(const QStringList& strings);
QStringList sortStringsInAlphabeticalOrder(const QStringList& strings);

} // namespace tolvex::Utils
