#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class QWidget;

namespace tolvex {

// Reads an archive written by KeyedArchiver. A key that is missing reads as zero, false or an
// empty object; a damaged archive reads as one without keys.
class KeyedUnarchiver {
public:
    using WidgetFactory = std::function<QWidget*(const KeyedUnarchiver& coder)>;

    explicit KeyedUnarchiver(const QByteArray& data);

    bool isValid() const { return valid_; }
    QStringList keys() const { return keys_; }
    bool containsValueForKey(const QString& key) const { return values_.contains(key); }

    QVariant decodeObjectForKey(const QString& key) const { return values_.value(key); }
    qint64 decodeIntegerForKey(const QString& key) const;
    qint32 decodeIntForKey(const QString& key) const;
    double decodeDoubleForKey(const QString& key) const;
    bool decodeBoolForKey(const QString& key) const;

    // How widgets of `className` are made from their archive; nested archives inherit it.
    void setClass(const QString& className, WidgetFactory factory);
    // A widget archived by KeyedArchiver::archivedWidget, or nullptr when its class is unknown.
    QWidget* unarchivedWidget(const QVariant& object) const;
    // A nested archive stored as an object, knowing the same classes.
    KeyedUnarchiver nestedUnarchiver(const QVariant& object) const;

private:
    bool valid_ = false;
    QStringList keys_;
    QHash<QString, QVariant> values_;
    QHash<QString, WidgetFactory> classes_;
};

} // namespace tolvex
