#include "engine/UtilsSettings.h"
#include "platform/UserDefaults.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <thread>

using namespace tolvex;

namespace {

TotalShredInfoDic delta(std::optional<quint64> bytes, std::optional<quint64> files)
{
    return TotalShredInfoDic{bytes, files};
}

} // namespace

class TestUtilsSettings : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString iniPath_;

    std::pair<quint64, quint64> storedTotals() const
    {
        const std::optional<TotalShredInfoDic> totals = Utils::getTotalShredInfoDic();
        if (!totals)
            return {0, 0};
        return {totals->shredDataSize.value_or(0), totals->shredFilesCount.value_or(0)};
    }

private Q_SLOTS:
    void init()
    {
        static int store = 0;
        iniPath_ = dir_.filePath(QStringLiteral("store%1.conf").arg(++store));
        UserDefaults::setStandardForTesting(iniPath_);
    }

    void emptyStoreReadsAsNothing()
    {
        QCOMPARE(Utils::defShredMethodInd(), 0);
        QVERIFY(!Utils::defShreddingEnbled());
        QVERIFY(!Utils::shouldQuitOnAllComplete());
        QVERIFY(!Utils::windIsVert_cal());
        QVERIFY(!Utils::shownHarlightAd());
        QVERIFY(!Utils::getTotalShredInfoDic());
    }

    void settingsLiveUnderTheirKeys()
    {
        UserDefaults& defaults = UserDefaults::standard();
        Utils::defShredMethodInd(5);
        Utils::windIsVert_calSave(true);
        Utils::shownHarlightAdSave(true);
        defaults.setBool("kDefaultShreddingEnbled", true);
        defaults.setBool("kQuitOnAllComplete", true);

        QCOMPARE(Utils::defShredMethodInd(), 5);
        QVERIFY(Utils::defShreddingEnbled());
        QVERIFY(Utils::shouldQuitOnAllComplete());
        QVERIFY(Utils::windIsVert_cal());
        QVERIFY(Utils::shownHarlightAd());
        QSettings file(iniPath_, QSettings::IniFormat);
        QCOMPARE(file.value("kSelectedDefShredMethodInd").toInt(), 5);
        QCOMPARE(file.value("windowIsVert_cal").toBool(), true);
        QCOMPARE(file.value("kShowHarlightAd").toBool(), true);
    }

    void everyAddAddsToTheStoredTotals()
    {
        Utils::overWriteTotalShredInfoDic(delta(1000, 3));
        QCOMPARE(storedTotals(), std::make_pair(quint64(1000), quint64(3)));
        Utils::overWriteTotalShredInfoDic(delta(1000, 3));
        QCOMPARE(storedTotals(), std::make_pair(quint64(2000), quint64(6)));
        Utils::overWriteTotalShredInfoDic(delta(std::nullopt, 4));
        QCOMPARE(storedTotals(), std::make_pair(quint64(2000), quint64(10)));

        const QVariantMap record =
            QSettings(iniPath_, QSettings::IniFormat).value("kTotalShredDataDic").toMap();
        QCOMPARE(record.keys(), QStringList({"shredDataSize", "shredFilesCount"}));
    }

    void totalsGoBeyondThirtyTwoBits()
    {
        const quint64 fourGigabytes = quint64(1) << 32;
        Utils::overWriteTotalShredInfoDic(delta(3 * fourGigabytes, fourGigabytes + 1));
        Utils::overWriteTotalShredInfoDic(delta(3 * fourGigabytes, fourGigabytes + 1));
        QCOMPARE(storedTotals(), std::make_pair(6 * fourGigabytes, 2 * fourGigabytes + 2));
    }

    void runsEndingTogetherLoseNothing()
    {
        static constexpr int addsPerRun = 1000;
        static constexpr quint64 bytesPerAdd = 3000000;
        const auto run = [] {
            for (int i = 0; i < addsPerRun; ++i)
                Utils::overWriteTotalShredInfoDic(delta(bytesPerAdd, 1));
        };
        std::thread first(run);
        std::thread second(run);
        first.join();
        second.join();
        QCOMPARE(storedTotals(),
                 std::make_pair(2 * addsPerRun * bytesPerAdd, quint64(2 * addsPerRun)));
    }
};

QTEST_GUILESS_MAIN(TestUtilsSettings)
#include "test_utilssettings.moc"
