#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <utility>

class QWidget;

namespace tolvex {

// Collects named values in the order they are encoded and writes them as one QDataStream
// record; KeyedUnarchiver reads it back.
class KeyedArchiver {
public:
    // An object is any value QVariant can stream (images, lists, nested archives).
    void encodeObject(const QString& key, const QVariant& object);
    void encodeInteger(const QString& key, qint64 value);
    void encodeInt(const QString& key, qint32 value);
    void encodeDouble(const QString& key, double value);
    void encodeBool(const QString& key, bool value);

    QStringList keys() const;
    QByteArray encodedData() const;

    // A widget as an archive object: its class name and, when it implements Coding, its own
    // archive. KeyedUnarchiver::unarchivedWidget makes it again.
    static QVariant archivedWidget(const QWidget& widget);

private:
    QList<std::pair<QString, QVariant>> entries_;
};

} // namespace tolvex
