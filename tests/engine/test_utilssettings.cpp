#include "EngineTestRig.h"
#include "engine/UtilsSettings.h"
#include "platform/UserDefaults.h"

#include <QTemporaryDir>
#include <QTest>
#include <limits>
#include <thread>

using namespace tolvex;
using tolvex::testing::storedTotals;

class TestUtilsSettings : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private Q_SLOTS:
    void init()
    {
        UserDefaults::setStandardForTesting(dir_.filePath(QTest::currentTestFunction()));
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
};

QTEST_GUILESS_MAIN(TestUtilsSettings)
#include "test_utilssettings.moc"
