// The window with its own title bar and the alerts, sheets and file panels shown over it.
#include "kit/AlertPresenter.h"
#include "kit/AlertSheet.h"
#include "kit/ApplicationModal.h"
#include "kit/FilePanelDialog.h"
#include "kit/UtilsSystem.h"
#include "kit/WAYWindow.h"
#include "tests/UrlCatcher.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>

using namespace tolvex;

namespace {

// Asks the window to close again from inside its own answer, as a delegate that closes the
// window after a question would.
class ReenteringDelegate : public WindowDelegate {
public:
    WAYWindow* window = nullptr;
    bool answer = false;
    int asked = 0;

    bool windowShouldClose(WAYWindow* sender) override
    {
        ++asked;
        window->performClose();
        return sender == window && answer;
    }
};

// The buttons' y measured upwards from the bottom of the title bar, as the placement rules
// give it.
QList<int> yFromBottom(const WAYWindow& window)
{
    QList<int> ys;
    for (QAbstractButton* button : window.standardButtons())
        ys << window.titleBarView()->height() - button->y() - button->height();
    return ys;
}

QStringList buttonsLeftToRight(const AlertSheet* sheet)
{
    QList<QPushButton*> buttons = sheet->buttons();
    std::sort(buttons.begin(), buttons.end(), [](QAbstractButton* a, QAbstractButton* b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    QStringList titles;
    for (QAbstractButton* button : buttons)
        titles << button->text();
    return titles;
}

// The sheet hangs under the title bar, centred on the surface and inside it, with its texts
// and buttons whole.
void hangsInsideTheWindow(const WAYWindow& window, const AlertSheet* sheet)
{
    const QRect surface = window.surfaceRect();
    QCOMPARE(sheet->y(), surface.top() + window.titleBarView()->height());
    QVERIFY(qAbs(sheet->geometry().center().x() - surface.center().x()) <= 1);
    QVERIFY(surface.contains(sheet->geometry()));
    for (const QLabel* label : {sheet->messageLabel(), sheet->informativeLabel()})
        QVERIFY(label->isHidden() || label->heightForWidth(label->width()) <= label->height());
    for (const QPushButton* button : sheet->buttons()) {
        QVERIFY(sheet->rect().contains(button->geometry()));
        QVERIFY(button->fontMetrics().horizontalAdvance(button->text()) < button->width());
    }
}
// Selects `paths` in the panel's file list, as clicks with Ctrl held would.
void choose(QFileDialog* panel, const QStringList& paths)
{
    auto* view = panel->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    QTRY_VERIFY(view->model()->rowCount(view->rootIndex()) > 0);
    view->selectionModel()->clearSelection();
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
        const QModelIndex index = view->model()->index(row, 0, view->rootIndex());
        if (paths.contains(index.data(QFileSystemModel::FilePathRole).toString()))
            view->selectionModel()->select(index,
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QCOMPARE(panel->selectedFiles(), paths);
}

const Alert kCloseSheet{
    QStringLiteral("One or more shredding operations are still running!"),
    QStringLiteral("Closing this window will terminate all running shred "
                   "operations."),
    {QStringLiteral("Don't close"), QStringLiteral("Close Window and terminate tasks")},
    AlertStyle::Critical,
    {}};

} // namespace

class TestWAYWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Buttons of 14 in a row from x 10, 20 apart, in a title bar of 60 with a top margin of 5.
    void buttonPlacement()
    {
        for (const auto& [centred, y] : {std::pair{true, 23}, std::pair{false, 41}}) {
            WAYWindow window;
            window.resize(400, 300);
            window.setTitleBarHeight(60);
            window.setTrafficLightButtonsLeftMargin(10);
            window.setTrafficLightButtonsTopMargin(5);
            window.setCenterTrafficLightButtons(centred);
            QCOMPARE(window.standardButtons()[0]->height(), 14);
            QList<int> xs;
            for (QAbstractButton* button : window.standardButtons())
                xs << button->x();
            QCOMPARE(xs, QList<int>({10, 30, 50}));
            QCOMPARE(yFromBottom(window), QList<int>({y, y, y}));
        }
    }

    void titleBarHeightHasAMinimumAndOneSpacer()
    {
        WAYWindow window;
        window.resize(400, 300);
        window.setTitleBarHeight(10);
        // Set too low, the title bar stays as high as a standard one, its buttons inside it.
        const WAYWindow standard;
        QCOMPARE(window.titleBarView()->height(), standard.titleBarView()->height());
        for (const QAbstractButton* button : window.standardButtons())
            QVERIFY(window.titleBarView()->rect().contains(button->geometry()));

        window.setTitleBarHeight(40);
        QPointer<QWidget> first = window.dummyTitlebarAccessoryViewController();
        window.setTitleBarHeight(50);
        QVERIFY(!first);
        const auto spacers = window.findChildren<QWidget*>(QStringLiteral("titlebarAccessory"));
        QCOMPARE(spacers.size(), 1);
        QCOMPARE(spacers[0]->height(), 28);
        QCOMPARE(window.titleBarView()->height(), 50);
        QCOMPARE(window.size(), QSize(400, 300));
        QCOMPARE(yFromBottom(window), QList<int>({18, 18, 18}));
    }

    void delegateProxyDropsAReenteringQuestion()
    {
        WAYWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ReenteringDelegate delegate;
        delegate.window = &window;
        window.setDelegate(&delegate);

        QTest::mouseClick(window.standardButtons()[0], Qt::LeftButton);
        QCOMPARE(delegate.asked, 1);
        QVERIFY(window.isVisible());

        delegate.answer = true;
        window.performClose();
        QCOMPARE(delegate.asked, 2);
        QVERIFY(!window.isVisible());
    }

    // A window fixed at its size does not zoom, and its zoom button is grey. In a window in the
    // background all three buttons are grey.
    void zoomAndTheButtonsLooks()
    {
        WAYWindow window;
        window.show();
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());
        QTest::mouseMove(&window, QPoint(250, 150));
        const auto greys = [&] {
            QList<bool> grey;
            for (QAbstractButton* button : window.standardButtons())
                grey << (button->grab().toImage().pixelColor(7, 7).hsvSaturation() < 40);
            return grey;
        };
        QCOMPARE(greys(), QList<bool>({false, false, false}));
        window.setFixedSize(300, 220);
        QCOMPARE(greys(), QList<bool>({false, false, true}));
        window.performZoom();
        QVERIFY(!window.isMaximized());

        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_VERIFY(!window.isActiveWindow());
        QCOMPARE(greys(), QList<bool>({true, true, true}));
    }

    void titleIsCentredAtTheNextLayoutPass()
    {
        WAYWindow window;
        window.setWindowTitle(QStringLiteral("Tolvex"));
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setTitleBarHeight(40);
        QLabel* title = window.titleLabel();
        const int standardY = title->y();
        window.setVerticallyCenterTitle(true);
        window.setHidesTitle(false);
        QVERIFY(!title->isHidden());
        QCOMPARE(title->y(), standardY);

        window.resize(420, 300);
        QTRY_COMPARE(window.titleBarView()->width(), 420);
        const double height = window.getTitleFrame().height();
        const double fromBottom = std::floor(40 * 0.5 - height * 0.5 + 1.0);
        QCOMPARE(title->y(), int(40 - fromBottom - height));
        QCOMPARE(title->x() + title->width() / 2, 210);
    }

    void vibrantContentViewKeepsTheSubviews()
    {
        WAYWindow window;
        window.resize(400, 300);
        auto* label = new QLabel(QStringLiteral("zone"), window.contentView());
        label->setGeometry(20, 40, 100, 30);
        window.setContentViewAppearanceVibrantDark();
        auto* effect = qobject_cast<VisualEffectView*>(window.contentView());
        QVERIFY(effect);
        QCOMPARE(effect->material(), VisualEffectView::Material::Dark);
        QCOMPARE(label->parentWidget(), effect);
        QCOMPARE(label->geometry(), QRect(20, 40, 100, 30));
        QCOMPARE(effect->geometry(), window.rect());
    }

    // The first button is the default and stands rightmost; disabled buttons cannot be pressed;
    // "Cancel" answers Escape.
    void sheetsShowTheirButtonsInOrderAndAnswer()
    {
        WAYWindow window;
        window.setFixedSurfaceSize({500, 338});
        window.setTitleBarHeight(32);
        QPalette dark = window.palette();
        dark.setColor(QPalette::Window, QColor(30, 30, 30));
        window.setPalette(dark);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Alert chooser{QStringLiteral("2 files dropped"),
                      {},
                      {"Cancel", "35-pass", "7-pass", "1-pass"},
                      AlertStyle::Informational,
                      {}};
        chooser.disabledButtons = {2};
        QList<int> responses;
        const auto show = [&](const Alert& alert) {
            AlertPresenter::beginSheetModalForWindow(alert, &window,
                                                     [&](int answer) { responses << answer; });
            return QPointer<AlertSheet>(window.findChild<AlertSheet*>());
        };

        QPointer<AlertSheet> sheet = show(kCloseSheet);
        QVERIFY(sheet && sheet->isVisible());
        QCOMPARE(sheet->palette().color(QPalette::Window), QColor(30, 30, 30));
        QCOMPARE(sheet->informativeLabel()->text(), kCloseSheet.informativeText);
        QCOMPARE(buttonsLeftToRight(sheet),
                 QStringList({"Close Window and terminate tasks", "Don't close"}));
        QVERIFY(sheet->buttons().first()->isDefault());
        hangsInsideTheWindow(window, sheet);
        // The window below takes no input meanwhile.
        QVERIFY(ApplicationModal::isBlocked(window.titleBarView()));
        // It takes input again as soon as the sheet is answered.
        sheet->buttons()[1]->click();
        QVERIFY(!ApplicationModal::isBlocked(window.titleBarView()));
        QTRY_VERIFY(!sheet);

        // In a narrow window the buttons stand in a column, the first on top.
        window.setFixedSurfaceSize({280, 620});
        sheet = show(chooser);
        hangsInsideTheWindow(window, sheet);
        QCOMPARE(sheet->buttons().first()->text(), QStringLiteral("Cancel"));
        QVERIFY(sheet->buttons()[0]->y() < sheet->buttons()[1]->y());
        for (QAbstractButton* button : sheet->buttons())
            QCOMPARE(button->isEnabled(), button->text() != QStringLiteral("7-pass"));
        window.setFixedSurfaceSize({500, 338});
        hangsInsideTheWindow(window, sheet);
        QCOMPARE(buttonsLeftToRight(sheet), QStringList({"1-pass", "7-pass", "35-pass", "Cancel"}));
        QTest::keyClick(sheet, Qt::Key_Escape);
        QTRY_VERIFY(!sheet);
        QCOMPARE(responses, QList<int>({AlertSecondButtonReturn, AlertFirstButtonReturn}));
    }

    void filePanelDimsRefusedItemsAndChecksTheChoiceOnOk()
    {
        QTemporaryDir folder;
        for (const char* name : {"a.txt", "dimmed.txt", "refused.txt"}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        std::optional<std::optional<QStringList>> result;
        AlertPresenter::beginFilePanelSheetForWindow(
            {folder.path(),
             [](const QString& path) { return !path.endsWith(QStringLiteral("dimmed.txt")); },
             [](const QString& path) { return !path.endsWith(QStringLiteral("refused.txt")); },
             nullptr},
            &window, [&](const std::optional<QStringList>& chosen) { result = chosen; });

        QPointer<FilePanelDialog> panel = window.findChild<FilePanelDialog*>();
        QVERIFY(panel);
        QTRY_VERIFY(panel->isVisible());
        QCOMPARE(panel->windowModality(), Qt::WindowModal);
        auto* view = panel->findChild<QAbstractItemView*>(QStringLiteral("listView"));
        QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 3);
        for (int row = 0; row < 3; ++row) {
            const QModelIndex index = view->model()->index(row, 0, view->rootIndex());
            const QString path = index.data(QFileSystemModel::FilePathRole).toString();
            QCOMPARE(bool(index.flags() & Qt::ItemIsEnabled), !path.endsWith("dimmed.txt"));
        }

        // Files can be chosen as well as folders; one refused item keeps the panel open with
        // nothing chosen.
        QPushButton* chooseButton =
            panel->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
        choose(panel, {folder.filePath(QStringLiteral("a.txt")),
                       folder.filePath(QStringLiteral("refused.txt"))});
        QTRY_VERIFY(chooseButton->isEnabled());
        QTest::mouseClick(chooseButton, Qt::LeftButton);
        QVERIFY(panel->isVisible());
        QVERIFY(!result);

        choose(panel, {folder.filePath(QStringLiteral("a.txt"))});
        QTRY_VERIFY(chooseButton->isEnabled());
        QTest::mouseClick(chooseButton, Qt::LeftButton);
        QTRY_VERIFY(result.has_value());
        QCOMPARE(*result, std::optional(QStringList{folder.filePath(QStringLiteral("a.txt"))}));
        QTRY_VERIFY(!panel);
    }

    void mailOpensTheMailtoUrl()
    {
        testing::UrlCatcher catcher({QStringLiteral("mailto")});
        Utils::sendEmailTo(QStringLiteral("support@example.com"),
                           QStringLiteral("Line 1\nok & done"), QStringLiteral("Tolvex support"));
        Utils::sendEmailTo(QStringLiteral("not an <address>"), QStringLiteral("x"),
                           QStringLiteral("y"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls[0].toString(QUrl::FullyEncoded),
                 QStringLiteral("mailto:support@example.com?Subject=Tolvex%20support&"
                                "body=Line%201%0Aok%20%26%20done"));
    }
};

QTEST_MAIN(TestWAYWindow)
#include "test_waywindow.moc"
