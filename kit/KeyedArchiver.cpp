#include "KeyedArchiver.h"

#include "Coding.h"
#include "KeyedArchiveFormat.h"

#include <QDataStream>
#include <QIODevice>
#include <QWidget>

namespace tolvex {

void KeyedArchiver::encodeObject(const QString& key, const QVariant& object)
{
    entries_.emplaceBack(key, object);
}

void KeyedArchiver::encodeInteger(const QString& key, qint64 value)
{
    entries_.emplaceBack(key, QVariant::fromValue(value));
}

void KeyedArchiver::encodeInt(const QString& key, qint32 value)
{
    entries_.emplaceBack(key, QVariant::fromValue(value));
}

void KeyedArchiver::encodeDouble(const QString& key, double value)
{
    entries_.emplaceBack(key, QVariant::fromValue(value));
}

void KeyedArchiver::encodeBool(const QString& key, bool value)
{
    entries_.emplaceBack(key, QVariant::fromValue(value));
}

QStringList KeyedArchiver::keys() const
{
    QStringList keys;
    for (const auto& entry : entries_)
        keys << entry.first;
    return keys;
}

QByteArray KeyedArchiver::encodedData() const
{
    QByteArray data;
    QDataStream stream(&data, QIODevice::WriteOnly);
    stream.setVersion(KeyedArchiveFormat::kStreamVersion);
    stream << KeyedArchiveFormat::kMagic << KeyedArchiveFormat::kFormatVersion
           << static_cast<qint32>(entries_.size());
    for (const auto& [key, value] : entries_)
        stream << key << value;
    return data;
}

QVariant KeyedArchiver::archivedWidget(const QWidget& widget)
{
    KeyedArchiver nested;
    if (const auto* codable = dynamic_cast<const Coding*>(&widget))
        codable->encodeWithCoder(nested);
    return QVariantMap{
        {KeyedArchiveFormat::kClassKey, QString::fromLatin1(widget.metaObject()->className())},
        {KeyedArchiveFormat::kArchiveKey, nested.encodedData()}};
}

} // namespace tolvex
