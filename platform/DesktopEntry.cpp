#include "platform/DesktopEntry.h"

#include <QFile>
#include <QTextStream>

namespace tolvex {

namespace {

const QString kMainGroup = QStringLiteral("[Desktop Entry]");

// Values of type string escape a space, line breaks, a tab and the backslash.
QString unescaped(const QString& value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[++i].unicode()) {
        case 's':
            text += u' ';
            break;
        case 'n':
            text += u'\n';
            break;
        case 't':
            text += u'\t';
            break;
        case 'r':
            text += u'\r';
            break;
        default:
            text += value[i];
            break;
        }
    }
    return text;
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QTextStream stream(&file);
    std::optional<DesktopEntry> entry;
    QString line;
    while (stream.readLineInto(&line)) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[')) {
            if (entry)
                break;
            if (trimmed == kMainGroup)
                entry.emplace();
            continue;
        }
        const qsizetype equals = trimmed.indexOf(u'=');
        if (!entry || trimmed.startsWith(u'#') || equals < 0)
            continue;
        const QString key = trimmed.left(equals).trimmed();
        const QString value = unescaped(trimmed.mid(equals + 1).trimmed());
        if (key == u"Name")
            entry->name = value;
        else if (key == u"Icon")
            entry->icon = value;
    }
    return entry;
}

} // namespace tolvex
