#pragma once

#include <QColor>
#include <QHash>
#include <QString>
#include <QVariantMap>

class QWidget;

namespace tolvex {

class ProgressIndicator;

// System helpers: operating-system version tests, mail, percent escaping, keyboard layouts, a
// basic alert, the busy spinner, the busy test of a file, colours and Full Disk Access.
namespace Utils {

// This is not macOS: every version test answers NO.
bool XRRunningOnOSXHighSierraOrLater();
bool XRRunningOnOSXMojaveOrLater();
bool XRRunningOnOSXCatalinaOrLater();
bool XRRunningOnOSXBigSurOrLater();

// Opens a new message in the user's mail program through a mailto URL.
void sendEmailTo(const QString& recipient, const QString& withBody, const QString& andSubject);
// The escaped key=value pairs joined by "&", in the map's order.
QString urlQueryFromDictionary(const QVariantMap& dictionary);
// Leaves only ASCII letters, digits, "-", ".", "_" and "~"; everything else becomes %XX escapes
// of its UTF-8 bytes.
QString percentEscapedString(const QString& string);
// The eighteen special characters and their escapes.
const QHash<QChar, QString>& percentForSpecialChars();

bool checkIfKeyboardIsAzerty();
bool checkIfKeyboardIsDvorak();
// NO for an empty string or an empty child string.
bool checkIfString(const QString& string, const QString& containsChildStr,
                   Qt::CaseSensitivity withCompare);

// An informational alert with one "OK" button; returns once it is dismissed.
void showBasicAlertwithTitle(const QString& title, const QString& andInformText);
// Adds the spinner to `view`, starts it, and centres it horizontally, 20 points below the middle.
void showProgressIndic(ProgressIndicator* indicator, QWidget* inView);
// Whether any process holds the file open; NO when the item cannot be read.
bool pidsAccessingPath(const QString& path);
// A colour from hexadecimal RRGGBB (an optional 0x prefix, leading blanks skipped); black when
// no digits can be read.
QColor colorWithHexColorString(const QString& hexColorString);

// Full Disk Access does not exist here: it counts as granted, and asking for it does nothing.
bool shouldShowAlertAboutFullDiskAccess();
void askUserPermissionForFullDiskAccess();

} // namespace Utils
} // namespace tolvex
