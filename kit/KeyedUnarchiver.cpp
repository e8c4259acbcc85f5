#include "KeyedUnarchiver.h"

#include "KeyedArchiveFormat.h"

#include <QDataStream>
#include <QIODevice>

namespace tolvex {

KeyedUnarchiver::KeyedUnarchiver(const QByteArray& data)
{
    QDataStream stream(data);
    stream.setVersion(KeyedArchiveFormat::kStreamVersion);
    quint32 magic = 0;
    quint16 version = 0;
    qint32 count = 0;
    stream >> magic >> version >> count;
    if (stream.status() != QDataStream::Ok || magic != KeyedArchiveFormat::kMagic ||
        version != KeyedArchiveFormat::kFormatVersion || count < 0 ||
        count > KeyedArchiveFormat::kMaximumEntries)
        return;

    QStringList keys;
    QHash<QString, QVariant> values;
    for (qint32 i = 0; i < count; ++i) {
        QString key;
        QVariant value;
        stream >> key >> value;
        if (stream.status() != QDataStream::Ok)
            return;
        keys << key;
        values.insert(key, value);
    }
    keys_ = keys;
    values_ = values;
    valid_ = true;
}

qint64 KeyedUnarchiver::decodeIntegerForKey(const QString& key) const
{
    return values_.value(key).toLongLong();
}

qint32 KeyedUnarchiver::decodeIntForKey(const QString& key) const
{
    return values_.value(key).toInt();
}

double KeyedUnarchiver::decodeDoubleForKey(const QString& key) const
{
    return values_.value(key).toDouble();
}

bool KeyedUnarchiver::decodeBoolForKey(const QString& key) const
{
    return values_.value(key).toBool();
}

void KeyedUnarchiver::setClass(const QString& className, WidgetFactory factory)
{
    classes_.insert(className, std::move(factory));
}

KeyedUnarchiver KeyedUnarchiver::nestedUnarchiver(const QVariant& object) const
{
    KeyedUnarchiver nested(object.toByteArray());
    nested.classes_ = classes_;
    return nested;
}

QWidget* KeyedUnarchiver::unarchivedWidget(const QVariant& object) const
{
    const QVariantMap archived = object.toMap();
    const auto factory =
        classes_.constFind(archived.value(KeyedArchiveFormat::kClassKey).toString());
    if (factory == classes_.constEnd())
        return nullptr;
    return (*factory)(nestedUnarchiver(archived.value(KeyedArchiveFormat::kArchiveKey)));
}

} // namespace tolvex
