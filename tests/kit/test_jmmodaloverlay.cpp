#include "kit/ApplicationModal.h"
#include "kit/JMModalOverlay.h"
#include "kit/WindowResizability.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <stdexcept>

using namespace tolvex;

namespace {

// A window underneath that counts the input reaching it.
class ParentWindow : public QWidget {
public:
    int keys = 0;
    int presses = 0;

    ParentWindow()
    {
        resize(300, 200);
        setAutoFillBackground(true);
        QPalette white = palette();
        white.setColor(QPalette::Window, Qt::white);
        setPalette(white);
    }

protected:
    void keyPressEvent(QKeyEvent*) override { ++keys; }
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

class RecordingDelegate : public JMModalOverlayDelegate {
public:
    QStringList* log = nullptr;
    bool answer = true;
    int asked = 0;

    bool modalOverlayShouldClose(JMModalOverlay*) override
    {
        ++asked;
        return answer;
    }
    void modalOverlayWillShow(const Notification&) override { *log << "delegate:WillShow"; }
    void modalOverlayDidShow(const Notification&) override { *log << "delegate:DidShow"; }
    void modalOverlayWillClose(const Notification&) override { *log << "delegate:WillClose"; }
    void modalOverlayDidClose(const Notification&) override { *log << "delegate:DidClose"; }
};

// Observers that leave with the test, however it ends.
struct Observing {
    QList<NotificationCenter::Token> tokens;
    ~Observing()
    {
        for (const auto token : tokens)
            NotificationCenter::defaultCenter().removeObserver(token);
    }
    void add(const QString& name, NotificationCenter::Observer observer)
    {
        tokens << NotificationCenter::defaultCenter().addObserver(name, std::move(observer));
    }
};

} // namespace

class TestJMModalOverlay : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ParentWindow> window;
    std::unique_ptr<JMModalOverlay> overlay;

    void showNotAnimated()
    {
        overlay->setAnimates(false);
        overlay->showInWindow(window.get());
    }

private Q_SLOTS:
    void init()
    {
        window = std::make_unique<ParentWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        overlay = std::make_unique<JMModalOverlay>();
        auto* controller = new ViewController(overlay.get());
        controller->setView(new QWidget);
        controller->view()->setAttribute(Qt::WA_TranslucentBackground);
        overlay->setContentViewController(controller);
    }

    void cleanup()
    {
        overlay.reset();
        window.reset();
        QVERIFY(!ApplicationModal::modalWindow());
    }

    void notificationsAndDelegateCallsComeInOrder()
    {
        QStringList log;
        Observing observing;
        for (const QString& name :
             {JMModalOverlayWillShowNotification, JMModalOverlayDidShowNotification,
              JMModalOverlayWillCloseNotification, JMModalOverlayDidCloseNotification})
            observing.add(name, [&, name](const Notification& n) {
                QCOMPARE(n.object.value<QObject*>(), overlay.get());
                const bool modal = overlay->modalWindow() &&
                                   ApplicationModal::modalWindow() == overlay->modalWindow();
                log << name.mid(14).chopped(12) + (overlay->isShown() ? " shown" : " hidden") +
                           (modal ? " modal" : "");
            });
        RecordingDelegate delegate;
        delegate.log = &log;
        overlay->setDelegate(&delegate);

        showNotAnimated();
        // The overlay observes its own notifications from its creation on, so its delegate
        // hears of each before later observers do.
        QCOMPARE(log, QStringList({"delegate:WillShow", "WillShow hidden", "delegate:DidShow",
                                   "DidShow shown"}));

        log.clear();
        overlay->close();
        QCOMPARE(log, QStringList({"delegate:WillClose", "WillClose shown modal",
                                   "delegate:DidClose", "DidClose hidden"}));
        QVERIFY(!overlay->modalWindow());
        QVERIFY(!overlay->contentViewController()->view()->parentWidget());

        log.clear();
        overlay->close();
        QVERIFY(log.isEmpty());
    }

    void argumentChecksThrowBeforeAnythingChanges()
    {
        int posted = 0;
        Observing observing;
        observing.add(JMModalOverlayWillShowNotification, [&](const Notification&) { ++posted; });
        // The reason, marked "argument:" for an invalid argument.
        const auto reasonOf = [&](QWidget* parent) -> QString {
            try {
                overlay->showInWindow(parent);
            } catch (const std::invalid_argument& e) {
                return "argument: " + QString::fromUtf8(e.what());
            } catch (const std::logic_error& e) {
                return QString::fromUtf8(e.what());
            }
            return {};
        };
        QCOMPARE(reasonOf(nullptr), QStringLiteral("argument: window is nil"));
        overlay->setContentViewController(nullptr);
        QCOMPARE(reasonOf(window.get()), QStringLiteral("contentViewController is nil"));
        overlay->setContentViewController(new ViewController(overlay.get()));
        QCOMPARE(reasonOf(window.get()), QStringLiteral("contentViewController.view is nil"));
        QCOMPARE(posted, 0);
        QVERIFY(!overlay->isShown() && !overlay->modalWindow() && isResizable(window.get()));
    }

    void parentIsNotResizableWhileShown()
    {
        window->setMinimumSize(100, 80);
        showNotAnimated();
        QVERIFY(!isResizable(window.get()));
        QCOMPARE(window->minimumSize(), QSize(300, 200));
        overlay->close();
        QVERIFY(isResizable(window.get()));
        QCOMPARE(window->minimumSize(), QSize(100, 80));
        QCOMPARE(window->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));

        window->setFixedSize(250, 150);
        showNotAnimated();
        overlay->close();
        QVERIFY(!isResizable(window.get()));
        QCOMPARE(window->size(), QSize(250, 150));
    }

    void backgroundClickAsksTheDelegate()
    {
        QStringList log;
        RecordingDelegate delegate;
        delegate.log = &log;
        delegate.answer = false;
        overlay->setDelegate(&delegate);
        auto* button =
            new QPushButton(QStringLiteral("Act"), overlay->contentViewController()->view());
        button->setGeometry(10, 10, 80, 30);
        QSignalSpy clicked(button, &QPushButton::clicked);
        showNotAnimated();

        // A control of the screen takes its click; the background does not close.
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(delegate.asked, 0);

        QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(150, 150));
        QCOMPARE(delegate.asked, 1);
        QVERIFY(overlay->isShown());

        // Without closing on the background, a click there asks nothing and goes nowhere.
        overlay->setShouldCloseWhenClickOnBackground(false);
        QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(150, 150));
        QCOMPARE(delegate.asked, 1);
        QVERIFY(overlay->isShown());
        QCOMPARE(window->presses, 0);
        overlay->close();
        QCoreApplication::processEvents();
    }

    void keysAreLoggedAndSwallowed()
    {
        auto* field = new QLineEdit(overlay->contentViewController()->view());
        showNotAnimated();
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus && overlay->modalWindow()->isAncestorOf(focus));

        QTest::ignoreMessage(QtInfoMsg, "KeyDown JMOverlay>0");
        QTest::keyClick(focus, Qt::Key_Escape);
        QVERIFY(overlay->isShown());

        // A key the field does not use travels up to the tint and stops there.
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("ab"));
        QCOMPARE(field->text(), QStringLiteral("ab"));
        QTest::ignoreMessage(QtInfoMsg, "KeyDown JMOverlay>0");
        QTest::keyClick(field, Qt::Key_F5);
        QCOMPARE(window->keys, 0);
        overlay->close();
    }

    // A click delivered straight to the widget, as to a popup that holds the mouse.
    static void pressAndRelease(QWidget* widget)
    {
        const QPointF at = widget->rect().center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(widget, &event);
        }
    }

    void windowUnderneathTakesNoInput()
    {
        QMainWindow main;
        main.resize(300, 200);
        main.setCentralWidget(new QWidget);
        auto* uncovered = new QPushButton(QStringLiteral("Below"));
        main.statusBar()->addWidget(uncovered);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QSignalSpy clicked(uncovered, &QPushButton::clicked);
        auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Ctrl+K")), &main);
        QSignalSpy activated(shortcut, &QShortcut::activated);
        // A popup that the window below opens while the overlay is up.
        auto* popup = new QFrame(&main, Qt::Popup);
        auto* inPopup = new QPushButton(QStringLiteral("In popup"), popup);
        popup->resize(inPopup->sizeHint());
        QSignalSpy popupClicked(inPopup, &QPushButton::clicked);

        overlay->setAnimates(false);
        overlay->setShouldOverlayTitleBar(false);
        overlay->showInWindow(&main);
        QCOMPARE(overlay->modalWindow()->geometry(), main.rect());
        QCOMPARE(overlay->overlayView()->geometry(), main.centralWidget()->geometry());

        uncovered->setFocus();
        QTest::keyClick(uncovered, Qt::Key_Space);
        QTest::mouseClick(uncovered, Qt::LeftButton);
        QCOMPARE(clicked.count(), 0);
        QTest::keyClick(&main, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(activated.count(), 0);
        popup->show();
        pressAndRelease(inPopup);
        QCOMPARE(popupClicked.count(), 0);
        popup->hide();

        overlay->close();
        QTest::keyClick(&main, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(activated.count(), 1);
        popup->show();
        pressAndRelease(inPopup);
        QCOMPARE(popupClicked.count(), 1);
        popup->hide();
        QTest::mouseClick(uncovered, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
    }

    // The tint fills the window inside corners of radius 8 that blend smoothly into the window.
    void tintCoversTheWindowInsideRoundedCorners()
    {
        showNotAnimated();
        QVERIFY(!overlay->visualEffectView() && !overlay->backdropBlur());
        const QImage shot = window->grab().toImage();
        const QColor tinted = shot.pixelColor(150, 100);
        QVERIFY2(qAbs(tinted.red() - 153) <= 2, qPrintable(tinted.name()));
        for (const QPoint corner : {QPoint(0, 0), QPoint(1, 1), QPoint(299, 199)})
            QCOMPARE(shot.pixelColor(corner), QColor(Qt::white));
        for (const QPoint edge : {QPoint(5, 5), QPoint(150, 0)})
            QCOMPARE(shot.pixelColor(edge), tinted);
        int blended = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                blended += qAbs(shot.pixelColor(x, y).red() - 192) < 30 ? 1 : 0;
        QVERIFY2(blended >= 3, "the corner is cut without antialiasing");
        overlay->close();
    }

    // A vibrant overlay is frosted glass: what lies beneath shows only blurred, and is sharp
    // again once the overlay closes.
    void vibrantAppearanceBlursWhatLiesBeneath()
    {
        auto* square = new QWidget(window.get());
        square->setGeometry(100, 50, 100, 100);
        square->setStyleSheet(QStringLiteral("background: black"));
        square->show();
        overlay->setAppearance(Appearance::VibrantDark);
        showNotAnimated();
        QCOMPARE(overlay->overlayView()->parentWidget(), overlay->visualEffectView());
        QCOMPARE(overlay->backdropBlur()->blurredViews(), QList<QPointer<QWidget>>{square});
        const QImage shot = window->grab().toImage();
        QVERIFY(shot.pixelColor(150, 100).red() < 40);
        // Across the square's left edge the shade changes by small steps, but it changes.
        int largestStep = 0;
        for (int x = 80; x < 120; ++x)
            largestStep = std::max(largestStep,
                                   qAbs(qGray(shot.pixel(x + 1, 100)) - qGray(shot.pixel(x, 100))));
        QVERIFY2(largestStep <= 2, qPrintable(QString::number(largestStep)));
        QVERIFY(qGray(shot.pixel(80, 100)) > qGray(shot.pixel(120, 100)));
        overlay->close();
        QVERIFY(!square->graphicsEffect());
    }
};

QTEST_MAIN(TestJMModalOverlay)
#include "test_jmmodaloverlay.moc"
