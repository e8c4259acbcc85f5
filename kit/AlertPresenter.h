#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

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
    QIcon icon; // shown in place of the style's icon when set
};

// Shows every alert of the program: as a sheet on a window (window-modal, answered through a
// completion handler) or application-modal (the call returns the answer). The first button is
// the default one and stands rightmost; a button titled "Cancel" also answers Escape.
//
// Tests queue answers in advance with setNextAnswer(): the next alerts then show nothing and
// take those answers (a sheet's completion still runs later, from the event loop), and each
// such alert is recorded for takePresentedForTesting().
class AlertPresenter {
public:
    using CompletionHandler = std::function<void(int response)>;

    static void beginSheetModalForWindow(const Alert& alert, QWidget* window,
                                         CompletionHandler completionHandler);
    static int runModal(const Alert& alert);

    static void setNextAnswer(int response);
    // The alerts answered from the queue since the last call, oldest first.
    static QList<Alert> takePresentedForTesting();
};

} // namespace tolvex
