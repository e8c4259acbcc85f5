#include "TreeFixture.h"
#include "engine/FolderWalk.h"
#include "platform/NativePath.h"

#include <QRegularExpression>
#include <QTest>

using namespace tolvex;

namespace {

QStringList walked(const QString& folder, FolderWalk::OnError onError = FolderWalk::OnError::Stop)
{
    const std::filesystem::path root = toNativePath(folder);
    QStringList items;
    FolderWalk::walk(folder, onError, [&](const std::filesystem::directory_entry& item) {
        items << fromNativePath(item.path().lexically_relative(root));
    });
    return items;
}

QStringList sorted(QStringList items)
{
    items.sort();
    return items;
}

} // namespace

class TestFolderWalk : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void visitsEveryItemOnceAndEachFolderBeforeItsContents()
    {
        TreeFixture tree;
        tree.file("a/b/c/deep.txt", 1);
        tree.file("a/.hidden", 1);
        tree.folder("a/empty");
        tree.file("top.txt", 1);

        const QStringList items = walked(tree.root());
        QCOMPARE(sorted(items), QStringList({"a", "a/.hidden", "a/b", "a/b/c", "a/b/c/deep.txt",
                                             "a/empty", "top.txt"}));
        for (const QString& item : items) {
            const QString parent = item.section('/', 0, -2);
            if (!parent.isEmpty())
                QVERIFY2(items.indexOf(parent) < items.indexOf(item), qPrintable(item));
        }
    }

    void neverFollowsLinks()
    {
        TreeFixture tree;
        const QString outside = tree.folder("outside");
        tree.file("outside/secret.txt", 1);
        tree.folder("walked");
        tree.link("walked/toOutside", outside);
        tree.link("walked/loop", tree.path("walked"));

        QCOMPARE(sorted(walked(tree.path("walked"))), QStringList({"loop", "toOutside"}));
        bool linkIsFolder = true;
        FolderWalk::walk(tree.path("walked"), FolderWalk::OnError::Stop,
                         [&](const auto& item) { linkIsFolder = FolderWalk::isFolder(item); });
        QVERIFY(!linkIsFolder);
        QVERIFY(walked(tree.path("walked/toOutside")).isEmpty());
    }

    void skipFolderGoesOnWithTheRest()
    {
        TreeFixture tree;
        tree.filesAroundTooDeepFolder("root", 20);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("File name too long$"));
        QCOMPARE(walked(tree.path("root"), FolderWalk::OnError::SkipFolder)
                     .filter(QRegularExpression("^f\\d+$"))
                     .size(),
                 20);
    }
};

QTEST_GUILESS_MAIN(TestFolderWalk)
#include "test_folderwalk.moc"
