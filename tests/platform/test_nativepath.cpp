#include "platform/NativePath.h"

#include <QTest>

using namespace tolvex;

class TestNativePath : public QObject {
    Q_OBJECT

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
};

QTEST_GUILESS_MAIN(TestNativePath)
#include "test_nativepath.moc"
