#pragma once

#include <QFileDialog>
#include <QPointer>
#include <functional>

namespace tolvex {

struct FilePanel;

// The window of a file panel: the user chooses any number of files and folders. Items the
// panel's test refuses are dimmed, and OK asks the panel's check about every chosen item again:
// a refusal keeps the panel open.
class FilePanelDialog : public QFileDialog {
    Q_OBJECT

public:
    FilePanelDialog(const FilePanel& panel, QWidget* window);

    // The chosen paths, in the panel's order, once it was accepted.
    QStringList chosenPaths() const { return chosen_; }

    // The panel's OK.
    void accept() override;

protected:
    void done(int result) override;
    void showEvent(QShowEvent* event) override;

private:
    void enableChooseButton();

    std::function<bool(const QString& path)> validate_;
    QStringList chosen_;
    QPointer<QWidget> accessoryView_;
};

} // namespace tolvex
