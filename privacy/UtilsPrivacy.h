#pragma once

#include "privacy/PrivInfoDic.h"

#include <QList>
#include <QString>
#include <functional>

namespace tolvex::Utils {

inline const QString kBrowserNotInstalledText = QStringLiteral("Not Installed");

// Scans the six browsers synchronously on the calling thread and calls `block` once, before
// returning, with one record per browser: installed ones first, each group in scan order.
void getPrivacyScanInfoArrBlock(const std::function<void(const QList<PrivInfoDic>&)>& block);

bool checkIfAppWithNameInstalled(const QString& name, const QString& appBndlID);
// Whether an application with this bundle identifier runs; the name is not used.
bool checkIfAppWithBundleID(const QString& bundleID, const QString& name);

QList<PrivFileDic> getSafariPrivacyInfo();
QList<PrivFileDic> getChromePrivacyInfo();
QList<PrivFileDic> getFirefoxPrivacyInfo();
QList<PrivFileDic> getOperaPrivacyInfo();
QList<PrivFileDic> getVivaldiPrivacyInfo();
QList<PrivFileDic> getBravePrivacyInfo();

CookiesDic safariCookiesDic();
CookiesDic chromeCookiesDic();
CookiesDic firefoxCookiesDic();
CookiesDic operaCookiesDic();
CookiesDic vivaldiCookiesDic();
CookiesDic braveCookiesDic();

} // namespace tolvex::Utils
