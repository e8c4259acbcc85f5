#include "TreeFixture.h"
#include "engine/UtilsFileSystem.h"
#include "platform/HomeFolder.h"
#include "platform/NativePath.h"

#include <QMimeData>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>

using namespace tolvex;

class TestUtilsFileSystem : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;

private Q_SLOTS:
    void initTestCase()
    {
        // Nothing here may reach the real home folder or the user's XDG settings.
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home_.filePath(".config").toUtf8());
        HomeFolder::setForTesting(home_.path());
    }

    void itemSizeIsAllocatedBytesElseLength()
    {
        TreeFixture tree;
        const quint64 written = Utils::fileSizeAtPath(tree.file("written", 5000));
        QVERIFY2(written >= 5000 && written % 512 == 0, qPrintable(QString::number(written)));
        QCOMPARE(Utils::fileSizeAtPath(tree.sparseFile("holes", 1000000)), quint64(1000000));
    }

    // Hidden files count, empty folders do not, a missing path is one file of no size; a link is
    // an item of its own, never its target's contents.
    void listTotalsCountFilesAndLinksAsThemselves()
    {
        TreeFixture tree;
        const QString file = tree.sparseFile("file", 7000);
        const QString folder = tree.folder("folder");
        for (const char* name : {"folder/1", "folder/.2", "folder/sub/3"})
            tree.sparseFile(name, 1000);
        tree.folder("folder/empty/emptier");
        const QString target = tree.folder("target");
        tree.sparseFile("target/big", 1000000);
        const QString link = tree.link("link", target);
        const QString innerLink = tree.link("folder/link", target);
        const QStringList listed{file, folder, tree.path("missing"), link};
        QCOMPARE(Utils::totalFilesToShredCount(listed), quint64(7));
        QCOMPARE(Utils::multipleItemsSize(listed), 7000 + 3000 + Utils::fileSizeAtPath(folder) +
                                                       Utils::fileSizeAtPath(innerLink) +
                                                       Utils::fileSizeAtPath(link));
        QCOMPARE(Utils::folderFilesCount(folder), quint64(4));
        QCOMPARE(Utils::folderSize(link), quint64(0));
    }

    void walksStopAtTheFirstError()
    {
        TreeFixture tree;
        const auto [deep, filesBefore] = tree.filesAroundTooDeepFolder("root", 20);
        const QRegularExpression logged("^ERROR ENUMERATING FOLDER> " +
                                        QRegularExpression::escape(tree.path("root/" + deep)) +
                                        "/d+/.*, File name too long$");
        QTest::ignoreMessage(QtWarningMsg, logged);
        QTest::ignoreMessage(QtWarningMsg, logged);
        QCOMPARE(Utils::folderFilesCount(tree.path("root")), quint64(filesBefore));
        QCOMPARE(Utils::folderSize(tree.path("root")),
                 quint64(filesBefore) * Utils::fileSizeAtPath(tree.path("root/f0")));
    }

    // Nothing when empty or unreadable; a folder reached through a link is listed where it is,
    // and a link inside it stays a link.
    void oneLevelListingsResolveTheFolderButNeverAChild()
    {
        TreeFixture tree;
        tree.folder("empty");
        tree.file("onlyHidden/.a", 1);
        tree.file("file", 1);
        for (const char* nothing : {"empty", "onlyHidden", "missing", "file"})
            QCOMPARE(Utils::childrenForParentFolderAtPathOneLevel(tree.path(nothing)),
                     std::nullopt);
        const QString childLink = tree.link("real/link", tree.path("file"));
        QCOMPARE(Utils::childrenForParentFolderAtPathOneLevel(
                     tree.link("folderLink", tree.path("real"))),
                 QStringList({childLink}));
    }

    // A file URL names bytes: a drag's percent-encoded path comes back byte for byte and a URL
    // made of a path gives the path back; a URL of another scheme or machine names no file here.
    void fileUrlsCarryPathBytes_data()
    {
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<QByteArray>("path");
        QTest::newRow("not text") << QByteArray("file:///t/a%FFb%0A")
                                  << QByteArray("/t/a\xff"
                                                "b\n");
        QTest::newRow("text") << QByteArray("file:///t/caf%C3%A9/") << QByteArray("/t/caf\xc3\xa9");
        QTest::newRow("localhost") << QByteArray("file://localhost/t/x") << QByteArray("/t/x");
        QTest::newRow("another machine") << QByteArray("file://elsewhere/t/x") << QByteArray();
        QTest::newRow("web") << QByteArray("https://example.invalid/x") << QByteArray();
    }

    void fileUrlsCarryPathBytes()
    {
        QFETCH(QByteArray, url);
        QFETCH(QByteArray, path);
        QMimeData drag;
        drag.setData("text/uri-list", url + "\r\n");
        const QString expected = decodeNativePath(path);
        QCOMPARE(Utils::fileNamesOfPasteboard(drag),
                 path.isEmpty() ? std::nullopt : std::optional(QStringList{expected}));
    }

    // A file dialog shows bytes that are not text as replacement characters: of two items shown
    // alike, nobody can tell which was meant (the one found is the intake's test).
    void twinsShownWithReplacementCharactersNameNoItem()
    {
        TreeFixture tree;
        const QString twin = tree.byteNamedFile("x\xe9");
        tree.byteNamedFile("x\xe8");
        QCOMPARE(Utils::pathShownAs(QFile::decodeName(encodeNativePath(twin))), std::nullopt);
        QCOMPARE(Utils::pathShownAs(tree.path("plain")), tree.path("plain"));
    }

    // Library checks go by whole path components, and nothing is built without a passwd entry.
    void placesBuiltOnTheRealHomeFolder()
    {
        const QString home = home_.path();
        QCOMPARE(Utils::checkAndReturnHomeFolderPath("/ignored"), home);
        QVERIFY(Utils::checkIfFileIsFromLibraryFolder(home + "/Library/Caches/not-there"));
        QVERIFY(!Utils::checkIfFileIsFromLibraryFolder(home + "/LibraryOther"));
        QVERIFY(!Utils::checkIfFileIsFromLibraryFolder("/Library"));

        HomeFolder::setForTesting(std::nullopt);
        QCOMPARE(Utils::checkAndReturnHomeFolderPath("/x"), std::nullopt);
        QCOMPARE(Utils::nonSandboxPathFor("x"), std::nullopt);
        QVERIFY(Utils::defFileMoveDestPaths(false).isEmpty());
        QVERIFY(!Utils::checkIfFileIsFromLibraryFolder(home + "/Library"));
        HomeFolder::setForTesting(home);
    }
};

QTEST_GUILESS_MAIN(TestUtilsFileSystem)
#include "test_utilsfilesystem.moc"
