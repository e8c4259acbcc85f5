#include "tolx/ChunkProducer.h"
#include "tolx/FileOverwriter.h"
#include "tolx/PassPlan.h"
#include "tolx/RandomStream.h"

#include <QFile>
#include <QFileInfo>
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

Bytes readWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

void writeWhole(const QString& path, const Bytes& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

bool repeats(const Bytes& data, const Bytes& pattern)
{
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] != pattern[i % pattern.size()])
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
        const std::vector<Bytes> gutmann = {{0x55},
                                            {0xAA},
                                            {0x92, 0x49, 0x24},
                                            {0x49, 0x24, 0x92},
                                            {0x24, 0x92, 0x49},
                                            {0x00},
                                            {0x11},
                                            {0x22},
                                            {0x33},
                                            {0x44},
                                            {0x55},
                                            {0x66},
                                            {0x77},
                                            {0x88},
                                            {0x99},
                                            {0xAA},
                                            {0xBB},
                                            {0xCC},
                                            {0xDD},
                                            {0xEE},
                                            {0xFF},
                                            {0x92, 0x49, 0x24},
                                            {0x49, 0x24, 0x92},
                                            {0x24, 0x92, 0x49},
                                            {0x6D, 0xB6, 0xDB},
                                            {0xB6, 0xDB, 0x6D},
                                            {0xDB, 0x6D, 0xB6}};
        auto sorted = [](std::vector<Bytes> list) {
            std::sort(list.begin(), list.end());
            return list;
        };
        RandomStream random;
        std::vector<std::vector<Bytes>> orders;
        for (int file = 0; file < 2; ++file) {
            const auto plan = passPlanFor(ShredMethod::ThirtyFivePass, random);
            QCOMPARE(plan.size(), std::size_t(35));
            std::vector<Bytes> fixed;
            for (std::size_t i = 0; i < plan.size(); ++i) {
                const bool randomRun = i < 4 || i >= 31;
                QCOMPARE(plan[i].isRandom(), randomRun);
                if (!randomRun)
                    fixed.push_back(patternBytes(plan[i]));
            }
            QCOMPARE(sorted(fixed), sorted(gutmann));
            orders.push_back(fixed);
        }
        QVERIFY(orders[0] != orders[1]);
    }

    void fixedPatternsRepeatFromTheFilesFirstByte_data()
    {
        QTest::addColumn<bool>("direct");
        QTest::addColumn<qint64>("size");
        QTest::newRow("direct, unaligned tail") << true << qint64(5 * kTestChunk + 4097);
        QTest::newRow("direct, aligned") << true << qint64(2 * kTestChunk);
        QTest::newRow("buffered") << false << qint64(kTestChunk + 7);
        QTest::newRow("smaller than a block") << true << qint64(5);
    }

    // Each pass must be whole and on the file before the next starts: the file is read back
    // as each pass completes.
    void fixedPatternsRepeatFromTheFilesFirstByte()
    {
        QFETCH(bool, direct);
        QFETCH(qint64, size);
        QTemporaryDir dir;
        const QString path = dir.filePath("f");
        writeWhole(path, Bytes(std::size_t(size), 0xE7));
        const std::vector<PassPattern> passes = {
            PassPattern::repeated(0x92, 0x49, 0x24), PassPattern::random(),
            PassPattern::repeated(0xB6, 0xDB, 0x6D), PassPattern::repeated(0x00)};
        std::vector<Bytes> seen;
        std::vector<std::uint64_t> progress;
        int fd = open(QFile::encodeName(path).constData(), O_WRONLY | (direct ? O_DIRECT : 0));
        if (fd < 0 && errno == EINVAL)
            fd = open(QFile::encodeName(path).constData(), O_WRONLY);
        QVERIFY(fd >= 0);
        RandomStream random;
        ChunkProducer producer(random, kTestChunk);
        FileOverwriter overwriter(producer);
        const int error =
            overwriter.overwrite(fd, std::uint64_t(size), passes, [&](std::uint64_t done) {
                progress.push_back(done);
                if (done % std::uint64_t(size) == 0)
                    seen.push_back(readWhole(path));
            });
        close(fd);
        QCOMPARE(error, 0);
        QCOMPARE(seen.size(), passes.size());
        for (const std::size_t fixed : {0, 2, 3})
            QVERIFY2(repeats(seen[fixed], patternBytes(passes[fixed])),
                     qPrintable(QString::number(fixed)));
        QVERIFY(seen[1] != seen[0] && seen[1] != seen[2]);
        if (size > 4096)
            QVERIFY(looksRandom(seen[1]));
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
        QCOMPARE(progress.back(), std::uint64_t(size) * passes.size());
        QCOMPARE(QFileInfo(path).size(), size);
    }

    void holesAreWrittenToo()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("sparse");
        constexpr off_t kSize = 1 << 20;
        const int fd = open(QFile::encodeName(path).constData(), O_CREAT | O_RDWR, 0600);
        QVERIFY(fd >= 0);
        QCOMPARE(ftruncate(fd, kSize), 0);
        QCOMPARE(pwrite(fd, "data", 4, kSize / 2), ssize_t(4));
        RandomStream random;
        ChunkProducer producer(random, kTestChunk);
        FileOverwriter overwriter(producer);
        const PassPattern pass = PassPattern::repeated(0x55);
        QCOMPARE(overwriter.overwrite(fd, kSize, std::span(&pass, 1), [](std::uint64_t) {}), 0);
        struct stat status {};
        fstat(fd, &status);
        close(fd);
        QVERIFY(repeats(readWhole(path), {0x55}));
        QCOMPARE(status.st_size, kSize);
        QVERIFY(status.st_blocks * 512 >= kSize);
    }
};

QTEST_GUILESS_MAIN(TestTolxPasses)
#include "test_tolx_passes.moc"
