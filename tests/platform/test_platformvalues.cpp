#include "platform/ByteCountFormatter.h"
#include "platform/HomeFolder.h"
#include "platform/NativePath.h"
#include "platform/UserDefaults.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <limits>
#include <pwd.h>
#include <unistd.h>

using namespace tolvex;

class TestPlatformValues : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    const QString iniPath_ = dir_.filePath(QStringLiteral("store.conf"));

    // Another reader of the same file, as a second process would see it.
    QVariant onDisk(const QString& key) const
    {
        return QSettings(iniPath_, QSettings::IniFormat).value(key);
    }

private Q_SLOTS:
    void bytesSurviveTheRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("readable");
        QTest::newRow("text") << QByteArray("/tmp/caf\xc3\xa9 \xf0\x9f\x94\xa5")
                              << u"/tmp/café 🔥"_qs;
        QTest::newRow("latin-1 byte") << QByteArray("/tmp/caf\xe9.txt") << u"/tmp/caf\ufffd.txt"_qs;
        // A lossy decoding would take the byte above and the character here for one name.
        QTest::newRow("replacement")
            << QByteArray("/tmp/caf\xef\xbf\xbd.txt") << u"/tmp/caf\ufffd.txt"_qs;
        QTest::newRow("cut sequence") << QByteArray("/a\xe2\x82") << u"/a\ufffd\ufffd"_qs;
        QTest::newRow("overlong slash") << QByteArray("/a\xc0\xaf") << u"/a\ufffd\ufffd"_qs;
        QTest::newRow("encoded surrogate")
            << QByteArray("/\xed\xb2\x80") << u"/\ufffd\ufffd\ufffd"_qs;
        QTest::newRow("past U+10FFFF")
            << QByteArray("/\xf4\x90\x80\x80") << u"/\ufffd\ufffd\ufffd\ufffd"_qs;
        QTest::newRow("every high byte") << [] {
            QByteArray all;
            for (int b = 0x80; b <= 0xff; ++b)
                all += char(b);
            return all;
        }() << QString(0x80, QChar(0xFFFD));
    }

    void bytesSurviveTheRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, readable);
        const QString path = decodeNativePath(bytes);
        QCOMPARE(encodeNativePath(path), bytes);
        QCOMPARE(toNativePath(path).native(), bytes.toStdString());
        QCOMPARE(readablePath(path), readable);
    }

    void fileStyle_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        // The byte count, the locale and the text, apart by spaces; the last is the largest.
        for (const char* row :
             {"0 en_US Zero KB", "1 en_US 1 byte", "999 en_US 999 bytes", "1000 en_US 1 KB",
              "1499 en_US 1 KB", "1500 en_US 2 KB", "999499 en_US 999 KB", "999999 en_US 1 MB",
              "1234567 en_US 1.2 MB", "1000000000 en_US 1 GB", "1234567890 en_US 1.23 GB",
              "1500000000000 en_US 1.5 TB", "1234567 de_DE 1,2 MB", "1234567890 de_DE 1,23 GB",
              "9223372036854775807 en_US 9.22 EB"}) {
            const QStringList fields = QString::fromLatin1(row).split(' ');
            QTest::newRow(row) << fields[0].toLongLong() << fields[1] << fields.mid(2).join(' ');
        }
    }

    void fileStyle()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, locale);
        QTEST(ByteCountFormatter::stringFromByteCount(bytes, QLocale(locale)), "text");
    }

    void comesFromThePasswdEntryNotFromHome()
    {
        qputenv("HOME", "/nowhere/else");
        const passwd* entry = ::getpwuid(::getuid());
        QVERIFY(entry);
        QCOMPARE(HomeFolder::realHomeFolder().value_or(QString()),
                 QString::fromUtf8(entry->pw_dir));
    }

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

QTEST_GUILESS_MAIN(TestPlatformValues)
#include "test_platformvalues.moc"
