#include "kit/BezierPathQuartzUtilities.h"
#include "kit/KeyboardLayout.h"
#include "kit/UtilsSystem.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tolvex;

namespace {

const char* const kRulesList = "! model\n"
                               "  pc105           Generic 105-key PC\n"
                               "\n"
                               "! layout\n"
                               "  us              English (US)\n"
                               "  fr              French\n"
                               "\n"
                               "! variant\n"
                               "  us              fr: French (US)\n"
                               "  dvorak          us: English (Dvorak)\n"
                               "  azerty          fr: French (AZERTY)\n"
                               "  dvorak          fr: French (Dvorak)\n";

QList<QPointF> points(const QPainterPath& path)
{
    QList<QPointF> result;
    for (int i = 0; i < path.elementCount(); ++i)
        result << QPointF(path.elementAt(i));
    return result;
}

} // namespace

class TestKitHelpers : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;

    QString rulesListPath() const { return dir.filePath(QStringLiteral("evdev.lst")); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QFile list(rulesListPath());
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(kRulesList);
    }

    void cleanup() { KeyboardLayout::setForTesting(std::nullopt); }

    void percentEscaping()
    {
        QCOMPARE(Utils::percentEscapedString(QStringLiteral("a b&c=d \u00e9-._~Z9%")),
                 QStringLiteral("a%20b%26c%3Dd%20%C3%A9-._~Z9%25"));
        QCOMPARE(Utils::percentEscapedString(QStringLiteral("!#$&'()*+,/:;=?@[]")),
                 QStringLiteral("%21%23%24%26%27%28%29%2A%2B%2C%2F%3A%3B%3D%3F%40%5B%5D"));
    }

    void keyboardLayouts()
    {
        const std::tuple<const char*, const char*, bool, bool> cases[] = {
            {"French", "fr", true, false},
            {"French (AZERTY)", "fr(azerty)", true, false},
            {"French (Dvorak)", "fr(dvorak)", true, true},
            {"English (Dvorak)", "us(dvorak)", false, true},
            {"Arabic (AZERTY)", "ara(azerty)", true, false},
            {"English (US)", "us", false, false},
            {"Something", "fry", false, false},
            {"", "", false, false}};
        for (const auto& [name, identifier, azerty, dvorak] : cases) {
            KeyboardLayout::setForTesting(KeyboardInputSource{name, identifier});
            QVERIFY2(Utils::checkIfKeyboardIsAzerty() == azerty, identifier);
            QVERIFY2(Utils::checkIfKeyboardIsDvorak() == dvorak, identifier);
        }
    }

    void layoutFromTheXkbConfiguration()
    {
        const QByteArray rulesNames("evdev\0pc105\0us,fr\0,azerty\0grp:alt_shift_toggle\0", 46);
        auto source = KeyboardLayout::inputSourceFromRulesNames(rulesNames, 1, rulesListPath());
        QCOMPARE(source.identifier, QStringLiteral("fr(azerty)"));
        QCOMPARE(source.localizedName, QStringLiteral("French (AZERTY)"));
        source = KeyboardLayout::inputSourceFromRulesNames(rulesNames, 0, rulesListPath());
        QCOMPARE(source.identifier, QStringLiteral("us"));
        QCOMPARE(source.localizedName, QStringLiteral("English (US)"));
        // A group the lists do not have falls back to the first layout.
        QCOMPARE(
            KeyboardLayout::inputSourceFromRulesNames(rulesNames, 5, rulesListPath()).identifier,
            QStringLiteral("us"));
        // Variant names repeat across layouts; the layout picks the right one.
        QCOMPARE(
            KeyboardLayout::inputSourceFromLists("fr", "dvorak", 0, rulesListPath()).localizedName,
            QStringLiteral("French (Dvorak)"));
        QCOMPARE(
            KeyboardLayout::inputSourceFromLists("us", "dvorak", 0, rulesListPath()).localizedName,
            QStringLiteral("English (Dvorak)"));
        QCOMPARE(KeyboardLayout::inputSourceFromLists("xx", "", 0, rulesListPath()).localizedName,
                 QString());
    }

    void onlyTheLastSubpathIsClosedOnce()
    {
        QVERIFY(!BezierPathQuartzUtilities::quartzPath({}).has_value());

        QPainterPath twoStrokes;
        twoStrokes.moveTo(0, 0);
        twoStrokes.lineTo(5, 0);
        twoStrokes.moveTo(0, 10);
        twoStrokes.lineTo(5, 10);
        const auto closed = BezierPathQuartzUtilities::quartzPath(twoStrokes);
        QVERIFY(closed);
        QCOMPARE(points(*closed), QList<QPointF>({{0, 0}, {5, 0}, {0, 10}, {5, 10}, {0, 10}}));
        // Converting the result again finds it closed and adds nothing.
        QCOMPARE(points(*BezierPathQuartzUtilities::quartzPath(*closed)), points(*closed));
    }
};

QTEST_GUILESS_MAIN(TestKitHelpers)
#include "test_kithelpers.moc"
