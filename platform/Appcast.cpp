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
    const QString text =
        (fields.shortVersion.isEmpty() ? fields.version : fields.shortVersion).trimmed();
    const QVersionNumber version = QVersionNumber::fromString(text);
    if (version.isNull()) {
        return std::nullopt;
    }
    return AppcastRelease{version, text, QUrl(fields.enclosureUrl.trimmed())};
}

// An attribute the enclosure does not carry leaves what the item's elements said.
void readSparkleAttribute(const QXmlStreamAttributes& attributes, const QString& name,
                          QString& field)
{
    if (attributes.hasAttribute(sparkleNamespace, name)) {
        field = attributes.value(sparkleNamespace, name).toString();
    }
}

// Takes what the element just started inside an item says about the release.
void readItemElement(QXmlStreamReader& xml, ItemFields& item)
{
    if (xml.name() == QLatin1String("enclosure")) {
        const auto attributes = xml.attributes();
        item.enclosureUrl = attributes.value(QLatin1String("url")).toString();
        readSparkleAttribute(attributes, QStringLiteral("shortVersionString"), item.shortVersion);
        readSparkleAttribute(attributes, QStringLiteral("version"), item.version);
    } else if (xml.namespaceUri() == sparkleNamespace &&
               xml.name() == QLatin1String("shortVersionString")) {
        item.shortVersion = xml.readElementText();
    } else if (xml.namespaceUri() == sparkleNamespace && xml.name() == QLatin1String("version")) {
        item.version = xml.readElementText();
    }
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
        } else if (item && xml.isStartElement()) {
            readItemElement(xml, *item);
        } else if (item && xml.isEndElement() && xml.name() == QLatin1String("item")) {
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
