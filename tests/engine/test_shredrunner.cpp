#include "EngineTestRig.h"
#include "engine/PercentParsing.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsSettings.h"

#include <QRegularExpression>
#include <future>
#include <limits>
#include <thread>
#include <unistd.h>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

ShredEntryDics recordsOf(const QStringList& paths, std::optional<qint64> pass)
{
    ShredEntryDics records;
    for (const QString& path : paths)
        records.append({path, QFileInfo(path).fileName(), pass});
    return records;
}

// Calls one method's runner with the method's flags before `paths` on a worker thread, as the
// global queue would, and keeps the main queue turning until it has returned, and then until its
// completion work has run.
void runPass(ShredRuns& runs, qint64 pass, const QStringList& paths,
             std::optional<ShredEntryDics> given = std::nullopt)
{
    const auto runner = pass == 1   ? &ShredRuns::runShreddingPass1WithParams
                        : pass == 7 ? &ShredRuns::runShreddingPass7WithParams
                                    : &ShredRuns::runShreddingPass35WithParams;
    const QString flag = pass == 1 ? "-frsv" : pass == 7 ? "-frmv" : "-frv";
    const ShredEntryDics records = given.value_or(recordsOf(paths, pass));
    const auto isReady = [](const auto& future) {
        return future.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    };
    std::future<std::shared_future<void>> returned = std::async(std::launch::async, [&] {
        return (runs.*runner)(QStringList{flag} + paths, records, false);
    });
    QTRY_VERIFY_WITH_TIMEOUT(isReady(returned), 60000);
    const std::shared_future<void> completion = returned.get();
    if (completion.valid())
        QTRY_VERIFY_WITH_TIMEOUT(isReady(completion), 60000);
}

} // namespace

class TestShredRunner : public QObject {
    Q_OBJECT

    // Runs of the test's own on the rig's parts, to destroy while those stay.
    std::unique_ptr<ShredRuns> ownRuns(qsizetype chunkSize = ShredRuns::kPathsPerLaunch) const
    {
        return std::make_unique<ShredRuns>(fx->rig.lists, fx->rig.tasks, fx->rig.window,
                                           fx->rig.window, fx->rig.window, fx->rig.window,
                                           fakeHelperPath(), chunkSize);
    }

    // Terminates list `id`'s helper once the window shows a line starting with `line`.
    void terminateOn(const QString& line, qint64 id)
    {
        fx->rig.window.onLog = [this, line, id](const QString& logged) {
            if (logged.startsWith(line))
                fx->rig.tasks.terminate(id);
        };
    }

private Q_SLOTS:
    void init() { fx = std::make_unique<EngineFixture>(); }
    void cleanup() { fx.reset(); }

    // (K + p) / T: K items finished before the current one, T the list's count, else the
    // records' files; with no files at all the ring shows full.
    void theRingIsFinishedItemsPlusTheCurrentFractionOverTheTotal_data()
    {
        QTest::addColumn<quint64>("count");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("rings");
        QTest::newRow("count of four")
            << quint64(4) << "F"
            << QStringList({"say 25%", "say removing F/f0", "say removing F/f1", "say 50%"})
            << QStringList({"0.0625", "0.375", "0.5"});
        QTest::newRow("files of the records")
            << quint64(0) << "F" << QStringList({"say removing F/f0"}) << QStringList{"0.5"};
        QTest::newRow("nothing to count")
            << quint64(0) << "E" << QStringList({"say 50%"}) << QStringList({"inf", "inf"});
    }

    void theRingIsFinishedItemsPlusTheCurrentFractionOverTheTotal()
    {
        QFETCH(quint64, count);
        QFETCH(QString, listed);
        QFETCH(QStringList, script);
        QFETCH(QStringList, rings);
        fx->world.files("F", 2);
        fx->world.folder("E/inner");
        fx->rig.lists.setTotalFilesPassCountNum(1, count);
        fx->script.set(script.replaceInStrings("removing ", "removing " + fx->world.root + "/") +
                       QStringList{"say done"});
        runPass(fx->rig.runs, 1, {fx->world.root + "/" + listed});
        QCOMPARE(fx->rig.window.linesStartingWith("ring"),
                 rings.replaceInStrings(QRegularExpression("^"), "ring 1 "));
    }

    // Every "removing" line counts, whatever the run's end; sizes are those from the launch,
    // even of an item the helper removed before its line was read. What exists at a path of the
    // method after a success was never overwritten: it stays, and the notice says so.
    void countingRulesPerMethodAndTotalsWhateverTheEnd()
    {
        const QString x = fx->world.file("x", 4096);
        const quint64 xSize = Utils::fileSizeAtPath(x);
        const QString folder = fx->world.folder("d");
        const QStringList reads{"say removing " + x, "say removing " + fx->world.root + "/missing",
                                "say removing " + folder, "say removing " + x + " 50%"};
        fx->script.set(reads + QStringList{"exit 0"});
        runPass(fx->rig.runs, 1, {x});
        QCOMPARE(storedTotals(), std::pair(quint64(3), xSize));

        fx->world.file("x", 4096);
        fx->script.set(reads + QStringList{"exit 5"});
        runPass(fx->rig.runs, 7, {x});
        QCOMPARE(storedTotals(), std::pair(quint64(4), 2 * xSize));
        QVERIFY(QFile::exists(x));

        const QString a = fx->world.file("a"), b = fx->world.file("b"), c = fx->world.file("c");
        const QString target = fx->world.file("target"), link = fx->world.link("link", target);
        fx->script.set({"remove " + x, "say removing " + x, "exit 0"});
        runPass(fx->rig.runs, 35, {x, a, link},
                recordsOf({x, a, link}, 35) + recordsOf({b}, 7) + recordsOf({c}, std::nullopt));
        QCOMPARE(storedTotals(), std::pair(quint64(5), 3 * xSize));
        QVERIFY(QFile::exists(a) && QFileInfo(link).isSymLink() && QFile::exists(target));
        QCOMPARE(fx->rig.window.linesStartingWith("hud").last(),
                 QString("hud 1 2 items reappeared during shredding.\nThey were left in place, "
                         "not shredded."));
    }

    void aCancelledRunPrunesOnlyVanishedEntries()
    {
        const QStringList abc{fx->world.file("a"), fx->world.file("b"), fx->world.file("c")};
        const QString d = fx->world.file("d");
        fx->rig.lists.setFilePathsArr(7, abc);
        fx->rig.lists.setFilePathsArr(1, {d});
        fx->script.set({"remove " + abc[0], "remove " + d, "say removing " + abc[1], "hang"});
        terminateOn("descrTF 7 b", 7);
        runPass(fx->rig.runs, 7, abc, fx->rig.lists.pathsDicsForEditVC());
        QCOMPARE(fx->rig.window.log.filter(QRegularExpression("^(?!hideClearReveal)")),
                 QStringList({"mainTF 7 21 ..Shredding..", "descrTF 7 b", "addBtn 7 cancelShred",
                              "empty 1", "filled 7 [" + abc.mid(1).join(',') + "] refresh=1 size=1",
                              "empty 35"}));
        QCOMPARE(fx->rig.lists.filePathsArr(7), abc.mid(1));
        QVERIFY(!fx->rig.tasks.isShredding(7) && QFile::exists(abc[1]));
    }

    // Only a success with no list shredding any more quits; a failure never does.
    void quitOnCompleteOnlyAfterASuccessWithNothingRunning()
    {
        UserDefaults::standard().setBool(Utils::DefaultsKey::quitOnAllComplete, true);
        const QString a = fx->world.file("a");
        fx->script.set({"exit 1"});
        runPass(fx->rig.runs, 7, {a});
        fx->script.set({"hang"});
        fx->rig.runs.shredFiles(recordsOf({a}, 35), false);
        QTRY_VERIFY(fx->rig.tasks.shredTask(35) && fx->rig.tasks.shredTask(35)->isRunning());
        fx->script.set({"exit 0"});
        runPass(fx->rig.runs, 7, {a});
        fx->rig.tasks.terminate(35);
        QTRY_VERIFY(!fx->rig.tasks.isShredding(35));
        fx->script.set({"destroy"});
        runPass(fx->rig.runs, 1, {fx->world.file("b")});
        QTRY_COMPARE(fx->rig.window.linesStartingWith("terminate"), QStringList{"terminate"});
    }

    // Existing paths (a dangling link exists) per method, an unknown method's dropped; with
    // nothing left no run starts and nothing is shown. A helper that cannot be launched changes
    // nothing but says so.
    void argumentListsHoldExistingPathsAndAFailedLaunchChangesNothing()
    {
        const QString a = fx->world.file("a"), b = fx->world.file("b"), c = fx->world.file("c");
        const QString d = fx->world.file("d"), e = fx->world.file("e");
        const QString dangling = fx->world.link("dangling", fx->world.root + "/nothing");
        const ShredEntryDic gone{fx->world.root + "/gone", "gone", 7};
        const ShredEntryDics entries{{a, "a", 1},  gone,         {a, "a", 1},
                                     {b, "b", 0},  {c, "c", {}}, {d, "d", 7},
                                     {e, "e", 35}, {e, "e", 5},  {dangling, "dangling", 35}};
        const ShredArgumentsDic arguments = ShredRuns::shredArgumentsForPathDic(entries);
        QCOMPARE(arguments.params1, std::optional<QStringList>({"-frsv", a, a, b, c}));
        QCOMPARE(arguments.params7, std::optional<QStringList>({"-frmv", d}));
        QCOMPARE(arguments.params35, std::optional<QStringList>({"-frv", e, dangling}));
        QVERIFY(ShredRuns::shredArgumentsForPathDic({gone}).isEmpty());
        fx->rig.runs.shredFiles({gone}, false);
        GlobalQueue::waitForDone();
        QVERIFY(fx->rig.window.log.isEmpty() && fx->script.launches().isEmpty());

        EngineRig broken(fx->world.root + "/nowhere/tolx");
        broken.lists.setFilePathsArr(7, {a});
        broken.runs.shredFiles(broken.lists.pathsDicsForEditVC(), false);
        QTRY_COMPARE(broken.window.log, QStringList{"hud 2 The shredding helper could not be "
                                                    "started.\nNothing was shredded."});
        QTRY_VERIFY(!broken.tasks.isShredding(7));
        QCOMPARE(broken.lists.filePathsArr(7), QStringList{a});
        QVERIFY(QFile::exists(a) && !Utils::getTotalShredInfoDic());
    }

    // One press is one run per method however long its list: each launch is given only its own
    // share of the method's items, and one notice tells how all of them went. Cancelled during a
    // launch, the run starts no more.
    void longListsRunInChunksOfTheirOwnItems_data()
    {
        QTest::addColumn<qsizetype>("chunkSize");
        QTest::addColumn<int>("onePass");
        QTest::addColumn<int>("sevenPass");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("launches");
        QTest::addColumn<QStringList>("huds");
        QTest::addColumn<int>("left");
        const QStringList destroy{"destroy"};
        const QString sevenDone = "hud 3 7-pass shredding is complete!";
        QTest::newRow("one list") << qsizetype(1000) << 0 << 1001 << destroy
                                  << QStringList({"-frmv 1", "-frmv 1000"})
                                  << QStringList{sevenDone} << 0;
        QTest::newRow("the chunks are per method")
            << qsizetype(1000) << 10 << 995 << destroy << QStringList({"-frmv 995", "-frsv 10"})
            << QStringList({"hud 3 1-pass shredding is complete!", sevenDone}) << 0;
        QTest::newRow("a failed first launch")
            << qsizetype(1000) << 0 << 1001 << QStringList({"destroy", "fail-if-given FIRST"})
            << QStringList({"-frmv 1", "-frmv 1000"}) << QStringList() << 0;
        QTest::newRow("cancelled") << qsizetype(1000) << 0 << 1001
                                   << QStringList({"remove FIRST", "say removing FIRST", "hang"})
                                   << QStringList{"-frmv 1000"} << QStringList() << 1000;
        // 2,500 paths of 1,000 bytes are more than a command line may hold.
        QTest::newRow("past the argument limit")
            << ShredRuns::kPathsPerLaunch << 0 << 2500 << destroy << QStringList{"-frmv 2500"}
            << QStringList{sevenDone} << 0;
    }

    void longListsRunInChunksOfTheirOwnItems()
    {
        QFETCH(qsizetype, chunkSize);
        QFETCH(int, onePass);
        QFETCH(int, sevenPass);
        QFETCH(QStringList, script);
        QFETCH(QStringList, launches);
        const auto runs = ownRuns(chunkSize);
        fx->rig.lists.setFilePathsArr(1, fx->world.files("one", onePass));
        const QString seven = QStringList(4, QString(240, u'd')).join(u'/');
        fx->rig.lists.setFilePathsArr(7, fx->world.files(seven, sevenPass));
        fx->script.set(script.replaceInStrings("FIRST", fx->world.path(seven + "/f0")));
        if (script.contains("hang"))
            terminateOn("descrTF 7", 7);
        runs->shredFiles(fx->rig.lists.pathsDicsForEditVC(), false);
        QTRY_VERIFY_WITH_TIMEOUT(fx->script.launches().size() == launches.size() &&
                                     !fx->rig.tasks.shredTask(1) && !fx->rig.tasks.shredTask(7),
                                 60000);
        GlobalQueue::waitForDone();
        QStringList made;
        for (const QString& launch : fx->script.launches())
            made.append(launch.section(u'\t', 0, 0) + ' ' + QString::number(launch.count(u'\t')));
        made.sort();
        QCOMPARE(made, launches);
        QStringList huds = fx->rig.window.linesStartingWith("hud");
        huds.sort();
        QTEST(huds, "huds");
        QFETCH(int, left);
        QCOMPARE(QDir(fx->world.path(seven)).entryList(QDir::Files).size(), left);
        QCOMPARE(fx->rig.lists.filePathsArr(7).size(), left);
        QCOMPARE(storedTotals().first, quint64(onePass + sevenPass - left));
    }

    // Runs destroyed while their helper still goes stop it; what they posted to the main queue
    // before they went never runs.
    void destroyedRunsStopTheirHelperAndDropTheirPostedWork_data()
    {
        QTest::addColumn<bool>("ended");
        QTest::newRow("helper ended, completion queued") << true;
        QTest::newRow("helper still going") << false;
    }

    void destroyedRunsStopTheirHelperAndDropTheirPostedWork()
    {
        QFETCH(bool, ended);
        const QString a = fx->world.file("a");
        fx->script.set({"say removing " + a, "say 50%", ended ? "remove " + a : QString("hang")});
        auto runs = ownRuns();
        std::shared_future<void> completion;
        if (ended) {
            std::thread([&] {
                completion =
                    runs->runShreddingPass1WithParams({"-frsv", a}, recordsOf({a}, 1), false);
            }).join();
        } else {
            runs->shredFiles(recordsOf({a}, 1), false);
            QTRY_VERIFY_WITH_TIMEOUT(!fx->rig.window.linesStartingWith("descrTF 1").isEmpty(),
                                     60000);
            fx->rig.window.log.clear();
        }
        runs.reset();
        QVERIFY(!fx->rig.tasks.isShredding(1));
        GlobalQueue::waitForDone();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        QCOMPARE(fx->rig.window.log, QStringList());
        QVERIFY(!completion.valid() ||
                completion.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        QVERIFY(!fx->rig.tasks.shredTask(1));
        QCOMPARE(QFile::exists(a), !ended);
    }

    // -1 stands for no percentage at all.
    void percentagesInTheUsersLocaleAndTheHelpersOwnForm()
    {
        const std::tuple<const char*, QString, double> rows[] = {
            {"en_US", " 12.5% \r", 0.125}, {"fr_FR", "45\u202f%", 0.45},
            {"fr_FR", "45%", 0.45},        {"de_DE", "12,5\u00a0%", 0.125},
            {"tr_TR", "%45", 0.45},        {"en_US", "removing /x 50%", -1},
            {"de_DE", "4%5", -1}};
        for (const auto& [locale, text, fraction] : rows)
            QCOMPARE(parsePercentage(text, QLocale(locale)).value_or(-1), fraction);
    }

    // A list of 50,000 files with 200-byte paths goes the whole road with one press: shredded by
    // the helper, one notice, exact lifetime totals, nothing left. A name is bytes: a line feed,
    // backslashes, bytes that are not UTF-8 and a trailing space all reach the helper and come
    // back from it as the item that was sent, counted with its size.
    void fiftyThousandLongPathsAreShreddedWithOnePress()
    {
        constexpr int kFiles = 50000;
        QStringList files;
        for (int i = 0; i < kFiles; ++i) {
            const QString name = QStringLiteral("tree/d%1/f%2-").arg(i % 50).arg(i);
            files.append(fx->world.file(name.leftJustified(200 - fx->world.root.size() - 1, u'p'),
                                        i % 10 == 0 ? 1000 : 0));
        }
        for (const char* name : {"line\nfeed", "back\\slash\\n", "caf\xe9", "space "})
            files.append(fx->world.byteNamedFile(name, 100));
        // Delayed allocation may change a file's allocated size after the helper measured it on
        // a loaded machine: measure once the writes are out.
        const int sandbox = ::open(QFile::encodeName(fx->world.root).constData(),
                                   O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QCOMPARE(::syncfs(sandbox), 0);
        ::close(sandbox);
        quint64 fileBytes = 0;
        for (const QString& file : files)
            fileBytes += Utils::fileSizeAtPath(file);

        EngineRig real(qEnvironmentVariable("TOLVEX_BIN_DIR") + "/tolx");
        real.lists.setFilePathsArr(1, files);
        real.lists.setTotalFilesPassCountNum(1, files.size());
        real.runs.shredFiles(real.lists.pathsDicsForEditVC(), false);
        QTRY_VERIFY_WITH_TIMEOUT(!real.window.linesStartingWith("hud").isEmpty() ||
                                     !real.window.linesStartingWith("filled 1").isEmpty(),
                                 800000);
        GlobalQueue::waitForDone();
        QCOMPARE(real.window.linesStartingWith("hud"),
                 QStringList{"hud 3 1-pass shredding is complete!"});
        QCOMPARE(real.window.linesStartingWith("ring").last(), QString("ring 1 1"));
        QVERIFY(real.window.log.contains(QStringLiteral("descrTF 1 caf\ufffd")));
        for (const QString& file : files)
            QVERIFY(!Utils::itemExistsAtPath(file));
        QCOMPARE(real.lists.filePathsArr(1), QStringList());
        QCOMPARE(storedTotals(), std::pair(quint64(files.size()), fileBytes));
    }

    void storedValuesOutsideTheirRangeReadAsTheDefault()
    {
        UserDefaults& defaults = UserDefaults::standard();
        for (const QVariant& index : {QVariant(3), QVariant(-1), QVariant("x")}) {
            defaults.setObject(Utils::DefaultsKey::selectedDefShredMethodInd, index);
            QCOMPARE(Utils::defShredMethodInd(), 0);
        }
        Utils::defShredMethodInd(2);
        QCOMPARE(Utils::defShredMethodInd(), 2);

        constexpr quint64 largest = std::numeric_limits<qint64>::max();
        defaults.setObject(Utils::DefaultsKey::totalShredDataDic,
                           QVariantMap{{"shredDataSize", QVariant::fromValue(largest + 1)},
                                       {"shredFilesCount", QVariant::fromValue(largest - 1)}});
        QCOMPARE(storedTotals(), std::make_pair(largest - 1, quint64(0)));
        Utils::overWriteTotalShredInfoDic({5, 5});
        QCOMPARE(storedTotals(), std::make_pair(largest, quint64(5)));
    }

    // Two runs adding at once lose nothing.
    void everyAddCountsEvenWhenRunsEndTogether()
    {
        static constexpr int addsPerRun = 1000;
        static constexpr quint64 bytesPerAdd = 3000000;
        const auto run = [] {
            for (int i = 0; i < addsPerRun; ++i)
                Utils::overWriteTotalShredInfoDic({bytesPerAdd, 1});
        };
        std::thread first(run);
        std::thread second(run);
        first.join();
        second.join();
        // Past 32 bits by now; an add without a size adds only its files.
        Utils::overWriteTotalShredInfoDic({std::nullopt, 4});
        QCOMPARE(storedTotals(),
                 std::make_pair(quint64(2 * addsPerRun + 4), 2 * addsPerRun * bytesPerAdd));
    }

private:
    std::unique_ptr<EngineFixture> fx;
};

QTEST_GUILESS_MAIN(TestShredRunner)
#include "test_shredrunner.moc"
