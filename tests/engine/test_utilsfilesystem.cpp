#include "TreeFixture.h"
#include "engine/LoadOperation.h"
#include "engine/SizeLoadDic.h"
#include "engine/SizeMeasurement.h"
#include "engine/UtilsFileSystem.h"
#include "platform/HomeFolder.h"
#include "platform/NativePath.h"
#include "platform/NotificationCenter.h"
#include "platform/OperationQueue.h"

#include <QMimeData>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>
#include <future>

using namespace tolvex;

namespace {

// An operation that holds the size queue's only thread until it is let go.
struct Gate : Operation {
    std::promise<void> open;
    void main() override { open.get_future().wait(); }
};

} // namespace

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

    // An item's size is its allocated bytes, else its length. Hidden files count, empty folders
    // do not, a missing path is one file of no size; a link is an item of its own, never its
    // target's contents. The size queue's measure and the shredding totals agree.
    void listTotalsCountFilesAndLinksAsThemselves()
    {
        TreeFixture tree;
        const quint64 written = Utils::fileSizeAtPath(tree.file("written", 5000));
        QVERIFY2(written >= 5000 && written % 512 == 0, qPrintable(QString::number(written)));
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
        const quint64 bytes = 7000 + 3000 + Utils::fileSizeAtPath(folder) +
                              Utils::fileSizeAtPath(innerLink) + Utils::fileSizeAtPath(link);
        QCOMPARE(Utils::totalFilesToShredCount(listed), quint64(7));
        QCOMPARE(Utils::multipleItemsSize(listed), bytes);
        const LoadOperation::Measure measured = LoadOperation::multipleItemsSize(listed);
        QCOMPARE(std::pair(measured.scanTotalFilesCount, measured.size),
                 std::pair(quint64(7), bytes));
        QCOMPARE(Utils::folderFilesCount(folder), quint64(4));
        QCOMPARE(Utils::folderSize(link), quint64(0));
    }

    // Of a folder that cannot be listed the shredding totals stop at the first error; the size
    // queue's measure leaves it out and goes on.
    void walksStopOrSkipAtAnError()
    {
        TreeFixture tree;
        const auto [deep, filesBefore] = tree.filesAroundTooDeepFolder("root", 20);
        const QRegularExpression logged("^ERROR ENUMERATING FOLDER> " +
                                        QRegularExpression::escape(tree.path("root/" + deep)) +
                                        "/d+/.*, File name too long$");
        for (int walk = 0; walk < 3; ++walk)
            QTest::ignoreMessage(QtWarningMsg, logged);
        QCOMPARE(Utils::folderFilesCount(tree.path("root")), quint64(filesBefore));
        QCOMPARE(Utils::folderSize(tree.path("root")),
                 quint64(filesBefore) * Utils::fileSizeAtPath(tree.path("root/f0")));
        QCOMPARE(LoadOperation::folderSize(tree.path("root")).scanTotalFilesCount, quint64(20));
    }

    void aNewerMeasurementCancelsTheOlderOne()
    {
        // One operation at a time: the posts never overlap.
        QList<std::pair<qint64, quint64>> posted;
        const auto token = NotificationCenter::defaultCenter().addObserver(
            kSizeLoadDidFinish, [&](const Notification& n) {
                const auto measured = n.object.value<SizeLoadDic>();
                posted.append({measured.scanCount, measured.scanTotalFilesCount});
            });
        TreeFixture tree;
        const QString old = tree.file("old", 10);
        const QString newer = tree.file("newer", 20000);
        SizeMeasurement sizes;
        auto gate = std::make_shared<Gate>();
        sizes.sizeQueue().setMaxConcurrentOperationCount(1);
        sizes.sizeQueue().addOperation(gate);
        sizes.addMeasurement({old}, 1);
        sizes.addMeasurement({old}, 35);
        sizes.cancelOperationsWithOperIDint(1);
        sizes.addMeasurement({newer, old}, 1);
        gate->open.set_value();
        sizes.sizeQueue().waitUntilAllOperationsAreFinished();
        NotificationCenter::defaultCenter().removeObserver(token);
        QCOMPARE(posted, (QList<std::pair<qint64, quint64>>{{35, 1}, {1, 2}}));
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
        QTest::newRow("not text") << QByteArray("file:///t/a%FFb%0A") << QByteArray("/t/a\377b\n");
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
