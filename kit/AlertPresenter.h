#pragma once

#include <QIcon>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace tolvex {

enum class AlertStyle { Warning = 0, Informational = 1, Critical = 2 };

// The answer of an alert: the first button gives 1000, the second 1001, and so on.
inline constexpr int AlertFirstButtonReturn = 1000;
inline constexpr int AlertSecondButtonReturn = 1001;
inline constexpr int AlertThirdButtonReturn = 1002;

struct Alert {
    QString messageText;
    QString informativeText;
    QStringList buttons;
    AlertStyle alertStyle = AlertStyle::Warning;
    QIcon icon;                     // shown in place of the style's icon when set
    QSet<int> disabledButtons = {}; // positions in `buttons` of the buttons that cannot be pressed
};

// A file panel in which the user chooses any number of files and folders.
struct FilePanel {
    QString directory; // where it opens
    // Items it answers false for are dimmed; without it every item can be chosen.
    std::function<bool(const QString& path)> shouldEnableURL;
    // Asked about every chosen item on OK; one refusal keeps the panel open.
    std::function<bool(const QString& path)> validateURL;
    // Shown under the panel's controls; the caller keeps it.
    QWidget* accessoryView = nullptr;
};

// Shows every alert and file panel of the program: an alert as a sheet on a window
// (window-modal, answered through a completion handler) or application-modal (the call returns
// the answer); a file panel as a sheet. The first button of an alert is the default one and
// stands rightmost; a button titled "Cancel" also answers Escape.
//
// Tests queue answers in advance with setNextAnswer(): the next alerts then show nothing and
// take those answers (a sheet's completion still runs later, from the event loop), and each
// such alert is recorded for takePresentedForTesting(). File panels are answered the same way
// with setNextFileNames() or setNextFilePanelCancel(); chosen names go through the panel's
// tests as a person's choice would, and a refused choice takes the next queued answer, or
// cancels the panel when none is left.
class AlertPresenter {
public:
    using CompletionHandler = std::function<void(int response)>;
    // The chosen paths, or nothing when the panel was cancelled.
    using FilePanelCompletionHandler = std::function<void(const std::optional<QStringList>&)>;

    static void beginSheetModalForWindow(const Alert& alert, QWidget* window,
                                         CompletionHandler completionHandler);
    // A sheet up on `window` takes a new message, for a question whose subject grew meanwhile.
    static void setSheetMessageText(QWidget* window, const QString& messageText);
    static int runModal(const Alert& alert);
    static void beginFilePanelSheetForWindow(const FilePanel& panel, QWidget* window,
                                             FilePanelCompletionHandler completionHandler);

    static void setNextAnswer(int response);
    // The alerts answered from the queue since the last call, oldest first.
    static QList<Alert> takePresentedForTesting();
    static void setNextFileNames(const QStringList& paths);
    static void setNextFilePanelCancel();
};

} // namespace tolvex
