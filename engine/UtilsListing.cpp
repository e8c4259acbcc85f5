#include "engine/UtilsListing.h"

#include <QFile>
#include <filesystem>

namespace tolvex::Utils {

std::optional<QStringList> childrenOneLevelKeepingLinks(const QString& folder,
                                                        bool withHiddenFiles)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator it(QFile::encodeName(folder).toStdString(), error);
    if (error) {
        return std::nullopt;
    }
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    QStringList children;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        const QString name = QFile::decodeName(it->path().filename().c_str());
        if (withHiddenFiles || !name.startsWith(u'.')) {
            children.append(prefix + name);
        }
    }
    if (error || children.isEmpty()) {
        return std::nullopt;
    }
    return children;
}

} // namespace tolvex::Utils
