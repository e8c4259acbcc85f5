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

    // A table the database lacks (current Firefox keeps no moz_favicons) is passed over; a
    // database reached through a link, or a title that would widen the statement, is refused
    // whole. The tables not named keep their rows.
    void emptyingTablesAllOrNothing()
    {
        FakeBrowserHome home;
        const QString places = home.database("places.sqlite", kPlaces.mid(1));
        const QString linked = home.path("linked.sqlite");
        QFile::link(places, linked);
        const QList<Utils::TableEmptying> widened{{"moz_places", {}},
                                                  {"moz_origins WHERE id > 1", {}}};

        LogCapture log;
        QVERIFY(Utils::emptyTablesInDBFilePath(linked, {{"moz_places", {}}}));
        QVERIFY(Utils::emptyTablesInDBFilePath(places, widened));
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places, "moz_places"), quint64(3));
        QVERIFY(
            !Utils::emptyTablesInDBFilePath(places, {{"moz_favicons", {}}, {"moz_places", {}}}));
        QCOMPARE(log.lines(),
                 QStringList({"could not retreave items in table", "Table tableTitle moz_places"}));
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places, "moz_places"), quint64(0));
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places, "moz_historyvisits"), quint64(4));
    }
};

QTEST_GUILESS_MAIN(TestUtilsDatabase)
#include "test_utilsdatabase.moc"
