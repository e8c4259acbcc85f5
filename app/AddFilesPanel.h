#pragma once

#include <QFileDialog>
#include <functional>

namespace tolvex {

// The add button's file panel: a sheet on the main window in which the user chooses any number
// of files and folders. Items that may not be chosen are dimmed, and OK checks every chosen item
// again: a refusal beeps and keeps the panel open.
class AddFilesPanel : public QFileDialog {
    Q_OBJECT

public:
    using PathTest = std::function<bool(const QString& path)>;

    AddFilesPanel(QWidget* window, const QString& startFolder, PathTest shouldEnable,
                  PathTest validate);

    // Shows `accessoryView` under the panel's controls; the panel gives it back unparented
    // when it closes, so the caller keeps it.
    void setAccessoryView(QWidget* accessoryView);

    // The chosen paths, in the panel's order, once it was accepted.
    QStringList chosenPaths() const { return chosen_; }

    // The panel's OK.
    void accept() override;

protected:
    void done(int result) override;

private:
    PathTest validate_;
    QStringList chosen_;
    QWidget* accessoryView_ = nullptr;
};

} // namespace tolvex
