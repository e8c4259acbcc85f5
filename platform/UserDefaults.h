#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>
#include <mutex>

class QSettings;

namespace tolvex {

// The user's settings: one store (~/.config/Tolvex/Tolvex.conf) read and written from any
// thread. Every write reaches the file before it returns, and is announced with valueChanged()
// on the writing thread, so controls that show a setting follow every change. Nothing registers
// defaults: an absent key reads as false, 0 or an invalid QVariant.
//
// Values keep their type through the file when they are maps or lists; single numbers come back
// as their text, which the typed readers and QVariant::toULongLong() turn back without loss.
class UserDefaults : public QObject {
    Q_OBJECT

public:
    static UserDefaults& standard();

    // Points the standard store at an INI file of the test's own, so tests never touch the
    // user's settings. Call it before anything reads the standard store.
    static void setStandardForTesting(const QString& iniPath);

    bool boolForKey(const QString& key) const;
    qint64 integerForKey(const QString& key) const;
    QVariant objectForKey(const QString& key) const;

    void setBool(const QString& key, bool value);
    void setInteger(const QString& key, qint64 value);
    void setObject(const QString& key, const QVariant& value);
    void removeObject(const QString& key);

    // Writes are flushed already; this also picks up changes another process made to the file.
    void synchronize();

Q_SIGNALS:
    void valueChanged(const QString& key);
    // The store's file could not be written, so what was set lasts only for this run. Sent once,
    // for the first write that fails, on the writing thread.
    void writeFailed(const QString& path);

private:
    UserDefaults();
    ~UserDefaults() override;

    QSettings& settings() const;
    void write(const QString& key, const QVariant& value);

    mutable std::mutex mutex_;
    mutable std::unique_ptr<QSettings> settings_;
    bool writeFailureReported_ = false;
};

} // namespace tolvex
