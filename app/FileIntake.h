#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <optional>

class QWidget;

namespace tolvex {

class DropView;
class FileIntakeHost;
class HudAlert;
class ShredLists;
class ShredTasks;
class ZoneLooks;

// The roads by which files reach a shred list besides a drop: a zone's add button with its file
// panel, the "Erase with Tolvex" action and open-files requests. The last two carry no list:
// their paths are gathered for a moment and then go to the default method's list, or the user
// picks a method in the method chooser. Main thread only.
class FileIntake : public QObject {
    Q_OBJECT

public:
    FileIntake(ShredLists& lists, ShredTasks& tasks, ZoneLooks& looks, HudAlert& hud,
               FileIntakeHost& host, QObject* parent = nullptr);
    ~FileIntake() override;

    // How long requests are gathered before the hand-over.
    static constexpr int gatheringDelayMs = 150;

    // Paths from the erase action and open requests that wait for a method.
    QStringList filesToOpenFromDock;
    // Shown at the bottom of the add panel.
    QWidget* addFileAccessoryView = nullptr;

    // The add button of list `senderTag`: stops the list's run while it shreds, otherwise opens
    // the add panel.
    void addNewFilesToShredPass(qint64 senderTag, QObject* sender);
    // Merges paths chosen in the panel into list `listId`, each cleaned and vetted first
    // (IncomingPath): the new list, or nothing.
    std::optional<QStringList> arrOfFilePathsFromAddBtn(qint64 listId, const QStringList& chosen);
    // Which panel items can be chosen, and the check of each chosen item on OK, both judged on
    // the vetted path.
    bool panelShouldEnableURL(const QString& shown);
    bool panelValidateURL(const QString& shown);

    // Both gather their paths once IncomingPath has vetted them; refused ones go silently, as
    // protected ones do.
    void serviceMenuShred(const QStringList& paths);
    void applicationOpenFiles(const QStringList& paths);
    void queueFilesForOpening(const QStringList& paths);
    void openQueuedFiles();
    void addFilesFromDoc(const QStringList& paths, DropView* dropView);

    static const QString allMethodsBusyMessage;
    static QString chooserMessage(qsizetype count);
    static const QString chooserInformativeText;

private:
    void panelDidEnd(qint64 tag, QObject* sender, const std::optional<QStringList>& chosen);
    void restoreZone(qint64 tag, QObject* sender);
    void gatherFiles(const QStringList& paths);
    void askForMethod();
    void handOverQueueTo(qint64 listId);
    bool isBusy(qint64 listId) const;
    // What the panel neither offers nor accepts: listed items, the home folder itself,
    // library folders and the applications folder.
    bool isRefusedInPanel(const QString& path, const std::optional<QString>& home);

    ShredLists& lists_;
    ShredTasks& tasks_;
    // Requests that come while the chooser is up join its queue instead of asking again.
    bool choosing_ = false;
    ZoneLooks& looks_;
    HudAlert& hud_;
    FileIntakeHost& host_;
    QTimer gathering_;
};

} // namespace tolvex
