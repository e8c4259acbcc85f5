#include "kit/AlertPresenter.h"
#include "kit/FilePanelDialog.h"
#include "kit/UtilsSystem.h"
#include "tests/UrlCatcher.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace tolvex;

namespace {

QStringList buttonsLeftToRight(QMessageBox* box)
{
    QList<QAbstractButton*> buttons = box->buttons();
    std::sort(buttons.begin(), buttons.end(), [](QAbstractButton* a, QAbstractButton* b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    QStringList titles;
    for (QAbstractButton* button : buttons)
        titles << button->text();
    return titles;
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

class TestAlertPresenter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The first button is the default and stands rightmost; disabled buttons cannot be pressed;
    // "Cancel" answers Escape.
    void sheetsShowTheirButtonsInOrderAndAnswer()
    {
        QWidget window;
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
            QMessageBox* box = window.findChild<QMessageBox*>();
            return box && QTest::qWaitFor([box] { return box->isVisible(); }) ? box : nullptr;
        };

        QPointer<QMessageBox> box = show(kCloseSheet);
        QVERIFY(box);
        QCOMPARE(box->windowModality(), Qt::WindowModal);
        QCOMPARE(box->palette().color(QPalette::Window), QColor(30, 30, 30));
        QCOMPARE(box->icon(), QMessageBox::Critical);
        QCOMPARE(box->informativeText(), kCloseSheet.informativeText);
        QCOMPARE(buttonsLeftToRight(box),
                 QStringList({"Close Window and terminate tasks", "Don't close"}));
        QCOMPARE(box->defaultButton()->text(), QStringLiteral("Don't close"));
        for (QAbstractButton* button : box->buttons())
            if (button->text() == QStringLiteral("Close Window and terminate tasks"))
                button->click();
        QTRY_VERIFY(!box);

        box = show(chooser);
        QVERIFY(box);
        QCOMPARE(buttonsLeftToRight(box), QStringList({"1-pass", "7-pass", "35-pass", "Cancel"}));
        for (QAbstractButton* button : box->buttons())
            QCOMPARE(button->isEnabled(), button->text() != QStringLiteral("7-pass"));
        QTest::keyClick(box, Qt::Key_Escape);
        QTRY_VERIFY(!box);
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

QTEST_MAIN(TestAlertPresenter)
#include "test_alertpresenter.moc"
