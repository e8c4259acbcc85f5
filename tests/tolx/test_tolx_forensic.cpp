#include "../LoopImage.h"
#include "TolxRun.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <unistd.h>

using tolvex::testing::LoopImage;

namespace {

const QByteArray kMarker = "TolvexForensicMarker#7Q3Z;";
const QList<QByteArray> kNames = {"SecretAlphaQ7Z1", "SecretBetaQ7Z2", "SecretGammaQ7Z3",
                                  "HiddenFolderQ7Z4", "NestedSecretQ7Z5"};

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

} // namespace

class TestTolxForensic : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString skipReason = LoopImage::skipReason();
        if (!skipReason.isEmpty())
            QSKIP(qPrintable(skipReason));
    }

    void nothingOfTheFilesRemainsOnTheDevice_data()
    {
        QTest::addColumn<QString>("flags");
        QTest::newRow("1 pass") << "-frsv";
        QTest::newRow("7 passes") << "-frmv";
        QTest::newRow("35 passes") << "-frv";
    }

    // Files of 1 byte, 4 KiB and 1 MiB and a nested folder, synced to the image, then shredded:
    // neither their contents nor their names may be found anywhere in the raw image, journal
    // included. (A 1-byte file's content is too short to search for; its name is checked.)
    void nothingOfTheFilesRemainsOnTheDevice()
    {
        QFETCH(QString, flags);
        QTemporaryDir work;
        LoopImage image(work.filePath("image"), work.filePath("mnt"), 16);
        if (!image.isMounted())
            QSKIP(qPrintable("the image could not be loop-mounted: " + image.error()));
        const QByteArray block = kMarker.repeated(4096 / kMarker.size() + 1).left(4096);
        writeFile(image.path(kNames[0]), "M");
        writeFile(image.path(kNames[1]), block);
        writeFile(image.path(kNames[2]), block.repeated(256));
        QVERIFY(QDir().mkdir(image.path(kNames[3])));
        writeFile(image.path(kNames[3] + '/' + kNames[4]), block.repeated(3));
        sync();
        QVERIFY(image.rawBytes().contains(kMarker));

        QStringList arguments{flags};
        for (int i = 0; i < 4; ++i)
            arguments << image.path(kNames[i]);
        const TolxRun run = TolxRun::run(arguments);
        QVERIFY2(run.succeeded(), run.errors.constData());
        QVERIFY(image.unmount());

        const QByteArray raw = image.rawBytes();
        QVERIFY(!raw.isEmpty());
        QVERIFY2(!raw.contains(kMarker), "file contents survived");
        for (const QByteArray& name : kNames)
            QVERIFY2(!raw.contains(name), name.constData());
    }

    void aMountPointInsideAFolderIsNotEntered()
    {
        QTemporaryDir work;
        LoopImage outer(work.filePath("outer.img"), work.filePath("outer"), 8);
        if (!outer.isMounted())
            QSKIP(qPrintable("the image could not be loop-mounted: " + outer.error()));
        const QString folder = outer.path("folder");
        QVERIFY(QDir().mkpath(folder + "/inner"));
        writeFile(folder + "/mine", kMarker);
        LoopImage inner(work.filePath("inner.img"), folder + "/inner", 4);
        QVERIFY2(inner.isMounted(), inner.error().constData());
        writeFile(inner.path("theirs"), kMarker);

        const TolxRun run = TolxRun::run({"-frsv", folder});

        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.errors.contains("inner: is a mount point"));
        QVERIFY(!QFile::exists(folder + "/mine"));
        QVERIFY(QFile::exists(folder));
        QFile theirs(inner.path("theirs"));
        QVERIFY(theirs.open(QIODevice::ReadOnly));
        QCOMPARE(theirs.readAll(), kMarker);
        QVERIFY(!run.removedPaths().contains(QFile::encodeName(folder + "/inner")));
    }
};

QTEST_GUILESS_MAIN(TestTolxForensic)
#include "test_tolx_forensic.moc"
