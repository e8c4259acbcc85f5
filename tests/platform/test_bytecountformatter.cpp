#include "platform/ByteCountFormatter.h"

#include <QTest>
#include <limits>

using namespace tolvex;

class TestByteCountFormatter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fileStyle_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        const auto row = [](qint64 bytes, const char* locale, const char* text) {
            QTest::addRow("%lld %s", bytes, locale) << bytes << QString(locale) << QString(text);
        };
        row(0, "en_US", "Zero KB");
        row(1, "en_US", "1 byte");
        row(999, "en_US", "999 bytes");
        row(1000, "en_US", "1 KB");
        row(1499, "en_US", "1 KB");
        row(1500, "en_US", "2 KB");
        row(999499, "en_US", "999 KB");
        row(999999, "en_US", "1 MB");
        row(1234567, "en_US", "1.2 MB");
        row(1000000000, "en_US", "1 GB");
        row(1234567890, "en_US", "1.23 GB");
        row(1500000000000, "en_US", "1.5 TB");
        row(std::numeric_limits<qint64>::max(), "en_US", "9.22 EB");
        row(1234567, "de_DE", "1,2 MB");
        row(1234567890, "de_DE", "1,23 GB");
    }

    void fileStyle()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, locale);
        QTEST(ByteCountFormatter::stringFromByteCount(bytes, QLocale(locale)), "text");
    }
};

QTEST_GUILESS_MAIN(TestByteCountFormatter)
#include "test_bytecountformatter.moc"
