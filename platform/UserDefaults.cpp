#include "UserDefaults.h"

#include <QSettings>

namespace tolvex {

UserDefaults::UserDefaults() = default;
UserDefaults::~UserDefaults() = default;

UserDefaults& UserDefaults::standard()
{
    static UserDefaults defaults;
    return defaults;
}

void UserDefaults::setStandardForTesting(const QString& iniPath)
{
    UserDefaults& defaults = standard();
    std::lock_guard lock(defaults.mutex_);
    // The same format as the user's store, so a test store keeps values exactly as that does.
    defaults.settings_ = std::make_unique<QSettings>(iniPath, QSettings::NativeFormat);
    defaults.writeFailureReported_ = false;
}

QSettings& UserDefaults::settings() const
{
    // Opened on first use, so that a test store set before that is the only one ever touched.
    if (!settings_) {
        settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                QStringLiteral("Tolvex"), QStringLiteral("Tolvex"));
    }
    return *settings_;
}

bool UserDefaults::boolForKey(const QString& key) const
{
    return objectForKey(key).toBool();
}

qint64 UserDefaults::integerForKey(const QString& key) const
{
    return objectForKey(key).toLongLong();
}

QVariant UserDefaults::objectForKey(const QString& key) const
{
    std::lock_guard lock(mutex_);
    return settings().value(key);
}

void UserDefaults::setBool(const QString& key, bool value)
{
    write(key, value);
}

void UserDefaults::setInteger(const QString& key, qint64 value)
{
    write(key, QVariant::fromValue(value));
}

void UserDefaults::setObject(const QString& key, const QVariant& value)
{
    write(key, value);
}

void UserDefaults::removeObject(const QString& key)
{
    write(key, QVariant());
}

void UserDefaults::synchronize()
{
    std::lock_guard lock(mutex_);
    settings().sync();
}

void UserDefaults::write(const QString& key, const QVariant& value)
{
    QString unwritable;
    {
        std::lock_guard lock(mutex_);
        if (value.isValid())
            settings().setValue(key, value);
        else
            settings().remove(key);
        settings().sync();
        if (settings().status() != QSettings::NoError && !writeFailureReported_) {
            writeFailureReported_ = true;
            unwritable = settings().fileName();
        }
    }
    Q_EMIT valueChanged(key);
    if (!unwritable.isEmpty())
        Q_EMIT writeFailed(unwritable);
}

} // namespace tolvex
