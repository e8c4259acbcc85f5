#include "kit/AlertPresenter.h"
#include "kit/ProgressIndicator.h"
#include "kit/UtilsSystem.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>

using namespace tolvex;

namespace {

// Receives the URLs the desktop would open.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

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
    void queuedAnswersShowNothing()
    {
        QWidget window;
        AlertPresenter::setNextAnswer(AlertSecondButtonReturn);
        int response = 0;
        AlertPresenter::beginSheetModalForWindow(kCloseSheet, &window,
                                                 [&](int answer) { response = answer; });
        QCOMPARE(response, 0); // a sheet answers later, as a real one would
        QVERIFY(!window.findChild<QMessageBox*>());
        QTRY_COMPARE(response, AlertSecondButtonReturn);

        AlertPresenter::setNextAnswer(AlertFirstButtonReturn);
        Utils::showBasicAlertwithTitle(QStringLiteral("Title"), QStringLiteral("Text"));
        const QList<Alert> shown = AlertPresenter::takePresentedForTesting();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].messageText, kCloseSheet.messageText);
        QCOMPARE(shown[1].messageText, QStringLiteral("Title"));
        QCOMPARE(shown[1].informativeText, QStringLiteral("Text"));
        QCOMPARE(shown[1].buttons, QStringList{"OK"});
        QCOMPARE(shown[1].alertStyle, AlertStyle::Informational);
        QVERIFY(AlertPresenter::takePresentedForTesting().isEmpty());
    }

    void sheetShowsTheButtonsInOrderAndAnswers()
    {
        QWidget window;
        window.resize(500, 338);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QList<int> responses;
        AlertPresenter::beginSheetModalForWindow(kCloseSheet, &window,
                                                 [&](int answer) { responses << answer; });
        auto* box = window.findChild<QMessageBox*>();
        QVERIFY(box);
        QTRY_VERIFY(box->isVisible());
        QCOMPARE(box->windowModality(), Qt::WindowModal);
        QCOMPARE(box->icon(), QMessageBox::Critical);
        QCOMPARE(box->text(), kCloseSheet.messageText);
        QCOMPARE(box->informativeText(), kCloseSheet.informativeText);
        QCOMPARE(buttonsLeftToRight(box),
                 QStringList({"Close Window and terminate tasks", "Don't close"}));
        QCOMPARE(box->defaultButton()->text(), QStringLiteral("Don't close"));

        QPointer<QMessageBox> closing(box);
        for (QAbstractButton* button : box->buttons())
            if (button->text() == QStringLiteral("Close Window and terminate tasks"))
                button->click();
        QCOMPARE(responses, QList<int>{AlertSecondButtonReturn});
        QTRY_VERIFY(!closing);
    }

    void escapeAnswersCancel()
    {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        int response = 0;
        AlertPresenter::beginSheetModalForWindow({QStringLiteral("Pick"),
                                                  {},
                                                  {"1-pass", "7-pass", "Cancel"},
                                                  AlertStyle::Informational,
                                                  {}},
                                                 &window, [&](int answer) { response = answer; });
        auto* box = window.findChild<QMessageBox*>();
        QVERIFY(box);
        QTRY_VERIFY(box->isVisible());
        QTest::keyClick(box, Qt::Key_Escape);
        QTRY_COMPARE(response, AlertThirdButtonReturn);
    }

    void mailOpensTheMailtoUrl()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
        Utils::sendEmailTo(QStringLiteral("support@example.com"),
                           QStringLiteral("Line 1\nok & done"), QStringLiteral("Tolvex support"));
        Utils::sendEmailTo(QStringLiteral("not an <address>"), QStringLiteral("x"),
                           QStringLiteral("y"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls[0].toString(QUrl::FullyEncoded),
                 QStringLiteral("mailto:support@example.com?Subject=Tolvex%20support&"
                                "body=Line%201%0Aok%20%26%20done"));
    }

    void spinnerSitsBelowTheMiddle()
    {
        QWidget view;
        view.resize(200, 100);
        auto* spinner = new ProgressIndicator;
        spinner->resize(32, 32);
        spinner->hide();
        Utils::showProgressIndic(spinner, &view);
        QCOMPARE(spinner->parentWidget(), &view);
        QVERIFY(!spinner->isHidden());
        QVERIFY(spinner->isAnimating());
        QCOMPARE(spinner->geometry(), QRect(84, 54, 32, 32));
    }
};

QTEST_MAIN(TestAlertPresenter)
#include "test_alertpresenter.moc"
