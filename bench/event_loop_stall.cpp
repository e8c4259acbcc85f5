// How long can the window freeze while three big lists shred at once? Three trees of 10,000
// small files are dropped on the three zones of the real main window and shredded together by
// the real helper. A 1 ms timer on the GUI thread records the longest gap between its ticks; the
// same timer over an idle stretch of the same length is the peer the figure is compared with.
//
//   build/bin/bench_event_loop_stall [files per list]

#include "app/AppDelegate.h"
#include "app/DropView.h"
#include "app/MainWindowBuilder.h"
#include "platform/GlobalQueue.h"
#include "platform/HomeFolder.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <memory>

using namespace tolvex;

namespace {

constexpr int kDefaultFilesPerList = 10000;
constexpr int kFilesPerFolder = 100;
constexpr int kFileBytes = 64;
constexpr qint64 kGoalMs = 50;

QString makeTree(const QString& root, int files)
{
    const QByteArray content(kFileBytes, 'x');
    for (int i = 0; i < files; ++i) {
        const QString folder = QStringLiteral("%1/d%2").arg(root).arg(i / kFilesPerFolder);
        if (i % kFilesPerFolder == 0)
            QDir().mkpath(folder);
        QFile file(QStringLiteral("%1/f%2").arg(folder).arg(i));
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }
    return root;
}

struct Stall {
    qint64 ms = 0;
    qint64 endedAtMs = 0; // from the start of the measurement
};

// The longest gap between ticks of a 1 ms timer while `goOn` says to go on.
Stall longestStall(const std::function<bool()>& goOn)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    Stall longest;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QEventLoop loop;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (now - last > longest.ms)
            longest = {now - last, now};
        last = now;
        if (!goOn())
            loop.quit();
    });
    ticker.start();
    loop.exec();
    return longest;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int filesPerList =
        argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : kDefaultFilesPerList;

    QTemporaryDir home;
    HomeFolder::setForTesting(home.path());
    UserDefaults::setStandardForTesting(home.filePath(QStringLiteral("settings.conf")));

    std::printf("building 3 trees of %d files...\n", filesPerList);
    const QStringList trees = {
        makeTree(home.filePath(QStringLiteral("bench/one")), filesPerList),
        makeTree(home.filePath(QStringLiteral("bench/seven")), filesPerList),
        makeTree(home.filePath(QStringLiteral("bench/thirtyFive")), filesPerList)};

    AppDelegate delegate;
    const std::unique_ptr<WAYWindow> window(MainWindowBuilder::build(delegate));
    delegate.applicationDidFinishLaunching();
    window->show();

    const qint64 lists[] = {1, 7, 35};
    for (int i = 0; i < 3; ++i) {
        QMimeData drag;
        drag.setUrls({QUrl::fromLocalFile(trees[i])});
        delegate.zoneOutlets(lists[i])->dropView->performDragOperation(&drag);
    }
    const auto measured = [&] {
        for (qint64 id : lists)
            if (delegate.shredLists().totalFilesPassCountNum(id) != quint64(filesPerList))
                return false;
        return true;
    };
    const Stall measuring = longestStall([&] { return !measured(); });

    QElapsedTimer run;
    run.start();
    delegate.shredRuns().shredFiles(delegate.shredLists().pathsDicsForEditVC(), false);
    const Stall shredding = longestStall([&] {
        return delegate.shredTasks().isAnyShredding() ||
               !delegate.shredLists().filePathsArr(1).isEmpty() ||
               !delegate.shredLists().filePathsArr(7).isEmpty() ||
               !delegate.shredLists().filePathsArr(35).isEmpty();
    });
    const qint64 runMs = run.elapsed();

    QElapsedTimer idleClock;
    idleClock.start();
    const Stall idle = longestStall([&] { return idleClock.elapsed() < runMs; });

    bool allGone = true;
    for (const QString& tree : trees)
        allGone = allGone && !QFile::exists(tree);

    std::printf("longest event-loop stall while the lists were measured: %lld ms, %.1f s in\n",
                static_cast<long long>(measuring.ms), measuring.endedAtMs / 1000.0);
    std::printf("shredded 3 x %d files in %.1f s (all gone: %s)\n", filesPerList, runMs / 1000.0,
                allGone ? "yes" : "NO");
    std::printf("longest event-loop stall while shredding: %lld ms, %.1f s into the run (goal: at "
                "most %lld ms)\n",
                static_cast<long long>(shredding.ms), shredding.endedAtMs / 1000.0,
                static_cast<long long>(kGoalMs));
    std::printf("longest stall of the idle loop over as long: %lld ms; ratio %.1f\n",
                static_cast<long long>(idle.ms),
                double(shredding.ms) / double(std::max<qint64>(idle.ms, 1)));
    GlobalQueue::waitForDone();
    return allGone && shredding.ms <= kGoalMs ? 0 : 1;
}
