#include "UtilsFileSystem.h"

#include "engine/FolderWalk.h"
#include "engine/PathComponents.h"
#include "platform/ByteCountFormatter.h"
#include "platform/FileManager.h"
#include "platform/HomeFolder.h"
#include "platform/IncomingPath.h"
#include "platform/NativePath.h"

#include <QCollator>
#include <QFile>
#include <QMimeData>
#include <QStandardPaths>
#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tolvex::Utils {

namespace {

// st_blocks counts 512-byte units whatever the file system's block size.
constexpr quint64 kStatBlockSize = 512;

const QString kNoSize = QStringLiteral("n/a");
const QString kLibrary = QStringLiteral("Library");
const QString kDocuments = QStringLiteral("Documents");
const QString kApplicationsFolder = QStringLiteral("/usr");
const QString kLocalHost = QStringLiteral("localhost");
const QByteArray kFileScheme = QByteArrayLiteral("file://");
const QByteArray kPathSlash = QByteArrayLiteral("/");
constexpr QChar kReplacementCharacter(0xFFFD);

bool isHiddenName(const QString& name)
{
    return name.startsWith(QLatin1Char('.'));
}

QString firstStandardLocation(QStandardPaths::StandardLocation location)
{
    return QStandardPaths::standardLocations(location).value(0);
}

// The children of `folder` as `folder`/name, in the order the file system lists them; no
// link among them is resolved. Nothing when the folder cannot be listed or no child is kept.
std::optional<QStringList> listChildren(const fs::path& folder, bool withHidden)
{
    std::error_code error;
    QStringList children;
    for (fs::directory_iterator next(folder, error), end; !error && next != end;
         next.increment(error)) {
        if (withHidden || !isHiddenName(fromNativePath(next->path().filename())))
            children << fromNativePath(next->path());
    }
    if (error || children.isEmpty())
        return std::nullopt;
    return children;
}

std::optional<QStringList> listChildrenOfResolvedFolder(const QString& folder, bool withHidden)
{
    std::error_code error;
    const fs::path resolved = fs::canonical(toNativePath(folder), error);
    if (error)
        return std::nullopt;
    return listChildren(resolved, withHidden);
}

} // namespace

bool isThisAFolderHere(const QString& path)
{
    std::error_code error;
    return fs::is_directory(toNativePath(path), error);
}

bool itemExistsAtPath(const QString& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(toNativePath(path), error));
}

quint64 fileSizeAtPath(const fs::path& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return 0;
    const quint64 allocated = quint64(info.st_blocks) * kStatBlockSize;
    return allocated > 0 ? allocated : quint64(info.st_size);
}

quint64 fileSizeAtPath(const QString& path)
{
    return fileSizeAtPath(toNativePath(path));
}

quint64 folderSize(const QString& folder)
{
    quint64 bytes = 0;
    FolderWalk::walk(folder, FolderWalk::OnError::Stop, [&](const fs::directory_entry& item) {
        if (!FolderWalk::isFolder(item))
            bytes += fileSizeAtPath(item.path());
    });
    return bytes;
}

quint64 folderFilesCount(const QString& folder)
{
    quint64 files = 0;
    FolderWalk::walk(folder, FolderWalk::OnError::Stop, [&](const fs::directory_entry& item) {
        if (!FolderWalk::isFolder(item))
            ++files;
    });
    return files;
}

quint64 multipleItemsSize(const QStringList& paths)
{
    quint64 bytes = 0;
    for (const QString& path : paths) {
        if (FolderWalk::isWalkable(path))
            bytes += folderSize(path);
        bytes += fileSizeAtPath(path);
    }
    return bytes;
}

quint64 totalFilesToShredCount(const QStringList& paths)
{
    quint64 files = 0;
    for (const QString& path : paths)
        files += FolderWalk::isWalkable(path) ? folderFilesCount(path) : 1;
    return files;
}

QString getHumanReadableSizeFrom(qint64 bytes)
{
    return ByteCountFormatter::stringFromByteCount(bytes);
}

QString getTheSizeOfItemsInArr(const QStringList& paths)
{
    if (paths.isEmpty())
        return kNoSize;
    if (paths.size() > 1)
        return getHumanReadableSizeFrom(qint64(multipleItemsSize(paths)));
    const QString& path = paths.first();
    return getHumanReadableSizeFrom(
        qint64(FolderWalk::isWalkable(path) ? folderSize(path) : fileSizeAtPath(path)));
}

std::optional<QStringList> childrenForParentFolderAtPathOneLevel(const QString& folder)
{
    return listChildrenOfResolvedFolder(folder, false);
}

std::optional<QStringList>
childrenForParentFolderAtPathOneLevelWithHiddenFiles(const QString& folder)
{
    return listChildrenOfResolvedFolder(folder, true);
}

std::optional<QStringList> childrenForParentFolderAtURLOneLevelWithHiddenFiles(const QUrl& folder)
{
    const std::optional<QString> path = pathOfFileURL(folder);
    if (!path)
        return std::nullopt;
    return listChildren(toNativePath(*path), true);
}

std::optional<QString> pathOfFileURL(const QUrl& url)
{
    const QString host = url.host();
    if (!url.isLocalFile() || !(host.isEmpty() || host == kLocalHost))
        return std::nullopt;
    return decodeNativePath(
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

QUrl fileURLWithPath(const QString& path)
{
    return QUrl::fromEncoded(kFileScheme + encodeNativePath(path).toPercentEncoding(kPathSlash),
                             QUrl::StrictMode);
}

std::optional<QString> pathShownAs(const QString& shownPath)
{
    if (!shownPath.contains(kReplacementCharacter))
        return shownPath;
    QString path;
    for (const QString& shown : shownPath.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (!shown.contains(kReplacementCharacter)) {
            path += QLatin1Char('/') + shown;
            continue;
        }
        std::optional<QString> match;
        std::error_code error;
        const fs::path folder = path.isEmpty() ? fs::path("/") : toNativePath(path);
        for (fs::directory_iterator next(folder, error), end; !error && next != end;
             next.increment(error)) {
            const fs::path& name = next->path().filename();
            if (QFile::decodeName(name.c_str()) != shown)
                continue;
            if (match)
                return std::nullopt;
            match = fromNativePath(name);
        }
        if (!match)
            return std::nullopt;
        path += QLatin1Char('/') + *match;
    }
    return path;
}

std::optional<QStringList> fileNamesOfPasteboard(const QMimeData& pasteboard)
{
    if (!pasteboard.hasUrls())
        return std::nullopt;
    QStringList paths;
    for (const QUrl& url : pasteboard.urls()) {
        const std::optional<QString> path = pathOfFileURL(url);
        if (!path)
            return std::nullopt;
        paths << *path;
    }
    return IncomingPath::vettedPaths(paths);
}

QStringList subfoldersForParentFolderAtPathOneLevel(const QString& folder)
{
    const fs::path root = toNativePath(folder);
    QStringList relativePaths;
    FolderWalk::walk(folder, FolderWalk::OnError::Stop, [&](const fs::directory_entry& item) {
        relativePaths << fromNativePath(item.path().lexically_relative(root));
    });
    return relativePaths;
}

std::optional<QString> checkAndReturnHomeFolderPath(const QString&)
{
    return HomeFolder::realHomeFolder();
}

std::optional<QString> nonSandboxPathFor(const QString& component)
{
    const std::optional<QString> home = HomeFolder::realHomeFolder();
    if (!home)
        return std::nullopt;
    return appendingPathComponent(*home, component);
}

QStringList defFileMoveDestPaths(bool asSystemReports)
{
    QStringList systemFolders{getDesktopFolderPath()};
    if (const std::optional<QString> documents = getDocumentsFodlerPath())
        systemFolders << *documents;
    systemFolders << getMoviesFolderPath() << getMusicFolderPath() << getPicturesFolderPath()
                  << getDownloadsFolderPath();
    if (asSystemReports)
        return systemFolders;
    const std::optional<QString> home = HomeFolder::realHomeFolder();
    if (!home)
        return {};
    QStringList folders;
    for (const QString& folder : systemFolders)
        folders << appendingPathComponent(*home, lastPathComponent(folder));
    return folders;
}

QString getDesktopFolderPath()
{
    return firstStandardLocation(QStandardPaths::DesktopLocation);
}

std::optional<QString> getDocumentsFodlerPath()
{
    return nonSandboxPathFor(kDocuments);
}

QString getMoviesFolderPath()
{
    return firstStandardLocation(QStandardPaths::MoviesLocation);
}

QString getMusicFolderPath()
{
    return firstStandardLocation(QStandardPaths::MusicLocation);
}

QString getPicturesFolderPath()
{
    return firstStandardLocation(QStandardPaths::PicturesLocation);
}

QString getDownloadsFolderPath()
{
    return firstStandardLocation(QStandardPaths::DownloadLocation);
}

QString getApplicationsFolderPath()
{
    return kApplicationsFolder;
}

bool checkIfFileIsFromLibraryFolder(const QString& path)
{
    const std::optional<QString> library = nonSandboxPathFor(kLibrary);
    return library && (path == *library || path.startsWith(*library + QLatin1Char('/')));
}

bool isFolderFromLibraryFolder(const QString& path)
{
    return checkIfFileIsFromLibraryFolder(path) && isThisAFolderHere(path);
}

bool isFileOrFolderInVisible(const QString& path)
{
    // The name first: a drop asks this of every path, and most names are not hidden.
    struct stat info {};
    return isHiddenName(lastPathComponent(path)) && ::lstat(toNativePath(path).c_str(), &info) == 0;
}

bool isFileOrFolderReadable(const QString& path)
{
    return ::access(toNativePath(path).c_str(), R_OK) == 0;
}

bool isFileOrFolderWritable(const QString& path)
{
    return ::access(toNativePath(path).c_str(), W_OK) == 0;
}

void revealMultiFilesInFinder(const QStringList& paths)
{
    FileManager::showItems(paths);
}

QStringList getFileNamesFromArrOfPaths(const QStringList& paths)
{
    QStringList names;
    for (const QString& path : paths)
        names << lastPathComponent(path);
    return names;
}

QStringList sortArrayInAlphabeticalOrder(const QStringList& strings)
{
    // The C locale compares bare code points; names sort there as they do in English.
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    QStringList sorted = strings;
    std::sort(sorted.begin(), sorted.end(), collator);
    return sorted;
}

QStringList sortStringsInAlphabeticalOrder(const QStringList& strings)
{
    return sortArrayInAlphabeticalOrder(strings);
}

} // namespace tolvex::Utils
