#include "EngineTestRig.h"
#include "engine/PercentParsing.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsSettings.h"

#include <QRegularExpression>
#include <thread>
#include <unistd.h>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

ShredEntryDics recordsOf(const QStringList& paths, std::optional<qint64> pass)
{
    ShredEntryDics records;
    for (const QString& path : paths) {
        records.append({path, QFileInfo(path).fileName(), pass});
    }
    return records;
}

TotalShredInfoDic totals()
{
    return Utils::getTotalShredInfoDic().value_or(TotalShredInfoDic{});
}

// Runs one method's runner on a worker with the method's flags before `paths`.
void runPass(ShredRuns& runs, qint64 pass, const QStringList& paths,
             std::optional<ShredEntryDics> given = std::nullopt)
{
    const auto runner = pass == 1   ? &ShredRuns::runShreddingPass1WithParams
                        : pass == 7 ? &ShredRuns::runShreddingPass7WithParams
                                    : &ShredRuns::runShreddingPass35WithParams;
    const QString flag = pass == 1 ? "-frsv" : pass == 7 ? "-frmv" : "-frv";
    const ShredEntryDics records = given.value_or(recordsOf(paths, pass));
    runOnWorker([&] { return (runs.*runner)(QStringList{flag} + paths, records, false); });
}

} // namespace

class TestShredRunner : public QObject {
    Q_OBJECT

    // Runs of the test's own on the rig's parts, to destroy while those stay.
    std::unique_ptr<ShredRuns> ownRuns(qsizetype chunkSize = ShredRuns::kChunkSize) const
    {
        return std::make_unique<ShredRuns>(rig->lists, rig->tasks, rig->window, rig->window,
                                           rig->window, rig->window, fakeHelperPath(), chunkSize);
    }

private Q_SLOTS:
    void init()
    {
        world = std::make_unique<TestWorld>();
        rig = std::make_unique<EngineRig>(fakeHelperPath());
        script = std::make_unique<RunnerScript>(world->root);
    }
    void cleanup()
    {
        script.reset();
        rig.reset();
        world.reset();
    }

    // (K + p) / T: K items finished before the current one, T the list's count, else the
    // records' files; with no files at all the ring shows full.
    void theRingIsFinishedItemsPlusTheCurrentFractionOverTheTotal_data()
    {
        QTest::addColumn<quint64>("count");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("rings");
        QTest::newRow("count of four") << quint64(4) << "F"
                                       << QStringList({"say 25%", "say removing F/x",
                                                       "say removing F/y", "say 50%", "say done"})
                                       << QStringList({"0.0625", "0.375", "0.5"});
        QTest::newRow("files of the records")
            << quint64(0) << "F" << QStringList({"say removing F/x", "say done"})
            << QStringList{"0.5"};
        QTest::newRow("nothing to count")
            << quint64(0) << "E" << QStringList({"say 50%", "say done"})
            << QStringList({"inf", "inf"});
    }

    void theRingIsFinishedItemsPlusTheCurrentFractionOverTheTotal()
    {
        QFETCH(quint64, count);
        QFETCH(QString, listed);
        QFETCH(QStringList, script);
        QFETCH(QStringList, rings);
        world->file("F/x");
        world->file("F/y");
        world->folder("E/inner");
        rig->lists.setTotalFilesPassCountNum(1, count);
        this->script->set(script.replaceInStrings("removing ", "removing " + world->root + "/"));
        runPass(rig->runs, 1, {world->root + "/" + listed});
        QCOMPARE(rig->window.linesStartingWith("ring"),
                 rings.replaceInStrings(QRegularExpression("^"), "ring 1 "));
    }

    void countingRulesPerMethodAndTotalsWhateverTheEnd()
    {
        const QString x = world->file("x", 4096);
        const quint64 xSize = Utils::fileSizeAtPath(x);
        const QString folder = world->folder("d");
        const QString missing = world->root + "/missing";
        const QStringList reads{"say removing " + x, "say removing " + missing,
                                "say removing " + folder, "say removing " + x + " 50%"};

        script->set(reads + QStringList{"exit 0"});
        runPass(rig->runs, 1, {x});
        QCOMPARE(totals().shredFilesCount, quint64(3));
        QCOMPARE(totals().shredDataSize, xSize);
        QVERIFY(rig->window.linesStartingWith("ring").isEmpty());

        world->file("x", 4096);
        script->set(reads + QStringList{"exit 5"});
        runPass(rig->runs, 7, {x});
        QCOMPARE(totals().shredFilesCount, quint64(4));
        QCOMPARE(totals().shredDataSize, 2 * xSize);
        QVERIFY(QFile::exists(x));

        // The helper may have removed an item before its message is read: what the run held
        // at launch still counts, with its size from then.
        script->set({"remove " + x, "say removing " + x, "exit 0"});
        runPass(rig->runs, 35, {x});
        QCOMPARE(totals().shredFilesCount, quint64(5));
        QCOMPARE(totals().shredDataSize, 3 * xSize);
    }

    // A name is bytes: a line feed, backslashes, bytes that are not UTF-8 and a trailing space
    // all reach the helper and come back from it as the item that was sent, counted with its size.
    void namesOfAnyBytesAreShreddedAndCounted()
    {
        QStringList paths;
        quint64 bytes = 0;
        for (const char* name : {"line\nfeed", "back\\slash\\n", "caf\xe9", "space "}) {
            paths.append(world->byteNamedFile(name, 100));
            bytes += Utils::fileSizeAtPath(paths.last());
        }
        rig->lists.setFilePathsArr(7, paths);
        rig->runs.shredFiles(rig->lists.pathsDicsForEditVC(), false);
        QTRY_COMPARE(rig->window.linesStartingWith("hud"),
                     QStringList{"hud 3 7-pass shredding is complete!"});
        QCOMPARE(totals().shredFilesCount, quint64(4));
        QCOMPARE(totals().shredDataSize, bytes);
        QVERIFY(rig->window.log.contains(QStringLiteral("descrTF 7 caf\ufffd")));
        for (const QString& path : paths) {
            QVERIFY(!Utils::itemExistsAtPath(path));
        }
    }

    void successRemovesOnlyTheMethodsOwnLeftovers()
    {
        const QString a = world->file("a");
        const QString b = world->file("b");
        const QString c = world->file("c");
        const QString linkTarget = world->file("target");
        const QString link = world->root + "/link";
        QVERIFY(QFile::link(linkTarget, link));
        ShredEntryDics records =
            recordsOf({a, link}, 7) + recordsOf({b}, 1) + recordsOf({c}, std::nullopt);
        script->set({"exit 0"});
        runPass(rig->runs, 7, {a, link}, records);
        QVERIFY(!QFile::exists(a) && !QFileInfo(link).isSymLink());
        QVERIFY(QFile::exists(linkTarget) && QFile::exists(b) && QFile::exists(c));
    }

    void aCancelledRunPrunesOnlyVanishedEntries()
    {
        const QString a = world->file("a");
        const QString b = world->file("b");
        const QString c = world->file("c");
        const QString d = world->file("d");
        rig->lists.setFilePathsArr(7, {a, b, c});
        rig->lists.setFilePathsArr(1, {d});
        script->set({"remove " + a, "remove " + d, "say removing " + b, "hang"});
        rig->window.onLog = [&](const QString& line) {
            if (line == "descrTF 7 b") {
                rig->tasks.terminate(7);
            }
        };
        runPass(rig->runs, 7, {a, b, c}, rig->lists.pathsDicsForEditVC());
        QCOMPARE(rig->window.log.filter(QRegularExpression("^(?!hideClearReveal)")),
                 QStringList({"mainTF 7 21 ..Shredding..", "descrTF 7 b", "addBtn 7 cancelShred",
                              "empty 1", "filled 7 [" + b + "," + c + "] refresh=1 size=1",
                              "empty 35"}));
        QCOMPARE(rig->lists.filePathsArr(7), QStringList({b, c}));
        QCOMPARE(rig->lists.filePathsArr(1), QStringList());
        QVERIFY(!rig->tasks.isShredding(7));
        QVERIFY(QFile::exists(b));
    }

    // Only a success with no list shredding any more quits; a failure never does.
    void quitOnCompleteOnlyAfterASuccessWithNothingRunning()
    {
        UserDefaults::standard().setBool(Utils::DefaultsKey::quitOnAllComplete, true);
        const QString a = world->file("a");
        script->set({"exit 1"});
        runPass(rig->runs, 7, {a});
        script->set({"hang"});
        std::thread busy([&] {
            rig->runs.runShreddingPass35WithParams({"-frv", a}, recordsOf({a}, 35), false);
        });
        QTRY_VERIFY(rig->tasks.shredTask(35) && rig->tasks.shredTask(35)->isRunning());
        script->set({"exit 0"});
        runPass(rig->runs, 7, {a});
        rig->tasks.terminate(35);
        busy.join();
        runPass(rig->runs, 1, {world->file("b")});
        QTRY_COMPARE(rig->window.log.last(), QString("terminate"));
        QCOMPARE(rig->window.linesStartingWith("terminate").size(), 1);
    }

    void aHelperThatCannotBeLaunchedChangesNothing()
    {
        const QString notExecutable = world->file("tolx");
        for (const QString& helper : {world->root + "/nowhere/tolx", notExecutable}) {
            EngineRig broken(helper);
            const QString a = world->file("a");
            broken.lists.setFilePathsArr(7, {a});
            broken.runs.shredFiles(broken.lists.pathsDicsForEditVC(), false);
            QTRY_COMPARE(broken.window.log,
                         QStringList{"hud 2 The shredding helper could not be started.\n"
                                     "Nothing was shredded."});
            QTRY_VERIFY(!broken.tasks.isShredding(7));
            QCOMPARE(broken.lists.filePathsArr(7), QStringList{a});
            QVERIFY(QFile::exists(a));
            QVERIFY(!Utils::getTotalShredInfoDic());
        }
    }

    void argumentListsHoldExistingPathsPerMethod()
    {
        const QString a = world->file("a");
        const QString b = world->file("b");
        const QString c = world->file("c");
        const QString d = world->file("d");
        const QString e = world->file("e");
        const QString dangling = world->root + "/dangling";
        QVERIFY(QFile::link(world->root + "/nothing", dangling));
        const ShredEntryDics records{{a, "a", 1},
                                     {world->root + "/gone", "gone", 1},
                                     {a, "a", 1},
                                     {b, "b", 0},
                                     {c, "c", {}},
                                     {d, "d", 7},
                                     {e, "e", 35},
                                     {e, "e", 5},
                                     {dangling, "dangling", 35}};
        const ShredArgumentsDic arguments = ShredRuns::shredArgumentsForPathDic(records);
        QCOMPARE(arguments.params1, std::optional<QStringList>({"-frsv", a, a, b, c}));
        QCOMPARE(arguments.params7, std::optional<QStringList>({"-frmv", d}));
        QCOMPARE(arguments.params35, std::optional<QStringList>({"-frv", e, dangling}));
        QVERIFY(
            ShredRuns::shredArgumentsForPathDic({{world->root + "/gone", "gone", 7}}).isEmpty());
    }

    // Nothing left that exists: no run and no message (an empty press is the window's test).
    void startingWithNothingThatExists()
    {
        rig->runs.shredFiles({{world->root + "/gone", "gone", 7}}, false);
        GlobalQueue::waitForDone();
        QVERIFY(rig->window.log.isEmpty());
        QVERIFY(script->launches().isEmpty());
    }

    // One press is one run per method however long its list: each launch is given only its own
    // share of the method's items, and one notice tells how all of them went.
    void longListsRunInChunksOfTheirOwnItems_data()
    {
        QTest::addColumn<qsizetype>("chunkSize");
        QTest::addColumn<int>("onePass");
        QTest::addColumn<int>("sevenPass");
        QTest::addColumn<QString>("sevenFolder");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("launches");
        QTest::addColumn<QStringList>("huds");
        const QStringList destroy{"destroy"};
        const QString seven = "seven";
        const QStringList sevenDone{"hud 3 7-pass shredding is complete!"};
        QTest::newRow("one list") << qsizetype(1000) << 0 << 1001 << seven << destroy
                                  << QStringList({"-frmv 1", "-frmv 1000"}) << sevenDone;
        QTest::newRow("the chunks are per method")
            << qsizetype(1000) << 10 << 995 << seven << destroy
            << QStringList({"-frmv 995", "-frsv 10"})
            << QStringList({"hud 3 1-pass shredding is complete!", sevenDone.first()});
        QTest::newRow("a failed first launch")
            << qsizetype(1000) << 0 << 1001 << seven
            << QStringList({"destroy", "fail-if-given FIRST"})
            << QStringList({"-frmv 1", "-frmv 1000"}) << QStringList();
        // 2,500 paths of 1,000 bytes are more than a command line may hold.
        const QString deep = QStringList(4, QString(240, u'd')).join(u'/');
        QTest::newRow("past the argument limit")
            << ShredRuns::kChunkSize << 0 << 2500 << deep << destroy << QStringList{"-frmv 2500"}
            << sevenDone;
    }

    void longListsRunInChunksOfTheirOwnItems()
    {
        QFETCH(qsizetype, chunkSize);
        QFETCH(int, onePass);
        QFETCH(int, sevenPass);
        QFETCH(QString, sevenFolder);
        QFETCH(QStringList, script);
        QFETCH(QStringList, launches);
        const auto runs = ownRuns(chunkSize);
        rig->lists.setFilePathsArr(1, world->files("one", onePass));
        rig->lists.setFilePathsArr(7, world->files(sevenFolder, sevenPass));
        this->script->set(script.replaceInStrings("FIRST", world->root + "/seven/f0"));
        runs->shredFiles(rig->lists.pathsDicsForEditVC(), false);
        QTRY_VERIFY_WITH_TIMEOUT(this->script->launches().size() == launches.size() &&
                                     !rig->tasks.shredTask(1) && !rig->tasks.shredTask(7),
                                 60000);
        GlobalQueue::waitForDone();
        QStringList made;
        for (const QString& launch : this->script->launches()) {
            made.append(
                QStringLiteral("%1 %2").arg(launch.section(u'\t', 0, 0)).arg(launch.count(u'\t')));
        }
        made.sort();
        QCOMPARE(made, launches);
        QStringList huds = rig->window.linesStartingWith("hud");
        huds.sort();
        QTEST(huds, "huds");
        QCOMPARE(QDir(world->root + "/" + sevenFolder).entryList(QDir::Files), QStringList());
        QCOMPARE(totals().shredFilesCount, quint64(onePass + sevenPass));
    }

    void cancellingStopsTheChunksNotYetStarted()
    {
        const QStringList paths = world->files("many", 1001);
        const auto runs = ownRuns(1000);
        rig->lists.setFilePathsArr(35, paths);
        script->set({"say removing " + paths.first(), "hang"});
        rig->window.onLog = [&](const QString& line) {
            if (line.startsWith("descrTF 35")) {
                rig->tasks.terminate(35);
            }
        };
        runs->shredFiles(rig->lists.pathsDicsForEditVC(), false);
        QTRY_VERIFY_WITH_TIMEOUT(!rig->window.linesStartingWith("filled 35").isEmpty(), 60000);
        GlobalQueue::waitForDone();
        QCOMPARE(script->launches().size(), 1);
        QVERIFY(!rig->tasks.isShredding(35));
        QCOMPARE(rig->lists.filePathsArr(35).size(), 1001);
    }

    // The runs go while their completion work waits on the main queue: it must never run.
    void workPostedForRunsThatAreGoneIsDropped()
    {
        const QString a = world->file("a");
        script->set({"say removing " + a, "say 50%", "say done", "exit 0"});
        auto runs = ownRuns();
        std::shared_future<void> completion;
        std::thread([&] {
            completion = runs->runShreddingPass1WithParams({"-frsv", a}, recordsOf({a}, 1), false);
        }).join();
        QVERIFY(completion.valid());
        runs.reset();
        QTest::qWait(50);
        QCOMPARE(rig->window.log, QStringList());
        QCOMPARE(completion.wait_for(std::chrono::seconds(0)), std::future_status::ready);
        QVERIFY(!rig->tasks.shredTask(1));
    }

    void runsStillGoingWhenTheyAreDestroyedAreTerminated()
    {
        const QString a = world->file("a");
        script->set({"say removing " + a, "hang"});
        auto runs = ownRuns();
        runs->shredFiles(recordsOf({a}, 1), false);
        QTRY_VERIFY_WITH_TIMEOUT(!rig->window.linesStartingWith("descrTF 1").isEmpty(), 60000);
        rig->window.log.clear();
        runs.reset();
        QVERIFY(!rig->tasks.isShredding(1));
        GlobalQueue::waitForDone();
        QTest::qWait(50);
        QCOMPARE(rig->window.log, QStringList());
        QVERIFY(QFile::exists(a));
    }

    void percentagesInTheUsersLocaleAndTheHelpersOwnForm_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("fraction");
        QTest::newRow("en") << "en_US" << QString(" 12.5% \r") << 0.125;
        QTest::newRow("fr own form") << "fr_FR" << QStringLiteral("45\u202f%") << 0.45;
        QTest::newRow("fr helper form") << "fr_FR" << QString("45%") << 0.45;
        QTest::newRow("de decimals") << "de_DE" << QStringLiteral("12,5\u00a0%") << 0.125;
        QTest::newRow("tr sign first") << "tr_TR" << QString("%45") << 0.45;
        QTest::newRow("other text") << "en_US" << QString("removing /x 50%") << -1.0;
        QTest::newRow("sign inside") << "de_DE" << QString("4%5") << -1.0;
    }

    void percentagesInTheUsersLocaleAndTheHelpersOwnForm()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(double, fraction);
        const auto parsed = parsePercentage(text, QLocale(locale));
        if (fraction < 0) {
            QCOMPARE(parsed, std::nullopt);
        } else {
            QVERIFY(parsed);
            QCOMPARE(*parsed, fraction);
        }
    }

    // A list of 50,000 files with 200-byte paths goes the whole road with one press: shredded by
    // the helper, one notice, exact lifetime totals, nothing left.
    void fiftyThousandLongPathsAreShreddedWithOnePress()
    {
        constexpr int kFiles = 50000;
        constexpr int kPathLength = 200;
        QStringList files;
        for (int i = 0; i < kFiles; ++i) {
            const QString name = QStringLiteral("tree/d%1/f%2-").arg(i % 50).arg(i);
            files.append(world->file(name.leftJustified(kPathLength - world->root.size() - 1, u'p'),
                                     i % 10 == 0 ? 1000 : 0));
        }
        const quint64 fileBytes = settledSize(files);

        EngineRig real(binDir() + "/tolx");
        real.lists.setFilePathsArr(1, files);
        real.lists.setTotalFilesPassCountNum(1, kFiles);

        real.runs.shredFiles(real.lists.pathsDicsForEditVC(), false);
        QTRY_VERIFY_WITH_TIMEOUT(!real.window.linesStartingWith("hud").isEmpty() ||
                                     !real.window.linesStartingWith("filled 1").isEmpty(),
                                 800000);
        GlobalQueue::waitForDone();
        QCOMPARE(real.window.linesStartingWith("hud"),
                 QStringList{"hud 3 1-pass shredding is complete!"});
        QCOMPARE(real.window.linesStartingWith("ring").last(), QString("ring 1 1"));
        for (const QString& file : files) {
            QVERIFY(!QFileInfo::exists(file));
        }
        QCOMPARE(real.lists.filePathsArr(1), QStringList());
        const TotalShredInfoDic totals = *Utils::getTotalShredInfoDic();
        QCOMPARE(totals.shredFilesCount.value_or(0), quint64(kFiles));
        QCOMPARE(totals.shredDataSize.value_or(0), fileBytes);
    }

private:
    // A file's allocated size changes when delayed allocation reaches the disk, which a loaded
    // machine may do only after the helper has measured it: measure once the writes are out.
    static quint64 settledSize(const QStringList& paths)
    {
        ::sync();
        quint64 bytes = 0;
        for (const QString& path : paths) {
            bytes += Utils::fileSizeAtPath(path);
        }
        return bytes;
    }

    std::unique_ptr<TestWorld> world;
    std::unique_ptr<EngineRig> rig;
    std::unique_ptr<RunnerScript> script;
};

QTEST_GUILESS_MAIN(TestShredRunner)
#include "test_shredrunner.moc"
