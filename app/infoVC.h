#pragma once

#include "kit/ViewController.h"

#include <functional>

class QLabel;
class QVBoxLayout;

namespace tolvex {

// The information screen of the horizontal window layout: what the three shredding methods do.
// It is shown in the modal overlay and reports its button through actionWithIndex.
class infoVC : public ViewController {
    Q_OBJECT

public:
    explicit infoVC(QObject* parent = nullptr);

    // The screen's command to AppDelegate, with the tag of the button used.
    std::function<void(qint64 tag)> actionWithIndex;

    QLabel* ShredingMethodsTitle = nullptr;

    void infoVCAction(qint64 tag);

protected:
    // Where a twin adds its own controls, above the close button.
    QVBoxLayout* extrasLayout() const { return extras_; }

private:
    QVBoxLayout* extras_ = nullptr;
};

// The information screen of the vertical layout; it also links to an article on secure erasure.
class infoVC_vert : public infoVC {
    Q_OBJECT

public:
    explicit infoVC_vert(QObject* parent = nullptr);

    void showMediumArticle();
    void openURLWithWorkspaceFromPath(const QString& path);
};

} // namespace tolvex
