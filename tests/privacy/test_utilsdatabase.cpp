#include "FakeBrowserHome.h"
#include "privacy/UtilsDatabase.h"

#include <QTest>

using namespace tolvex;

namespace {

const FakeBrowserHome::Tables kPlaces{
    {"moz_favicons", 2}, {"moz_historyvisits", 4}, {"moz_places", 3}, {"moz_origins", 1}};

} // namespace

class TestUtilsDatabase : public QObject {
    Q_OBJECT

    FakeBrowserHome home_;

private Q_SLOTS:
    // Counting never creates the file it is asked about.
    void countsRowsOrZero_data()
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
        QTest::newRow("more than a title") << "places.sqlite"
                                           << "moz_places WHERE id > 1" << quint64(0);
    }

    void countsRowsOrZero()
    {
        QFETCH(QString, file);
        QFETCH(QString, table);
        QFETCH(quint64, count);
        home_.database("places.sqlite", kPlaces);
        home_.file("notes.txt", QByteArray(4096, 'n'));
        QCOMPARE(Utils::countRecordsInDBFileAtPath(home_.path(file), table), count);
        QVERIFY(!QFileInfo::exists(home_.path("missing.sqlite")));
    }

    // A table the database lacks (current Firefox keeps no moz_favicons) is passed over; a
    // database reached through a link, or a title that would widen the statement, is refused
    // whole. The tables not named keep their rows.
    void emptyingTablesAllOrNothing()
    {
        const QString places = home_.database("emptied/places.sqlite", kPlaces.mid(1));
        const QString linked = home_.path("linked.sqlite");
        QFile::link(places, linked);

        QVERIFY(Utils::emptyTablesInDBFilePath(linked, {{"moz_places", {}}}));
        QVERIFY(Utils::emptyTablesInDBFilePath(
            places, {{"moz_places", {}}, {"moz_origins WHERE id > 1", {}}}));
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places, "moz_places"), quint64(3));
        QTest::ignoreMessage(QtInfoMsg, "could not retreave items in table");
        QTest::ignoreMessage(QtInfoMsg, "Table tableTitle moz_places");
        QVERIFY(
            !Utils::emptyTablesInDBFilePath(places, {{"moz_favicons", {}}, {"moz_places", {}}}));
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places, "moz_places"), quint64(0));
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places, "moz_historyvisits"), quint64(4));
    }
};

QTEST_GUILESS_MAIN(TestUtilsDatabase)
#include "test_utilsdatabase.moc"
