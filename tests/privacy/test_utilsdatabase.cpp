#include "FakeBrowserHome.h"
#include "privacy/UtilsDatabase.h"

#include <QTest>

using namespace tolvex;

class TestUtilsDatabase : public QObject {
    Q_OBJECT

    FakeBrowserHome home_;
    const QString places_ = home_.database(
        "places.sqlite", {{"moz_historyvisits", 4}, {"moz_places", 3}, {"moz_origins", 1}});

private Q_SLOTS:
    // Counting never creates the file it is asked about, and reads a title that would widen the
    // statement as no table.
    void countsRowsOrZero()
    {
        home_.file("notes.txt", QByteArray(4096, 'n'));
        const std::tuple<const char*, const char*, quint64> cases[] = {
            {"places.sqlite", "moz_places", 3},
            {"missing.sqlite", "moz_places", 0},
            {"notes.txt", "moz_places", 0},
            {"places.sqlite", "moz_cookies", 0},
            {"places.sqlite", "moz_places WHERE id > 1", 0}};
        for (const auto& [file, table, count] : cases)
            QCOMPARE(Utils::countRecordsInDBFileAtPath(home_.path(file), table), count);
        QVERIFY(!QFileInfo::exists(home_.path("missing.sqlite")));
    }

    // A table the database lacks (current Firefox keeps no moz_favicons) is passed over; a
    // database reached through a link, or a title that would widen the statement, is refused
    // whole. The tables not named keep their rows.
    void emptyingTablesAllOrNothing()
    {
        const QString linked = home_.path("linked.sqlite");
        QFile::link(places_, linked);

        QVERIFY(Utils::emptyTablesInDBFilePath(linked, {{"moz_places", {}}}));
        QVERIFY(Utils::emptyTablesInDBFilePath(
            places_, {{"moz_places", {}}, {"moz_origins WHERE id > 1", {}}}));
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places_, "moz_places"), quint64(3));
        QTest::ignoreMessage(QtInfoMsg, "could not retreave items in table");
        QTest::ignoreMessage(QtInfoMsg, "Table tableTitle moz_places");
        QVERIFY(
            !Utils::emptyTablesInDBFilePath(places_, {{"moz_favicons", {}}, {"moz_places", {}}}));
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places_, "moz_places"), quint64(0));
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places_, "moz_historyvisits"), quint64(4));
    }
};

QTEST_GUILESS_MAIN(TestUtilsDatabase)
#include "test_utilsdatabase.moc"
