// How long does a drop of many single files hold the window? N files are dropped on the 1-pass
// zone of the real main window, then N other files on the 7-pass zone, whose rules then weigh
// every incoming path against the N listed ones and every listed path against all others, and
// last the first N again on the 35-pass zone, where every one is a duplicate with its alert.
// The figure is the main thread's time from the drop until the zones are drawn, as the median
// of several runs.
//
//   build/bin/bench_drop_rules [runs] [files per drop]...

#include "app/AppDelegate.h"
#include "app/DropView.h"
#include "app/MainWindowBuilder.h"
#include "engine/ShredLists.h"
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
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>

using namespace tolvex;

namespace {

constexpr int kDefaultRuns = 3;
const QList<int> kDefaultSizes{3000, 10000, 30000, 100000};

// The wall-clock figures of the quadratic rules this benchmark was written against, measured
// on the shared 8-core development machine (medians of 3 runs; one run of 100,000, which took
// 13 minutes).
struct Before {
    int files;
    double firstMs;
    double secondMs;
};
constexpr Before kBefore[] = {{3000, 77.2, 434.0},
                              {10000, 344.6, 4329.6},
                              {30000, 3417.5, 40408.4},
                              {100000, 42188.3, 730895.6}};

// What the second drop may cost the main thread, in ms of its own time.
constexpr std::pair<int, double> kGoals[] = {{30000, 100}, {100000, 300}};

QStringList makeFiles(const QString& folder, int count)
{
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths.append(QStringLiteral("%1/file%2.txt").arg(folder).arg(i));
        QFile(paths.last()).open(QIODevice::WriteOnly);
    }
    return paths;
}

void waitUntil(const std::function<bool()>& done)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    poll.start(1);
    loop.exec();
}

struct Cost {
    double wallMs;
    double cpuMs; // the main thread's own, whatever else the machine runs
};

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The cost of the drop of `paths` on zone `tag`, until the events it left are handled.
Cost timedDrop(AppDelegate& delegate, qint64 tag, const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    QMimeData drag;
    drag.setUrls(urls);
    QElapsedTimer clock;
    clock.start();
    const double cpuStart = threadCpuMs();
    delegate.zoneOutlets(tag)->dropView->performDragOperation(&drag);
    QCoreApplication::processEvents();
    return {double(clock.nsecsElapsed()) / 1e6, threadCpuMs() - cpuStart};
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::optional<Before> beforeFor(int files)
{
    for (const Before& before : kBefore)
        if (before.files == files)
            return before;
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : kDefaultRuns;
    QList<int> sizes;
    for (int i = 2; i < argc; ++i)
        sizes.append(QString::fromLocal8Bit(argv[i]).toInt());
    if (sizes.isEmpty())
        sizes = kDefaultSizes;

    QTemporaryDir home;
    HomeFolder::setForTesting(home.path());
    UserDefaults::setStandardForTesting(home.filePath(QStringLiteral("settings.conf")));
    const int most = *std::max_element(sizes.begin(), sizes.end());
    std::printf("making 2 x %d files...\n", most);
    const QStringList first = makeFiles(home.filePath(QStringLiteral("bench/one")), most);
    const QStringList second = makeFiles(home.filePath(QStringLiteral("bench/seven")), most);

    AppDelegate delegate;
    const std::unique_ptr<WAYWindow> window(MainWindowBuilder::build(delegate));
    delegate.applicationDidFinishLaunching();
    window->show();
    ShredLists& lists = delegate.shredLists();

    std::printf("%8s | %20s | %20s | %20s | %13s | %s\n", "files", "1st drop: wall, cpu",
                "2nd drop: wall, cpu", "duplicates: wall, cpu", "wall vs before", "2nd drop goal");
    std::fflush(stdout);
    for (const int files : sizes) {
        QList<double> firstWall, firstCpu, secondWall, secondCpu, againWall, againCpu;
        for (int run = 0; run < runs; ++run) {
            const Cost firstDrop = timedDrop(delegate, 1, first.mid(0, files));
            const Cost secondDrop = timedDrop(delegate, 7, second.mid(0, files));
            const Cost again = timedDrop(delegate, 35, first.mid(0, files));
            firstWall.append(firstDrop.wallMs);
            firstCpu.append(firstDrop.cpuMs);
            secondWall.append(secondDrop.wallMs);
            secondCpu.append(secondDrop.cpuMs);
            againWall.append(again.wallMs);
            againCpu.append(again.cpuMs);
            const bool listed = lists.filePathsArr(1).size() == files &&
                                lists.filePathsArr(7).size() == files &&
                                lists.filePathsArr(35).isEmpty();
            // The sizes are measured off the main thread; the next run starts when they are in.
            waitUntil([&] {
                return lists.totalFilesPassCountNum(1) == quint64(files) &&
                       lists.totalFilesPassCountNum(7) == quint64(files);
            });
            delegate.resetDefStateForPassViewWithTag(1);
            delegate.resetDefStateForPassViewWithTag(7);
            if (!listed) {
                std::printf("%d files: the drops did not list every file\n", files);
                return 1;
            }
        }
        std::printf("%8d | %9.1f %9.1f ms | %9.1f %9.1f ms | %9.1f %9.1f ms |", files,
                    median(firstWall), median(firstCpu), median(secondWall), median(secondCpu),
                    median(againWall), median(againCpu));
        if (const std::optional<Before> before = beforeFor(files))
            std::printf(" %5.0fx %6.0fx |", before->firstMs / median(firstWall),
                        before->secondMs / median(secondWall));
        for (const auto& [goalFiles, goalMs] : kGoals)
            if (goalFiles == files)
                std::printf(" cpu <= %.0f ms: %s", goalMs,
                            median(secondCpu) <= goalMs ? "met" : "MISSED");
        std::printf("\n");
    }
    return 0;
}
