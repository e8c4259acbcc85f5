#include "platform/HomeFolder.h"

#include <QFile>
#include <QTest>
#include <pwd.h>
#include <unistd.h>

using namespace tolvex;

class TestHomeFolder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void comesFromThePasswdEntryNotFromHome()
    {
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("HOME", "/nowhere/else");
        const std::optional<QString> home = HomeFolder::realHomeFolder();
        qputenv("HOME", savedHome);

        const passwd* entry = ::getpwuid(::getuid());
        QVERIFY(entry);
        QCOMPARE(home, std::optional<QString>(QFile::decodeName(entry->pw_dir)));
    }
};

QTEST_GUILESS_MAIN(TestHomeFolder)
#include "test_homefolder.moc"
