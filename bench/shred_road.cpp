// What does the app's road add to the helper's own time? The same number of small files is
// shredded 1-pass once through the engine's shred run on a headless rig, built as the tests build
// it, from the press (records of the list) to the completion notice, and once by the helper
// alone (tolx -frsv -z, its output read and dropped). Each round runs the pair, in turns first
// and second, so that neither gains from the other's leftovers; the median of the rounds' ratios
// is the figure (goal: the app's road takes at most 1.1 times the helper's time).
//
//   build/bin/bench_shred_road [files] [runs]

#include "../tests/engine/EngineTestRig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <unistd.h>
#include <vector>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

constexpr int kDefaultFiles = 30000;
constexpr int kDefaultRuns = 3;
constexpr int kFilesPerFolder = 1000;
constexpr int kFileBytes = 1024;
constexpr int kTimeoutMs = 3600 * 1000;
constexpr double kGoal = 1.1;

QStringList makeFiles(const TestWorld& world, const QString& relative, int count)
{
    const std::string content(kFileBytes, 'x');
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString folder =
            world.folder(QStringLiteral("%1/d%2").arg(relative).arg(i / kFilesPerFolder));
        paths.append(QStringLiteral("%1/f%2").arg(folder).arg(i));
        std::ofstream(toNativePath(paths.last())) << content;
    }
    ::sync();
    return paths;
}

double helperAloneSeconds(const QString& helper, const QStringList& paths)
{
    QByteArray records;
    for (const QString& path : paths)
        records += encodeNativePath(path) + '\0';
    Task task(helper, {QStringLiteral("-frsv"), QStringLiteral("-z")});
    task.setStandardInput(records);
    task.setReadabilityHandler([](const QByteArray&) {});
    QElapsedTimer clock;
    clock.start();
    if (!task.launch())
        return -1;
    task.waitUntilExit();
    return task.terminationStatus() == 0 ? double(clock.elapsed()) / 1000 : -1;
}

double appRoadSeconds(const QString& helper, const QStringList& paths)
{
    EngineRig rig(helper);
    rig.lists.setFilePathsArr(1, paths);
    rig.lists.setTotalFilesPassCountNum(1, quint64(paths.size()));
    // Each painted line is looked at once, as it comes: the log grows with every file.
    int huds = 0;
    bool completed = false;
    rig.window.onLog = [&](const QString& line) {
        if (line.startsWith(QStringLiteral("hud"))) {
            completed = ++huds == 1 && line.startsWith(QStringLiteral("hud 3"));
        }
    };
    QElapsedTimer clock;
    clock.start();
    rig.runs.shredFiles(rig.lists.pathsDicsForEditVC(), false);
    const bool ended = QTest::qWaitFor([&] { return huds > 0; }, kTimeoutMs);
    const double seconds = double(clock.elapsed()) / 1000;
    return ended && completed ? seconds : -1;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : kDefaultFiles;
    const int runs = argc > 2 ? std::atoi(argv[2]) : kDefaultRuns;
    const QString helper = QCoreApplication::applicationDirPath() + QStringLiteral("/tolx");

    std::vector<double> alone;
    std::vector<double> road;
    std::vector<double> ratios;
    for (int run = 0; run < runs; ++run) {
        const TestWorld world;
        const bool aloneFirst = run % 2 == 0;
        const auto timeAlone = [&] {
            alone.push_back(
                helperAloneSeconds(helper, makeFiles(world, QStringLiteral("alone"), files)));
        };
        const auto timeRoad = [&] {
            road.push_back(appRoadSeconds(helper, makeFiles(world, QStringLiteral("road"), files)));
        };
        if (aloneFirst) {
            timeAlone();
            timeRoad();
        } else {
            timeRoad();
            timeAlone();
        }
        ratios.push_back(road.back() / alone.back());
        std::printf("run %d (%s first): helper alone %.2f s, app road %.2f s, ratio %.2f\n",
                    run + 1, aloneFirst ? "helper alone" : "app road", alone.back(), road.back(),
                    ratios.back());
        std::fflush(stdout);
        if (alone.back() < 0 || road.back() < 0) {
            std::fprintf(stderr, "a run did not destroy every file\n");
            return 1;
        }
    }
    const double ratio = median(ratios);
    std::printf("%d files, 1 pass (median of %d): helper alone %.2f s, app road %.2f s\n", files,
                runs, median(alone), median(road));
    std::printf(
        "  app road / helper alone, median of the rounds' ratios %.2fx (goal <= %.1fx: %s)\n",
        ratio, kGoal, ratio <= kGoal ? "met" : "missed");
    return 0;
}
