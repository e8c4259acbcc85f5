#pragma once

#include "kit/ViewController.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace tolvex {

class MIHSliderView;
class PopoverPanel;

// What both preferences screens share: the three settings (bound to the user defaults), the
// lifetime totals, the version, the update, support and tell-a-friend buttons and the maker's
// links. Commands that need AppDelegate go out through actionWithIndex.
class PreferencesScreen : public ViewController {
    Q_OBJECT

public:
    std::function<void(qint64 tag)> actionWithIndex;

    PopoverPanel* tellFriendPopOver = nullptr;
    QLabel* totalShredInfoLbl = nullptr;
    QLabel* appVersionLbl = nullptr;
    QCheckBox* defShredCheckBtn = nullptr;

    void prefsVCAction(qint64 tag);
    void buttonActionsWithTag(qint64 tag, QWidget* sender);
    void tellaFriend(qint64 tag);
    void learnMoreAction(qint64 tag);
    void openAppMASFromPageSlide(qint64 tag);
    void showdefShredMethodTip(QWidget* sender);
    void defShredMethodCheckbox(QCheckBox* sender);
    void openURLWithWorkspaceFromPath(const QString& path);

    // The checkbox's title for its state: empty while on.
    static QString defShredCheckBtnTitle(bool checked);
    // The prepared tell-a-friend message, every space written as %20.
    static QString tellAFriendMailto();
    static const QString defShredMethodTip;

protected:
    // `buttonColumns`: how many of the screen's buttons stand side by side.
    PreferencesScreen(int buttonColumns, QObject* parent);

    // The grid the twins lay their parts out in.
    QGridLayout* grid() const { return grid_; }
    QWidget* settingsPart() const { return settings_; }
    QWidget* buttonsPart() const { return buttons_; }
    QPushButton* closeButton() const { return close_; }

private:
    enum class Service { Twitter, Facebook, SinaWeibo };
    void shareVia(Service service);
    void toggleTellFriendPopOver(QWidget* sender);
    QWidget* makeSettings();
    QWidget* makeButtons(int columns);
    void makeTellFriendPopOver();

    QGridLayout* grid_ = nullptr;
    QWidget* settings_ = nullptr;
    QWidget* buttons_ = nullptr;
    QPushButton* close_ = nullptr;
};

// The preferences screen of the horizontal window layout, with the slide show of the maker's
// other products.
class PrefsVC : public PreferencesScreen {
    Q_OBJECT

public:
    explicit PrefsVC(QObject* parent = nullptr);

    MIHSliderView* sliderView = nullptr;
    QWidget* slide1V = nullptr;
    QWidget* slide2V = nullptr;
    QWidget* slide3V = nullptr;
    QPushButton* prevSlideBtn = nullptr;
    QPushButton* nextSlideBtn = nullptr;

    void showPrevSlide();
    void showNextSlide();
    // Hides the button that cannot move at the first and at the last slide.
    void updateSlideButtons();

private:
    QWidget* makeSlide(const QString& product, const QString& pitch, qint64 tag);
};

// The preferences screen of the vertical window layout: no slide show.
class PrefsVC_vert : public PreferencesScreen {
    Q_OBJECT

public:
    explicit PrefsVC_vert(QObject* parent = nullptr);
};

} // namespace tolvex
