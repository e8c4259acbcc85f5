#include "../LoopImage.h"
#include "TolxRun.h"

using tolvex::testing::LoopImage;
using tolvex::testing::runTool;

namespace {

const QByteArray kMarker = "TolvexForensicMarker#7Q3Z;";
const QList<QByteArray> kNames = {"SecretAlphaQ7Z1", "SecretBetaQ7Z2", "SecretGammaQ7Z3",
                                  "HiddenFolderQ7Z4", "NestedSecretQ7Z5"};

} // namespace

class TestTolxForensic : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (const QString reason = LoopImage::skipReason(); !reason.isEmpty())
            QSKIP(qPrintable(reason));
    }

    void nothingOfTheFilesRemainsOnTheDevice_data()
    {
        QTest::addColumn<QString>("flags");
        for (const char* flags : {"-frsv", "-frmv", "-frv"})
            QTest::newRow(flags) << QString(flags);
    }

    // Files of 1 byte, 4 KiB and 1 MiB and a nested folder, synced to the image, then shredded:
    // neither their contents nor their names may be found anywhere in the raw image, journal
    // included. (A 1-byte file's content is too short to search for; its name is checked.)
    // Data appended to a 4 MiB file while it is overwritten is overwritten too.
    void nothingOfTheFilesRemainsOnTheDevice()
    {
        QFETCH(QString, flags);
        QTemporaryDir work;
        LoopImage image(work.filePath("image"), work.filePath("mnt"), 24);
        if (!image.isMounted())
            QSKIP(qPrintable("the image could not be loop-mounted: " + image.error()));
        const auto at = [&](const QByteArray& name) { return QFile::encodeName(image.path(name)); };
        const QByteArray block = markerBytes(4096, kMarker);
        QVERIFY(writeFile(at("growing"), block.repeated(1024)) && writeFile(at(kNames[0]), "M"));
        QVERIFY(writeFile(at(kNames[1]), block) && writeFile(at(kNames[2]), block.repeated(256)));
        QVERIFY(QDir().mkdir(at(kNames[3])));
        QVERIFY(writeFile(at(kNames[3] + '/' + kNames[4]), block.repeated(3)));
        sync();
        QVERIFY(image.rawBytes().contains(kMarker));
        QStringList arguments{flags, image.path("growing")};
        for (int i = 0; i < 4; ++i)
            arguments << image.path(kNames[i]);
        QProcess process;
        process.start(TolxLaunch().program, arguments);
        while (!process.readAllStandardOutput().contains('%') && process.waitForReadyRead(30000)) {
        }
        QVERIFY(writeFile(at("growing"), block.repeated(16), O_APPEND));
        QVERIFY(process.waitForFinished(60000) && process.exitCode() == 0);
        QVERIFY(image.unmount());
        const QByteArray raw = image.rawBytes();
        QVERIFY2(!raw.isEmpty() && !raw.contains(kMarker), "file contents survived");
        for (const QByteArray& name : kNames)
            QVERIFY2(!raw.contains(name), name.constData());
    }

    // Inside a folder, named directly, or a single file bound over another: a mount point is
    // never entered or overwritten.
    void mountPointsAreLeftAlone()
    {
        QTemporaryDir work;
        LoopImage outer(work.filePath("outer.img"), work.filePath("outer"), 8);
        if (!outer.isMounted())
            QSKIP(qPrintable("the image could not be loop-mounted: " + outer.error()));
        const QString folder = outer.path("folder");
        QVERIFY(QDir().mkpath(folder + "/inner"));
        QVERIFY(writeFile(QFile::encodeName(folder + "/mine"), kMarker));
        LoopImage inner(work.filePath("inner.img"), folder + "/inner", 4);
        QVERIFY2(inner.isMounted(), inner.error().constData());
        QVERIFY(writeFile(QFile::encodeName(inner.path("theirs")), kMarker));
        const QString bound = work.filePath("bound");
        QVERIFY(writeFile(QFile::encodeName(bound), {}) &&
                writeFile(QFile::encodeName(work.filePath("src")), kMarker));
        QVERIFY(runTool("mount", {"--bind", work.filePath("src"), bound}));
        const TolxRun run =
            TolxRun::run({"-frsv", QFile::encodeName(folder), QFile::encodeName(inner.mountPoint()),
                          QFile::encodeName(bound)});
        runTool("umount", {bound});
        QVERIFY(run.exitCode == 1 && run.errors.contains("inner: is a mount point") &&
                run.errors.contains("bound: is a mount point"));
        QVERIFY(!QFile::exists(folder + "/mine") && QFile::exists(folder));
        QVERIFY(readFile(QFile::encodeName(inner.path("theirs"))) == kMarker &&
                readFile(QFile::encodeName(work.filePath("src"))) == kMarker);
    }
};

QTEST_GUILESS_MAIN(TestTolxForensic)
#include "test_tolx_forensic.moc"
