#pragma once

// The real main window and AppDelegate, built as the program builds them, over a temporary home
// folder and temporary settings, with helpers that act as a user would: drag, click, type.

#include "KeyCodes.h"
#include "app/AppDelegate.h"
#include "app/DropView.h"
#include "app/MainWindowBuilder.h"
#include "app/myRespView.h"
#include "engine/UtilsSettings.h"
#include "kit/AlertPresenter.h"
#include "kit/KeyboardLayout.h"
#include "kit/MyHudAlert.h"
#include "platform/HomeFolder.h"
#include "platform/SingleInstance.h"
#include "platform/Task.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

namespace tolvex::testing {

// Quitting is recorded instead of done, so a test can watch for it.
class RecordingAppDelegate : public AppDelegate {
public:
    using AppDelegate::AppDelegate;
    int terminateRequests = 0;
    void terminate() override { ++terminateRequests; }
};

class MainWindowRig {
public:
    QTemporaryDir home;
    QTemporaryDir settings;
    std::unique_ptr<RecordingAppDelegate> delegate;
    std::unique_ptr<WAYWindow> window;
    // Where the desktop's requests come from, when a test sets it before start().
    SingleInstance* desktopRequests = nullptr;

    MainWindowRig()
    {
        HomeFolder::setForTesting(home.path());
        UserDefaults::setStandardForTesting(settings.filePath(QStringLiteral("Tolvex.conf")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral(".local/share"))));
        KeyboardLayout::setForTesting(KeyboardInputSource{"English (US)", "us"});
        QApplication::setQuitOnLastWindowClosed(false);
    }

    ~MainWindowRig()
    {
        // Runs still going end with the delegate, which stops their helpers.
        window.reset();
        delegate.reset();
        KeyboardLayout::setForTesting(std::nullopt);
        HomeFolder::resetForTesting();
    }

    // Builds and starts the window as the program does, with the real helper by default.
    void start(const QString& helper = qEnvironmentVariable("TOLVEX_BIN_DIR") + "/tolx")
    {
        delegate = std::make_unique<RecordingAppDelegate>(helper);
        delegate->setDesktopRequests(desktopRequests);
        window.reset(MainWindowBuilder::build(*delegate));
        delegate->applicationDidFinishLaunching();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    // Sets a file "docs/<list id>.txt" shredding on each of the lists, with a helper that
    // announces the first item it reads and then waits until it is terminated.
    void startShredding(std::initializer_list<qint64> listIds)
    {
        const QString slow =
            file("slow-tolx",
                 "#!/bin/sh\necho \"removing $(tr '\\0' '\\n' | head -n 1)\"\nexec sleep 60\n");
        QVERIFY(QFile::setPermissions(slow, QFile::ReadOwner | QFile::ExeOwner));
        start(slow);
        for (qint64 id : listIds)
            dropFiles(id, {file(QStringLiteral("docs/%1.txt").arg(id), 10)});
        clickStartButton();
        for (qint64 id : listIds)
            QTRY_VERIFY(delegate->shredTasks().shredTask(id) &&
                        delegate->shredTasks().shredTask(id)->isRunning());
    }

    MainWindowOutlets& outlets() { return delegate->outlets(); }

    DropView* zone(qint64 listId) { return delegate->zoneOutlets(listId)->dropView; }

    // A file holding `contents` (and its folders) below the home folder.
    QString file(const QString& relative, const QByteArray& contents)
    {
        QFile file(home.filePath(relative));
        QDir().mkpath(QFileInfo(file).path());
        file.open(QIODevice::WriteOnly);
        file.write(contents);
        return file.fileName();
    }

    QString file(const QString& relative, qint64 bytes = 0)
    {
        return file(relative, QByteArray(bytes, 'x'));
    }

    // Kept in the build folder for a person to look at, named after the layout in use.
    static void saveScreenshot(const QPixmap& shot, const QString& name)
    {
        const QString folder = QStringLiteral(TOLVEX_SCREENSHOT_DIR);
        const QString layout = Utils::windIsVert_cal() ? "-vertical.png" : "-horizontal.png";
        QVERIFY(QDir().mkpath(folder) && shot.save(QDir(folder).filePath(name + layout)));
    }

    static std::unique_ptr<QMimeData> fileDrag(const QStringList& paths)
    {
        auto data = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data->setUrls(urls);
        return data;
    }

    // A drag that enters the zone; whether the zone took it.
    static bool dragEnter(QWidget* target, const QMimeData& data)
    {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        return enter.isAccepted();
    }

    static void dragLeave(QWidget* target)
    {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(target, &leave);
    }

    // A whole drag and drop; whether the drop was accepted.
    static bool drop(QWidget* target, const QMimeData& data)
    {
        if (!dragEnter(target, data))
            return false;
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }

    bool dropFiles(qint64 id, const QStringList& paths) { return drop(zone(id), *fileDrag(paths)); }

    // A key typed on `target` as the desktop delivers it, with the physical key's scan code:
    // offered as a shortcut override first, which text fields take for their editing keys, then
    // pressed.
    static void typeKey(QWidget* target, quint32 evdev, Qt::KeyboardModifiers modifiers,
                        int key = 0, const QString& text = {})
    {
        QKeyEvent override(QEvent::ShortcutOverride, key, modifiers, Key::scanCode(evdev), 0, 0,
                           text);
        override.ignore();
        QCoreApplication::sendEvent(target, &override);
        QKeyEvent press(QEvent::KeyPress, key, modifiers, Key::scanCode(evdev), 0, 0, text);
        QCoreApplication::sendEvent(target, &press);
    }

    // A key pressed on the window's content.
    void pressKey(quint32 evdev, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        typeKey(window->findChild<myRespView*>(), evdev, modifiers);
    }

    void clickStartButton() { QTest::mouseClick(outlets().startShredBtn, Qt::LeftButton); }

    // The text of the alert shown last; empty before the first and once its window is gone.
    static QString hud()
    {
        const MyHudAlert* alert = MyHudAlert::sharedAlert();
        return alert && alert->messageField() ? alert->messageField()->text() : QString();
    }

    QStringList list(qint64 listId) { return delegate->shredLists().filePathsArr(listId); }

    bool waitUntilIdle(int timeoutMs = 60000)
    {
        return QTest::qWaitFor([this] { return !delegate->shredTasks().isAnyShredding(); },
                               timeoutMs);
    }
};

} // namespace tolvex::testing
