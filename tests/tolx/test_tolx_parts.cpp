#include "TolxRun.h"
#include "tolx/ChunkProducer.h"
#include "tolx/FileOverwriter.h"
#include "tolx/PassPlan.h"
#include "tolx/RandomStream.h"

#include <QSet>

using namespace tolvex::tolx;

namespace {

// Small chunks, so that a file of a few dozen KiB already crosses several chunk boundaries.
constexpr std::size_t kTestChunk = 3 * ChunkProducer::kAlignment;

QByteArray bytesOf(const PassPattern& pass)
{
    return QByteArray(reinterpret_cast<const char*>(pass.bytes().data()),
                      qsizetype(pass.bytes().size()));
}

} // namespace

class TestTolxParts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // 7 passes: a byte, its complement, random, two more bytes, the last one's complement,
    // random. 35 passes: 4 random, the 27 fixed patterns shuffled, 4 random. Drawn anew per file.
    void methodsFollowTheirSequences()
    {
        const QByteArray fixed = "00 11 22 249249 249249 33 44 492492 492492 55 55 66 6DB6DB 77 "
                                 "88 924924 924924 99 AA AA B6DB6D BB CC DB6DB6 DD EE FF";
        RandomStream random;
        QSet<QByteArray> firstBytes, orders;
        for (int file = 0; file < 4; ++file) {
            const auto seven = passPlanFor(ShredMethod::SevenPass, random);
            QByteArray kinds;
            for (const PassPattern& pass : seven)
                kinds += pass.isRandom() ? 'r' : char('0' + pass.bytes().size());
            QCOMPARE(kinds, QByteArray("11r111r"));
            QCOMPARE(seven[1].bytes()[0], std::uint8_t(~seven[0].bytes()[0]));
            QCOMPARE(seven[5].bytes()[0], std::uint8_t(~seven[4].bytes()[0]));
            firstBytes << bytesOf(seven[0]);
            QByteArrayList patterns;
            for (const PassPattern& pass : passPlanFor(ShredMethod::ThirtyFivePass, random))
                patterns << bytesOf(pass).toHex().toUpper();
            QVERIFY(patterns.size() == 35 &&
                    patterns.mid(0, 4) + patterns.mid(31) == QByteArrayList(8, QByteArray()));
            orders << patterns.join(' ');
            patterns = patterns.mid(4, 27);
            std::sort(patterns.begin(), patterns.end());
            QCOMPARE(patterns.join(' '), fixed);
        }
        QVERIFY(firstBytes.size() > 1 && orders.size() > 1);
    }

    void passesOverwriteTheWholeRegion_data()
    {
        QTest::addColumn<bool>("direct");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("sparse");
        QTest::addColumn<qint64>("from");
        const auto chunk = qint64(kTestChunk);
        QTest::newRow("direct, unaligned tail") << true << 5 * chunk + 4097 << false << qint64(0);
        QTest::newRow("direct, aligned") << true << 2 * chunk << false << qint64(0);
        QTest::newRow("buffered") << false << chunk + 7 << false << qint64(0);
        QTest::newRow("smaller than a block") << true << qint64(5) << false << qint64(0);
        QTest::newRow("holes are written too") << true << qint64(1 << 20) << true << qint64(0);
        QTest::newRow("the part that grew") << true << 3 * chunk + 9 << false << chunk + 4101;
    }

    // Fixed patterns repeat from the file's first byte. Each pass must be whole and on the file
    // before the next starts: the file is read back as each pass completes. Bytes before the
    // region's first block stay as they were.
    void passesOverwriteTheWholeRegion()
    {
        QFETCH(bool, direct);
        QFETCH(qint64, size);
        QFETCH(bool, sparse);
        QFETCH(qint64, from);
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath("f"));
        QVERIFY(writeFile(path, sparse ? "" : QByteArray(size, '\xE7')));
        QVERIFY(truncate(path, size) == 0);
        const std::vector<PassPattern> passes = {
            PassPattern::repeated(0x92, 0x49, 0x24), PassPattern::random(),
            PassPattern::repeated(0xB6, 0xDB, 0x6D), PassPattern::repeated(0x00)};
        const qsizetype start = from - from % qint64(ChunkProducer::kAlignment);
        const auto length = std::uint64_t(size - start);
        QByteArrayList seen;
        std::vector<std::uint64_t> progress;
        int fd = open(path, O_WRONLY | (direct ? O_DIRECT : 0));
        if (fd < 0 && errno == EINVAL)
            fd = open(path, O_WRONLY);
        RandomStream random;
        ChunkProducer producer(random, kTestChunk);
        FileOverwriter overwriter(producer);
        const int error = overwriter.overwrite(fd, std::uint64_t(from), std::uint64_t(size), passes,
                                               [&](std::uint64_t done) {
                                                   progress.push_back(done);
                                                   if (done % length == 0)
                                                       seen << readFile(path);
                                               });
        struct stat status {};
        QVERIFY(fstat(fd, &status) == 0 && close(fd) == 0 && error == 0);
        QVERIFY(status.st_size == size && status.st_blocks * 512 >= size);
        QCOMPARE(seen.size(), qsizetype(passes.size()));
        for (QByteArray& pass : seen) {
            QCOMPARE(pass.left(start), QByteArray(start, '\xE7'));
            pass.remove(0, start);
        }
        for (const std::size_t fixed : {0, 2, 3}) {
            const QByteArray pattern = bytesOf(passes[fixed]);
            QCOMPARE(seen[fixed], pattern.repeated(size).mid(start % pattern.size(), size - start));
        }
        // Random data does not compress.
        QVERIFY(seen[1] != seen[0] && qCompress(seen[1]).size() > seen[1].size() * 99 / 100);
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
        QCOMPARE(progress.back(), length * passes.size());
    }
};

QTEST_GUILESS_MAIN(TestTolxParts)
#include "test_tolx_parts.moc"
