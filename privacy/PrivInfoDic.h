#pragma once

#include "privacy/HTTPCookieStorage.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <variant>

namespace tolvex {

// One store of one browser: a database, file or folder that a clean-up empties.
struct PrivFileDic {
    QString kBrowserFileName;
    QString kBrowserFilePath;
    quint64 kBrowserFilesCount = 0;
    QStringList kBrowserFilesToRemove;
    std::optional<quint64> kBrowserFilesSize;
};

// A browser's cookies: the path of its main cookie database, or a cookie store object for a
// browser that keeps its cookies behind an interface rather than in files.
struct CookiesDic {
    std::variant<QString, std::shared_ptr<HTTPCookieStorage>> CookieStorage;
    quint64 CookieStorageCount = 0;
    std::optional<QStringList> kBrowserFilesToRemove;
};

// One browser of a privacy scan. A browser that is not installed has only its name and
// kBrowserNotInstalled; every other field keeps its empty value.
struct PrivInfoDic {
    QString kBrowserName;
    std::optional<QString> kBrowserNotInstalled;
    std::optional<QString> kBrowserBndlID;
    std::optional<QString> kBrowserInstallPath;
    QList<PrivFileDic> kBrowserPrivData;
    std::optional<CookiesDic> CookieStorage;
    quint64 kBrowserPrivacyItemsCount = 0;
    quint64 kBrowserPrivacyInFilesCount = 0;
    QString kBrowserPrivacyFilesTotalSize;
};

} // namespace tolvex
