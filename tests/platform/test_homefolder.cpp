#include "platform/HomeFolder.h"

#include <QTest>
#include <pwd.h>
#include <unistd.h>

class TestHomeFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void comesFromThePasswdEntryNotFromHome()
    {
        qputenv("HOME", "/nowhere/else");
        const passwd* entry = ::getpwuid(::getuid());
        QVERIFY(entry);
        QCOMPARE(tolvex::HomeFolder::realHomeFolder().value_or(QString()),
                 QString::fromUtf8(entry->pw_dir));
    }
};

QTEST_GUILESS_MAIN(TestHomeFolder)
#include "test_homefolder.moc"
