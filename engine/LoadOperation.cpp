#include "engine/LoadOperation.h"

#include "engine/SizeLoadDic.h"
#include "engine/UtilsFileSystem.h"
#include "platform/NotificationCenter.h"

#include <QFile>
#include <QVariant>
#include <filesystem>
#include <vector>

namespace tolvex {

LoadOperation::LoadOperation(const QStringList& paths, qint64 operIDint)
    : SizeOperation(operIDint), loadfPaths_(paths)
{
}

void LoadOperation::main()
{
    if (isCancelled()) {
        return;
    }
    const Measure measure = multipleItemsSize(loadfPaths_);
    const SizeLoadDic dic{measure.size, operIDint(), measure.scanTotalFilesCount};
    if (!isCancelled()) {
        NotificationCenter::defaultCenter().post(QString::fromLatin1(kSizeLoadDidFinish),
                                                 QVariant::fromValue(dic));
    }
}

LoadOperation::Measure LoadOperation::multipleItemsSize(const QStringList& paths)
{
    Measure total;
    for (const QString& path : paths) {
        if (Utils::isThisAFolderHere(path)) {
            const Measure contents = folderSize(path);
            total.size += contents.size;
            total.scanTotalFilesCount += contents.scanTotalFilesCount;
        } else {
            total.scanTotalFilesCount += 1;
        }
        total.size += Utils::fileSizeAtPath(path);
    }
    return total;
}

// Links are not followed into: a link is an item of its own. One that points at a folder is
// skipped like a folder, one that points elsewhere counts as a file of its own entry's size.
LoadOperation::Measure LoadOperation::folderSize(const QString& folder)
{
    namespace fs = std::filesystem;
    Measure measure;
    std::vector<fs::path> pending{fs::path(QFile::encodeName(folder).toStdString())};
    while (!pending.empty()) {
        const fs::path current = std::move(pending.back());
        pending.pop_back();
        std::error_code error;
        fs::directory_iterator it(current, error);
        for (; !error && it != fs::directory_iterator(); it.increment(error)) {
            const QString path = QFile::decodeName(it->path().c_str());
            std::error_code typeError;
            if (it->is_directory(typeError) && !it->is_symlink(typeError)) {
                pending.push_back(it->path());
            }
            if (Utils::isThisAFolderHere(path)) {
                continue;
            }
            measure.scanTotalFilesCount += 1;
            measure.size += Utils::fileSizeAtPath(path);
        }
        if (error) {
            qWarning("ERROR ENUMERATING FOLDER> %s, %s", current.c_str(),
                     error.message().c_str());
        }
    }
    return measure;
}

} // namespace tolvex
