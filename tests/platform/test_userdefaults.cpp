#include "platform/UserDefaults.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

using namespace tolvex;

class TestUserDefaults : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    const QString iniPath_ = dir_.filePath(QStringLiteral("store.conf"));

    // Another reader of the same file, as a second process would see it.
    QVariant onDisk(const QString& key) const
    {
        return QSettings(iniPath_, QSettings::IniFormat).value(key);
    }

private Q_SLOTS:
    // Unsigned 64-bit values, alone or in a record, come back whole.
    void everyWriteReachesTheFileWholeAndIsAnnounced()
    {
        UserDefaults::setStandardForTesting(iniPath_);
        UserDefaults& defaults = UserDefaults::standard();
        QSignalSpy changed(&defaults, &UserDefaults::valueChanged);
        defaults.setBool("flag", true);
        QCOMPARE(onDisk("flag").toBool(), true);
        defaults.setInteger("index", -5);
        QCOMPARE(onDisk("index").toLongLong(), -5);
        defaults.removeObject("flag");
        QVERIFY(!onDisk("flag").isValid());
        QVERIFY(!defaults.boolForKey("flag"));
        QCOMPARE(defaults.integerForKey("absent"), 0);
        QVERIFY(!defaults.objectForKey("absent").isValid());

        constexpr quint64 largest = std::numeric_limits<quint64>::max();
        const quint64 aboveTwoToThe63 = (quint64(1) << 63) + 12345;
        defaults.setObject("single", QVariant::fromValue(largest));
        defaults.setObject("record", QVariantMap{{"bytes", QVariant::fromValue(aboveTwoToThe63)}});
        for (const QVariant& single : {onDisk("single"), defaults.objectForKey("single")})
            QCOMPARE(single.toULongLong(), largest);
        for (const QVariant& record : {onDisk("record"), defaults.objectForKey("record")})
            QCOMPARE(record.toMap().value("bytes").toULongLong(), aboveTwoToThe63);
        QCOMPARE(QList<QVariantList>(changed),
                 QList<QVariantList>({{"flag"}, {"index"}, {"flag"}, {"single"}, {"record"}}));
    }

    void unwritableStoreIsReportedOnceAndKeepsItsValuesForTheRun()
    {
        QFile blocker(dir_.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        const QString unwritable = blocker.fileName() + QStringLiteral("/Tolvex.conf");
        UserDefaults::setStandardForTesting(unwritable);
        UserDefaults& defaults = UserDefaults::standard();
        QSignalSpy failed(&defaults, &UserDefaults::writeFailed);
        defaults.setBool("flag", true);
        defaults.setInteger("index", 2);
        QCOMPARE(QList<QVariantList>(failed), QList<QVariantList>{{unwritable}});
        QVERIFY(defaults.boolForKey("flag"));
    }
};

QTEST_GUILESS_MAIN(TestUserDefaults)
#include "test_userdefaults.moc"
