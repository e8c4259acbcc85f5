#include "kit/UtilsSystem.h"

#include "kit/AlertPresenter.h"
#include "kit/KeyboardLayout.h"
#include "kit/KitLog.h"
#include "kit/ProgressIndicator.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <sys/stat.h>

namespace tolvex::Utils {

namespace {

// The characters a URL host may hold besides letters and digits; the first escaping step keeps
// them, and the special-character table then escapes them.
const QByteArray kHostAllowedSpecials = QByteArrayLiteral("!$&'()*+,-.:;=[]_~");

constexpr int kSpinnerRaise = 20;

bool isFrenchLayout(const QString& identifier)
{
    const QString layout = identifier.section(QLatin1Char('('), 0, 0);
    return layout.compare(QStringLiteral("fr"), Qt::CaseInsensitive) == 0;
}

int hexDigitValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether any process this user may inspect has the file open, from the descriptors in /proc.
bool isOpenByAnyProcess(const struct stat& item)
{
    const QDir proc(QStringLiteral("/proc"));
    const QStringList processes = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : processes) {
        bool numeric = false;
        pid.toLongLong(&numeric);
        if (!numeric)
            continue;
        const QDir descriptors(proc.filePath(pid + QStringLiteral("/fd")));
        const QStringList fds =
            descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& fd : fds) {
            struct stat open {};
            const QByteArray link = QFile::encodeName(descriptors.filePath(fd));
            if (::stat(link.constData(), &open) == 0 && sameFile(open, item))
                return true;
        }
    }
    return false;
}

} // namespace

bool XRRunningOnOSXHighSierraOrLater()
{
    return false;
}

bool XRRunningOnOSXMojaveOrLater()
{
    return false;
}

bool XRRunningOnOSXCatalinaOrLater()
{
    return false;
}

bool XRRunningOnOSXBigSurOrLater()
{
    return false;
}

void sendEmailTo(const QString& recipient, const QString& withBody, const QString& andSubject)
{
    const QString query = urlQueryFromDictionary({{QStringLiteral("body"), withBody}});
    QString mailto = QStringLiteral("mailto:%1?Subject=%2&%3").arg(recipient, andSubject, query);
    mailto.replace(QStringLiteral(" "), QStringLiteral("%20"));
    const QUrl url(mailto, QUrl::StrictMode);
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

QString urlQueryFromDictionary(const QVariantMap& dictionary)
{
    QString query;
    QString separator;
    for (auto it = dictionary.cbegin(); it != dictionary.cend(); ++it) {
        query += QStringLiteral("%1%2=%3").arg(separator, percentEscapedString(it.key()),
                                               percentEscapedString(it.value().toString()));
        separator = QStringLiteral("&");
    }
    return query;
}

QString percentEscapedString(const QString& string)
{
    QString escaped = QString::fromLatin1(QUrl::toPercentEncoding(string, kHostAllowedSpecials));
    const QHash<QChar, QString>& table = percentForSpecialChars();
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        escaped.replace(it.key(), it.value());
    return escaped;
}

const QHash<QChar, QString>& percentForSpecialChars()
{
    static const QHash<QChar, QString> table = {
        {u'!', QStringLiteral("%21")},  {u'#', QStringLiteral("%23")},
        {u'$', QStringLiteral("%24")},  {u'&', QStringLiteral("%26")},
        {u'\'', QStringLiteral("%27")}, {u'(', QStringLiteral("%28")},
        {u')', QStringLiteral("%29")},  {u'*', QStringLiteral("%2A")},
        {u'+', QStringLiteral("%2B")},  {u',', QStringLiteral("%2C")},
        {u'/', QStringLiteral("%2F")},  {u':', QStringLiteral("%3A")},
        {u';', QStringLiteral("%3B")},  {u'=', QStringLiteral("%3D")},
        {u'?', QStringLiteral("%3F")},  {u'@', QStringLiteral("%40")},
        {u'[', QStringLiteral("%5B")},  {u']', QStringLiteral("%5D")},
    };
    return table;
}

bool checkIfKeyboardIsAzerty()
{
    const std::optional<KeyboardInputSource> source = KeyboardLayout::currentInputSource();
    if (!source)
        return false;
    return checkIfString(source->localizedName, QStringLiteral("azerty"), Qt::CaseInsensitive) ||
           isFrenchLayout(source->identifier);
}

bool checkIfKeyboardIsDvorak()
{
    const std::optional<KeyboardInputSource> source = KeyboardLayout::currentInputSource();
    return source &&
           checkIfString(source->localizedName, QStringLiteral("dvorak"), Qt::CaseInsensitive);
}

bool checkIfString(const QString& string, const QString& containsChildStr,
                   Qt::CaseSensitivity withCompare)
{
    if (string.isEmpty() || containsChildStr.isEmpty())
        return false;
    return string.contains(containsChildStr, withCompare);
}

void showBasicAlertwithTitle(const QString& title, const QString& andInformText)
{
    AlertPresenter::runModal(
        {title, andInformText, {QStringLiteral("OK")}, AlertStyle::Informational, {}});
}

void showProgressIndic(ProgressIndicator* indicator, QWidget* inView)
{
    indicator->setParent(inView);
    indicator->show();
    indicator->startAnimation();
    const QSize size = indicator->size();
    // The placement measures y upwards from the bottom edge; Qt measures it downwards.
    const double yFromBottom = (inView->height() - size.height()) * 0.5 - kSpinnerRaise;
    indicator->move(qRound((inView->width() - size.width()) * 0.5),
                    qRound(inView->height() - yFromBottom - size.height()));
}

bool pidsAccessingPath(const QString& path)
{
    const QFileInfo info(path);
    struct stat item {};
    const bool readable = ::stat(QFile::encodeName(path).constData(), &item) == 0;
    const bool busy = readable && isOpenByAnyProcess(item);
    if (readable)
        qCInfo(lcKit).noquote() << "DICT:"
                                << QVariantMap{{QStringLiteral("size"), info.size()},
                                               {QStringLiteral("owner"), info.owner()},
                                               {QStringLiteral("permissions"),
                                                static_cast<int>(info.permissions())},
                                               {QStringLiteral("modified"), info.lastModified()},
                                               {QStringLiteral("busy"), busy}};
    else
        qCInfo(lcKit, "DICT: (null)");
    qCInfo(lcKit).noquote() << "Creation:"
                            << (readable ? info.birthTime().toString(Qt::ISODate)
                                         : QStringLiteral("(null)"));
    qCInfo(lcKit, "Busy: %d", busy ? 1 : 0);
    return busy;
}

QColor colorWithHexColorString(const QString& hexColorString)
{
    // Reads as far as hexadecimal digits go; a value too large for 32 bits saturates.
    constexpr quint64 kMax = 0xFFFFFFFFu;
    const QString trimmed = hexColorString.trimmed();
    quint64 value = 0;
    for (qsizetype i = trimmed.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive) ? 2 : 0;
         i < trimmed.size(); ++i) {
        const int digit = hexDigitValue(trimmed[i]);
        if (digit < 0)
            break;
        value = std::min(value * 16 + static_cast<quint64>(digit), kMax);
    }
    return QColor::fromRgbF(static_cast<float>(((value >> 16) & 255) / 255.0),
                            static_cast<float>(((value >> 8) & 255) / 255.0),
                            static_cast<float>((value & 255) / 255.0), 1.0f);
}

bool shouldShowAlertAboutFullDiskAccess()
{
    return false;
}

void askUserPermissionForFullDiskAccess() {}

} // namespace tolvex::Utils
