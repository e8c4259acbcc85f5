#include "FakeBrowserHome.h"
#include "privacy/UtilsDatabase.h"

#include <QTest>

using namespace tolvex;

namespace {

QStringList capturedLines;

// Collects what the code under test logs, for as long as it lives.
class LogCapture {
public:
    LogCapture() : previous_(qInstallMessageHandler(capture)) { capturedLines.clear(); }
    ~LogCapture() { qInstallMessageHandler(previous_); }
    QStringList lines() const { return capturedLines; }

private:
    static void capture(QtMsgType, const QMessageLogContext&, const QString& message)
    {
        capturedLines << message;
    }
    QtMessageHandler previous_;
};

const FakeBrowserHome::Tables kPlaces{
    {"moz_favicons", 2}, {"moz_historyvisits", 4}, {"moz_places", 3}, {"moz_origins", 1}};

} // namespace

class TestUtilsDatabase : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void countsRowsOrZeroWithoutLogging_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("table");
        QTest::addColumn<quint64>("count");
        QTest::newRow("three rows") << "places.sqlite"
                                    << "moz_places" << quint64(3);
        QTest::newRow("missing file") << "missing.sqlite"
                                      << "moz_places" << quint64(0);
        QTest::newRow("not a database") << "notes.txt"
                                        << "moz_places" << quint64(0);
        QTest::newRow("missing table") << "places.sqlite"
                                       << "moz_cookies" << quint64(0);
        QTest::newRow("more than a table title") << "places.sqlite"
                                                 << "moz_places WHERE id > 1" << quint64(0);
    }

    void countsRowsOrZeroWithoutLogging()
    {
        QFETCH(QString, file);
        QFETCH(QString, table);
        QFETCH(quint64, count);
        FakeBrowserHome home;
        home.database("places.sqlite", kPlaces);
        home.file("notes.txt", QByteArray(4096, 'n'));
        const QStringList before = QDir(home.home()).entryList(QDir::Files);

        LogCapture log;
        QCOMPARE(Utils::countRecordsInDBFileAtPath(home.path(file), table), count);
        QCOMPARE(log.lines(), QStringList());
        QCOMPARE(QDir(home.home()).entryList(QDir::Files), before);
    }

    void emptyingOneTableLeavesTheOthers()
    {
        FakeBrowserHome home;
        const QString places =
            home.database("places.sqlite", kPlaces + FakeBrowserHome::Tables{{"moz_bookmarks", 0}});

        LogCapture log;
        QCOMPARE(Utils::removeAllRecordsInDBFilePath(places, "moz_places"), false);
        QCOMPARE(log.lines(), QStringList{"Table tableTitle moz_places"});
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places, "moz_places"), quint64(0));
        for (const auto& [table, rows] : kPlaces) {
            if (table != "moz_places")
                QCOMPARE(Utils::countRecordsInDBFileAtPath(places, table), quint64(rows));
        }

        capturedLines.clear();
        Utils::removeAllRecordsInDBFilePath(places, "moz_bookmarks");
        QCOMPARE(log.lines(), QStringList{"could not retreave items in table"});

        // A title that would widen the statement is refused, not run.
        capturedLines.clear();
        Utils::removeAllRecordsInDBFilePath(places, "moz_historyvisits WHERE id > 1");
        QCOMPARE(log.lines(), QStringList{"could not retreave items in table"});
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places, "moz_historyvisits"), quint64(4));

        capturedLines.clear();
        QCOMPARE(Utils::removeAllRecordsInDBFilePath(home.path("gone.sqlite"), "moz_places"),
                 false);
        QCOMPARE(log.lines(), QStringList());
        QVERIFY(!QFileInfo::exists(home.path("gone.sqlite")));
    }
};

QTEST_GUILESS_MAIN(TestUtilsDatabase)
#include "test_utilsdatabase.moc"
