#include "tolx/ChunkProducer.h"
#include "tolx/FileOverwriter.h"
#include "tolx/PassPlan.h"
#include "tolx/RandomStream.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace tolvex::tolx;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Small chunks, so that a file of a few dozen KiB already crosses several chunk boundaries.
constexpr std::size_t kTestChunk = 3 * ChunkProducer::kAlignment;

// The fixed patterns of the 35-pass method.
const QByteArray kThirtyFivePassFixedPatterns =
    "55 AA 924924 492492 249249 00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF 924924 492492 "
    "249249 6DB6DB B6DB6D DB6DB6";

Bytes toBytes(const QByteArray& data)
{
    return Bytes(data.begin(), data.end());
}

Bytes readWhole(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? toBytes(file.readAll()) : Bytes();
}

void writeWhole(const QString& path, const Bytes& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

// data holds the file's bytes from offset on.
bool repeats(const Bytes& data, const Bytes& pattern, std::size_t offset)
{
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] != pattern[(offset + i) % pattern.size()])
            return false;
    }
    return !data.empty();
}

// A random pass leaves no byte value far more common than chance allows.
bool looksRandom(const Bytes& data)
{
    std::array<std::size_t, 256> counts{};
    for (const std::uint8_t b : data)
        ++counts[b];
    return *std::max_element(counts.begin(), counts.end()) < data.size() / 256 * 2 + 32;
}

Bytes patternBytes(const PassPattern& pass)
{
    return Bytes(pass.bytes().begin(), pass.bytes().end());
}

} // namespace

class TestTolxPasses : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sevenPassesFollowTheDodSequence()
    {
        RandomStream random;
        std::vector<std::uint8_t> firstBytes;
        for (int file = 0; file < 8; ++file) {
            const auto plan = passPlanFor(ShredMethod::SevenPass, random);
            QCOMPARE(plan.size(), std::size_t(7));
            for (const int fixed : {0, 1, 3, 4, 5})
                QCOMPARE(plan[fixed].bytes().size(), std::size_t(1));
            QVERIFY(plan[2].isRandom());
            QVERIFY(plan[6].isRandom());
            QCOMPARE(plan[1].bytes()[0], std::uint8_t(~plan[0].bytes()[0]));
            QCOMPARE(plan[5].bytes()[0], std::uint8_t(~plan[4].bytes()[0]));
            firstBytes.push_back(plan[0].bytes()[0]);
        }
        // Drawn anew for every file.
        QVERIFY(std::adjacent_find(firstBytes.begin(), firstBytes.end(), std::not_equal_to<>()) !=
                firstBytes.end());
    }

    void thirtyFivePassesShuffleTheFixedPatternsPerFile()
    {
        std::vector<Bytes> expected;
        for (const QByteArray& hex : kThirtyFivePassFixedPatterns.split(' '))
            expected.push_back(toBytes(QByteArray::fromHex(hex)));
        std::sort(expected.begin(), expected.end());
        RandomStream random;
        std::vector<Bytes> orders[2];
        for (std::vector<Bytes>& fixed : orders) {
            const auto plan = passPlanFor(ShredMethod::ThirtyFivePass, random);
            QCOMPARE(plan.size(), std::size_t(35));
            for (std::size_t i = 0; i < plan.size(); ++i) {
                QCOMPARE(plan[i].isRandom(), i < 4 || i >= 31);
                if (!plan[i].isRandom())
                    fixed.push_back(patternBytes(plan[i]));
            }
            std::vector<Bytes> sorted = fixed;
            std::sort(sorted.begin(), sorted.end());
            QCOMPARE(sorted, expected);
        }
        QVERIFY(orders[0] != orders[1]);
    }

    void fixedPatternsRepeatFromTheFilesFirstByte_data()
    {
        QTest::addColumn<bool>("direct");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("sparse");
        QTest::addColumn<qint64>("from");
        QTest::newRow("direct, unaligned tail")
            << true << qint64(5 * kTestChunk + 4097) << false << qint64(0);
        QTest::newRow("direct, aligned") << true << qint64(2 * kTestChunk) << false << qint64(0);
        QTest::newRow("buffered") << false << qint64(kTestChunk + 7) << false << qint64(0);
        QTest::newRow("smaller than a block") << true << qint64(5) << false << qint64(0);
        QTest::newRow("holes are written too") << true << qint64(1 << 20) << true << qint64(0);
        QTest::newRow("the part that grew")
            << true << qint64(3 * kTestChunk + 9) << false << qint64(kTestChunk + 4101);
    }

    // Each pass must be whole and on the file before the next starts: the file is read back
    // as each pass completes. Bytes before the region's first block stay as they were.
    void fixedPatternsRepeatFromTheFilesFirstByte()
    {
        QFETCH(bool, direct);
        QFETCH(qint64, size);
        QFETCH(bool, sparse);
        QFETCH(qint64, from);
        QTemporaryDir dir;
        const QString path = dir.filePath("f");
        writeWhole(path, Bytes(sparse ? 0 : std::size_t(size), 0xE7));
        if (sparse) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.resize(size) && file.seek(size / 2));
            QCOMPARE(file.write("data"), 4);
        }
        const std::vector<PassPattern> passes = {
            PassPattern::repeated(0x92, 0x49, 0x24), PassPattern::random(),
            PassPattern::repeated(0xB6, 0xDB, 0x6D), PassPattern::repeated(0x00)};
        const auto start = std::size_t(from - from % qint64(ChunkProducer::kAlignment));
        const std::uint64_t region = std::uint64_t(size) - start;
        std::vector<Bytes> seen;
        std::vector<std::uint64_t> progress;
        int fd = open(QFile::encodeName(path).constData(), O_WRONLY | (direct ? O_DIRECT : 0));
        if (fd < 0 && errno == EINVAL)
            fd = open(QFile::encodeName(path).constData(), O_WRONLY);
        QVERIFY(fd >= 0);
        RandomStream random;
        ChunkProducer producer(random, kTestChunk);
        FileOverwriter overwriter(producer);
        const int error = overwriter.overwrite(fd, std::uint64_t(from), std::uint64_t(size), passes,
                                               [&](std::uint64_t done) {
                                                   progress.push_back(done);
                                                   if (done % region == 0)
                                                       seen.push_back(readWhole(path));
                                               });
        struct stat status {};
        fstat(fd, &status);
        close(fd);
        QCOMPARE(error, 0);
        QCOMPARE(status.st_size, size);
        QVERIFY(status.st_blocks * 512 >= size);
        QCOMPARE(seen.size(), passes.size());
        for (Bytes& pass : seen) {
            QVERIFY(
                std::all_of(pass.begin(), pass.begin() + start, [](auto b) { return b == 0xE7; }));
            pass.erase(pass.begin(), pass.begin() + start);
        }
        for (const std::size_t fixed : {0, 2, 3})
            QVERIFY2(repeats(seen[fixed], patternBytes(passes[fixed]), start),
                     qPrintable(QString::number(fixed)));
        QVERIFY(seen[1] != seen[0] && seen[1] != seen[2]);
        if (size > 4096)
            QVERIFY(looksRandom(seen[1]));
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
        QCOMPARE(progress.back(), region * passes.size());
    }
};

QTEST_GUILESS_MAIN(TestTolxPasses)
#include "test_tolx_passes.moc"
