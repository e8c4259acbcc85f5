#include "kit/AlertPresenter.h"

#include "kit/AlertSheet.h"
#include "kit/FilePanelDialog.h"
#include "platform/MainQueue.h"

#include <QHash>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <deque>
#include <optional>
#include <utility>

namespace tolvex {

namespace {

std::deque<int>& nextAnswers()
{
    static std::deque<int> answers;
    return answers;
}

QList<Alert>& presented()
{
    static QList<Alert> alerts;
    return alerts;
}

// Queued file-panel answers; nothing stands for a cancelled panel.
std::deque<std::optional<QStringList>>& nextFileNames()
{
    static std::deque<std::optional<QStringList>> answers;
    return answers;
}

std::optional<int> takeNextAnswer(const Alert& alert)
{
    if (nextAnswers().empty())
        return std::nullopt;
    const int answer = nextAnswers().front();
    nextAnswers().pop_front();
    presented() << alert;
    return answer;
}

QMessageBox::Icon iconForStyle(AlertStyle style)
{
    switch (style) {
    case AlertStyle::Informational:
        return QMessageBox::Information;
    case AlertStyle::Critical:
        return QMessageBox::Critical;
    case AlertStyle::Warning:
        break;
    }
    return QMessageBox::Warning;
}

// A sheet is a window of its own, so it does not inherit the palette of the window it sits on;
// it still has to look like part of it (the dark window gets dark sheets).
void takeAppearanceOf(const QWidget* parent, QWidget* sheet)
{
    if (parent)
        sheet->setPalette(parent->window()->palette());
}

// Builds the box; `responses` maps each button to its answer.
QMessageBox* makeMessageBox(const Alert& alert, QWidget* parent,
                            QHash<QAbstractButton*, int>& responses)
{
    auto* box = new QMessageBox(parent);
    takeAppearanceOf(parent, box);
    box->setText(alert.messageText);
    box->setInformativeText(alert.informativeText);
    box->setIcon(iconForStyle(alert.alertStyle));
    if (!alert.icon.isNull())
        box->setIconPixmap(alert.icon.pixmap(64, 64));
    const QStringList titles =
        alert.buttons.isEmpty() ? QStringList{QStringLiteral("OK")} : alert.buttons;
    // Buttons of one role keep the order they were added in; the last one added stands
    // rightmost, where the first button of an alert belongs.
    for (qsizetype i = titles.size() - 1; i >= 0; --i) {
        QPushButton* button = box->addButton(titles[i], QMessageBox::ActionRole);
        responses.insert(button, AlertFirstButtonReturn + static_cast<int>(i));
        button->setEnabled(!alert.disabledButtons.contains(static_cast<int>(i)));
        if (i == 0)
            box->setDefaultButton(button);
        if (titles[i] == QStringLiteral("Cancel"))
            box->setEscapeButton(button);
    }
    return box;
}

// Whether a person could choose `paths` in the panel and get past its OK.
bool panelTakes(const FilePanel& panel, const QStringList& paths)
{
    return std::all_of(paths.begin(), paths.end(), [&panel](const QString& path) {
        return (!panel.shouldEnableURL || panel.shouldEnableURL(path)) &&
               (!panel.validateURL || panel.validateURL(path));
    });
}

// The queued answer the panel takes: the first choice it accepts, or nothing when a cancel
// comes first or the queue runs out.
std::optional<QStringList> takeNextFileNames(const FilePanel& panel)
{
    while (!nextFileNames().empty()) {
        const std::optional<QStringList> answer = nextFileNames().front();
        nextFileNames().pop_front();
        if (!answer || panelTakes(panel, *answer))
            return answer;
    }
    return std::nullopt;
}

} // namespace

void AlertPresenter::beginSheetModalForWindow(const Alert& alert, QWidget* window,
                                              CompletionHandler completionHandler)
{
    if (const std::optional<int> answer = takeNextAnswer(alert)) {
        MainQueue::post([completionHandler, response = *answer] {
            if (completionHandler)
                completionHandler(response);
        });
        return;
    }
    if (!window) {
        QHash<QAbstractButton*, int> responses;
        QMessageBox* box = makeMessageBox(alert, nullptr, responses);
        box->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(box, &QMessageBox::buttonClicked, box,
                         [responses, completionHandler](QAbstractButton* button) {
                             if (completionHandler)
                                 completionHandler(responses.value(button));
                         });
        box->open();
        return;
    }
    auto* sheet = new AlertSheet(alert, window);
    QObject::connect(sheet, &AlertSheet::answered, sheet, [completionHandler](int response) {
        if (completionHandler)
            completionHandler(response);
    });
}

void AlertPresenter::setSheetMessageText(QWidget* window, const QString& messageText)
{
    if (!window)
        return;
    const auto sheets = window->window()->findChildren<AlertSheet*>(Qt::FindDirectChildrenOnly);
    for (AlertSheet* sheet : sheets)
        if (sheet->isVisible())
            sheet->setMessageText(messageText);
}

int AlertPresenter::runModal(const Alert& alert)
{
    if (const std::optional<int> answer = takeNextAnswer(alert))
        return *answer;
    QHash<QAbstractButton*, int> responses;
    QMessageBox* box = makeMessageBox(alert, nullptr, responses);
    box->setWindowModality(Qt::ApplicationModal);
    box->exec();
    const int response = responses.value(box->clickedButton());
    delete box;
    return response;
}

void AlertPresenter::beginFilePanelSheetForWindow(const FilePanel& panel, QWidget* window,
                                                  FilePanelCompletionHandler completionHandler)
{
    if (!nextFileNames().empty()) {
        MainQueue::post([completionHandler, chosen = takeNextFileNames(panel)] {
            if (completionHandler)
                completionHandler(chosen);
        });
        return;
    }
    auto* dialog = new FilePanelDialog(panel, window);
    takeAppearanceOf(window, dialog);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, completionHandler](int result) {
        if (!completionHandler)
            return;
        completionHandler(result == QDialog::Accepted ? std::optional(dialog->chosenPaths())
                                                      : std::nullopt);
    });
    dialog->open();
}

void AlertPresenter::setNextAnswer(int response)
{
    nextAnswers().push_back(response);
}

QList<Alert> AlertPresenter::takePresentedForTesting()
{
    return std::exchange(presented(), {});
}

void AlertPresenter::setNextFileNames(const QStringList& paths)
{
    nextFileNames().push_back(paths);
}

void AlertPresenter::setNextFilePanelCancel()
{
    nextFileNames().push_back(std::nullopt);
}

} // namespace tolvex
