#include "platform/ByteCountFormatter.h"

#include <QTest>

using namespace tolvex;

class TestByteCountFormatter : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
};

QTEST_GUILESS_MAIN(TestByteCountFormatter)
#include "test_bytecountformatter.moc"
