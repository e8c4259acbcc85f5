#include "EngineTestRig.h"
#include "engine/SizeLoadDic.h"
#include "engine/SizeMeasurement.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsSettings.h"
#include "platform/NotificationCenter.h"

#include <QDirIterator>
#include <QMimeData>
#include <QUrl>

using namespace tolvex;
using namespace tolvex::testing;

// A real tree of 10,000 files goes the whole road: dropped on the 1-pass zone, measured,
// shredded by the helper, counted in the lifetime totals.
class TestShredIntegration : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tenThousandFilesAreShreddedWithCorrectTotals()
    {
        TestWorld world;
        EngineRig rig(binDir() + "/tolx");
        quint64 fileBytes = 0;
        for (int i = 0; i < 10000; ++i) {
            const QString path = world.file(
                QStringLiteral("tree/d%1/e%2/f%3").arg(i % 20).arg(i % 7).arg(i), i % 3000);
            fileBytes += Utils::fileSizeAtPath(path);
        }
        const QString tree = world.root + "/tree";

        // The main window measures a list when it shows it filled, and keeps the count.
        SizeMeasurement sizes;
        rig.window.onLog = [&](const QString& line) {
            if (line.startsWith("filled 1")) {
                sizes.addMeasurement(rig.lists.filePathsArr(1), 1);
            }
        };
        std::atomic<quint64> measuredFiles = 0;
        const auto token = NotificationCenter::defaultCenter().addObserver(
            kSizeLoadDidFinish, [&](const Notification& n) {
                measuredFiles = n.object.value<SizeLoadDic>().scanTotalFilesCount;
            });
        QMimeData drag;
        drag.setUrls({QUrl::fromLocalFile(tree)});
        rig.lists.dropViewDidGetDropWithPasteboard(1, {}, drag);
        QTRY_COMPARE_WITH_TIMEOUT(measuredFiles.load(), quint64(10000), 60000);
        NotificationCenter::defaultCenter().removeObserver(token);
        rig.lists.setTotalFilesPassCountNum(1, measuredFiles);

        rig.runs.shredFiles(rig.lists.pathsDicsForEditVC(), false);
        QTRY_COMPARE_WITH_TIMEOUT(rig.window.linesStartingWith("hud"),
                                  QStringList{"hud 3 1-pass shredding is complete!"}, 500000);

        QVERIFY(!QFileInfo::exists(tree));
        QCOMPARE(rig.lists.filePathsArr(1), QStringList());
        QCOMPARE(rig.window.linesStartingWith("ring").last(), QString("ring 1 1"));
        const TotalShredInfoDic totals = *Utils::getTotalShredInfoDic();
        QCOMPARE(totals.shredFilesCount.value_or(0), quint64(10000));
        QCOMPARE(totals.shredDataSize.value_or(0), fileBytes);
    }
};

QTEST_GUILESS_MAIN(TestShredIntegration)
#include "test_shred_integration.moc"
