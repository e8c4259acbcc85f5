#include "platform/Appcast.h"

#include <QXmlStreamReader>

namespace tolvex {

namespace {

const QString sparkleNamespace =
    QStringLiteral("http://www.andymatuschak.org/xml-namespaces/sparkle");

struct ItemFields {
    QString shortVersion;
    QString version;
    QString enclosureUrl;
};

std::optional<AppcastRelease> releaseFrom(const ItemFields& fields)
{
    const QString text = fields.shortVersion.isEmpty() ? fields.version : fields.shortVersion;
    qsizetype suffixStart = 0;
    const QVersionNumber version = QVersionNumber::fromString(text.trimmed(), &suffixStart);
    if (version.isNull()) {
        return std::nullopt;
    }
    return AppcastRelease{version, text.trimmed(), QUrl(fields.enclosureUrl.trimmed())};
}

} // namespace

std::optional<AppcastRelease> Appcast::newestRelease(const QByteArray& feed)
{
    QXmlStreamReader xml(feed);
    std::optional<AppcastRelease> newest;
    std::optional<ItemFields> item;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("item")) {
            item = ItemFields{};
        } else if (xml.isStartElement() && item && xml.name() == QLatin1String("enclosure")) {
            const auto attributes = xml.attributes();
            item->enclosureUrl = attributes.value(QLatin1String("url")).toString();
            if (attributes.hasAttribute(sparkleNamespace, QStringLiteral("shortVersionString"))) {
                item->shortVersion =
                    attributes.value(sparkleNamespace, QStringLiteral("shortVersionString"))
                        .toString();
            }
            if (attributes.hasAttribute(sparkleNamespace, QStringLiteral("version"))) {
                item->version =
                    attributes.value(sparkleNamespace, QStringLiteral("version")).toString();
            }
        } else if (xml.isStartElement() && item && xml.namespaceUri() == sparkleNamespace &&
                   xml.name() == QLatin1String("shortVersionString")) {
            item->shortVersion = xml.readElementText();
        } else if (xml.isStartElement() && item && xml.namespaceUri() == sparkleNamespace &&
                   xml.name() == QLatin1String("version")) {
            item->version = xml.readElementText();
        } else if (xml.isEndElement() && item && xml.name() == QLatin1String("item")) {
            const auto release = releaseFrom(*item);
            if (release && (!newest || release->version > newest->version)) {
                newest = release;
            }
            item.reset();
        }
    }
    if (xml.hasError()) {
        return std::nullopt;
    }
    return newest;
}

} // namespace tolvex
