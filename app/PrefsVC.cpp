#include "app/PrefsVC.h"

#include "app/Addresses.h"
#include "app/DefaultsBinding.h"
#include "engine/UtilsSettings.h"
#include "kit/Images.h"
#include "kit/MIHSliderView.h"
#include "kit/PopoverPanel.h"
#include "kit/RobotoFont.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>

namespace tolvex {

namespace {

constexpr qint64 supportTag = 0;
constexpr qint64 tellFriendTag = 1;
constexpr qint64 checkForUpdatesTag = 2;
constexpr qint64 homePageTag = 3;
constexpr qint64 twitterPageTag = 4;
constexpr qint64 facebookPageTag = 5;
constexpr qint64 closeTag = 111;

constexpr int sideMargin = 18;
constexpr int narrowSideMargin = 12;
constexpr int topMargin = 34;
constexpr int bottomMargin = 12;

// The narrow window of the vertical layout takes the buttons two by two.
constexpr int horizontalButtonColumns = 3;
constexpr int verticalButtonColumns = 2;
// Room for the slide show beside the settings; its page dots sit in the bottom of each slide.
constexpr QSize sliderMinimumSize(210, 120);
constexpr int slideDotsRoom = 24;
constexpr int slideSpacing = 4;
constexpr QSize slidePictureSize(32, 32);

const QString shareText =
    QStringLiteral("Securely and permanently erase sensitive data on your Mac with Tolvex!");

// Where a checkbox's title begins: past its indicator and the gap after it.
int defShredCheckBtnIndent(const QCheckBox* checkBox)
{
    const QStyle* style = checkBox->style();
    return style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, checkBox) +
           style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, checkBox);
}

QPushButton* taggedButton(const QString& title, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(title, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

const QString PreferencesScreen::defShredMethodTip = QStringLiteral(
    "Sets default shredding method for 3 scenarios:\n1) when files are droped on Tolvex's Dock "
    "icon;\n2) files are shredded via context menu > Services> Erase with Tolvex.\n3) when you "
    "use Secure Empty Trash feature\nIf unchecked - you will be asked to choose a shredding "
    "method.");

PreferencesScreen::PreferencesScreen(int buttonColumns, QObject* parent) : ViewController(parent)
{
    setView(new QWidget);
    grid_ = new QGridLayout(view());
    grid_->setContentsMargins(sideMargin, topMargin, sideMargin, bottomMargin);
    grid_->setVerticalSpacing(8);

    auto* title = new QLabel(QStringLiteral("Preferences"), view());
    title->setAlignment(Qt::AlignCenter);
    title->setFont(RobotoFont::named(QStringLiteral("Roboto-Thin"), 18));
    grid_->addWidget(title, 0, 0, 1, -1);

    settings_ = makeSettings();
    buttons_ = makeButtons(buttonColumns);
    makeTellFriendPopOver();

    close_ = taggedButton(QStringLiteral("Done"), QStringLiteral("closeButton"), view());
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, [this] { prefsVCAction(closeTag); });
}

QWidget* PreferencesScreen::makeSettings()
{
    auto* part = new QWidget(view());
    auto* layout = new QVBoxLayout(part);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* method = new QHBoxLayout;
    defShredCheckBtn = new QCheckBox(part);
    defShredCheckBtn->setObjectName(QStringLiteral("defShredCheckBtn"));
    DefaultsBinding::bindChecked(defShredCheckBtn, Utils::DefaultsKey::defaultShreddingEnbled);
    connect(defShredCheckBtn, &QCheckBox::clicked, this,
            [this] { defShredMethodCheckbox(defShredCheckBtn); });
    auto* methods = new QComboBox(part);
    methods->setObjectName(QStringLiteral("defShredMethodPopUp"));
    methods->addItems(
        {QStringLiteral("1-pass"), QStringLiteral("7-pass"), QStringLiteral("35-pass")});
    DefaultsBinding::bindCurrentIndex(methods, Utils::DefaultsKey::selectedDefShredMethodInd);
    auto* help = new QPushButton(QStringLiteral("?"), part);
    help->setObjectName(QStringLiteral("helpButton"));
    connect(help, &QPushButton::clicked, this, [this, help] { showdefShredMethodTip(help); });
    // Below the checkbox, in line with its title, so the title has the whole width.
    method->setContentsMargins(defShredCheckBtnIndent(defShredCheckBtn), 0, 0, 0);
    method->addWidget(methods);
    method->addWidget(help);
    method->addStretch(1);
    layout->addWidget(defShredCheckBtn);
    layout->addLayout(method);

    auto* quit = new QCheckBox(QStringLiteral("Quit when all shredding is complete"), part);
    quit->setObjectName(QStringLiteral("quitOnAllCompleteCheckBtn"));
    DefaultsBinding::bindChecked(quit, Utils::DefaultsKey::quitOnAllComplete);
    layout->addWidget(quit);

    auto* totalsTitle = new QLabel(QStringLiteral("Shredded so far:"), part);
    totalsTitle->setFont(RobotoFont::named(QStringLiteral("Roboto-Light"), 12));
    layout->addWidget(totalsTitle);
    totalShredInfoLbl = new QLabel(part);
    totalShredInfoLbl->setObjectName(QStringLiteral("totalShredInfoLbl"));
    totalShredInfoLbl->setFont(RobotoFont::named(QStringLiteral("Roboto-Regular"), 14));
    layout->addWidget(totalShredInfoLbl);
    appVersionLbl = new QLabel(part);
    appVersionLbl->setObjectName(QStringLiteral("appVersionLbl"));
    appVersionLbl->setFont(RobotoFont::named(QStringLiteral("Roboto-Light"), 11));
    layout->addWidget(appVersionLbl);
    layout->addStretch(1);
    return part;
}

QWidget* PreferencesScreen::makeButtons(int columns)
{
    auto* part = new QWidget(view());
    auto* layout = new QGridLayout(part);
    layout->setContentsMargins(0, 0, 0, 0);
    const struct {
        const char* title;
        const char* name;
        qint64 tag;
    } buttons[] = {
        {"Check for Updates", "checkForUpdatesButton", checkForUpdatesTag},
        {"Support", "supportButton", supportTag},
        {"Tell a Friend", "tellFriendButton", tellFriendTag},
        {"Website", "homePageButton", homePageTag},
        {"Twitter", "twitterPageButton", twitterPageTag},
        {"Facebook", "facebookPageButton", facebookPageTag},
    };
    int position = 0;
    for (const auto& entry : buttons) {
        auto* button =
            taggedButton(QString::fromLatin1(entry.title), QString::fromLatin1(entry.name), part);
        const qint64 tag = entry.tag;
        connect(button, &QPushButton::clicked, this,
                [this, tag, button] { buttonActionsWithTag(tag, button); });
        layout->addWidget(button, position / columns, position % columns);
        ++position;
    }
    return part;
}

void PreferencesScreen::makeTellFriendPopOver()
{
    tellFriendPopOver = new PopoverPanel(view());
    tellFriendPopOver->setObjectName(QStringLiteral("tellFriendPopOver"));
    tellFriendPopOver->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QHBoxLayout(tellFriendPopOver);
    const QStringList titles{QStringLiteral("Twitter"), QStringLiteral("Facebook"),
                             QStringLiteral("Sina Weibo"), QStringLiteral("E-mail")};
    for (qint64 tag = 1; tag <= titles.size(); ++tag) {
        auto* button = taggedButton(titles[tag - 1], QStringLiteral("tellFriend%1").arg(tag),
                                    tellFriendPopOver);
        connect(button, &QPushButton::clicked, this, [this, tag] { tellaFriend(tag); });
        layout->addWidget(button);
    }
}

void PreferencesScreen::prefsVCAction(qint64 tag)
{
    if (actionWithIndex) {
        actionWithIndex(tag);
    }
}

void PreferencesScreen::buttonActionsWithTag(qint64 tag, QWidget* sender)
{
    switch (tag) {
    case supportTag:
    case checkForUpdatesTag:
        prefsVCAction(tag);
        break;
    case tellFriendTag:
        toggleTellFriendPopOver(sender);
        break;
    case homePageTag:
        openURLWithWorkspaceFromPath(Addresses::homePage);
        break;
    case twitterPageTag:
        openURLWithWorkspaceFromPath(Addresses::twitterPage);
        break;
    case facebookPageTag:
        openURLWithWorkspaceFromPath(Addresses::facebookPage);
        break;
    default:
        break;
    }
}

void PreferencesScreen::toggleTellFriendPopOver(QWidget* sender)
{
    if (tellFriendPopOver->isVisible()) {
        tellFriendPopOver->close();
        return;
    }
    tellFriendPopOver->showRelativeTo(sender, PopoverPanel::Edge::Above);
}

void PreferencesScreen::tellaFriend(qint64 tag)
{
    switch (tag) {
    case 1:
        shareVia(Service::Twitter);
        break;
    case 2:
        shareVia(Service::Facebook);
        break;
    case 3:
        shareVia(Service::SinaWeibo);
        break;
    case 4:
        openURLWithWorkspaceFromPath(tellAFriendMailto());
        break;
    default:
        break;
    }
}

void PreferencesScreen::shareVia(Service service)
{
    tellFriendPopOver->close();
    const QString text = shareText + QStringLiteral("  ") + Addresses::productPageWithoutScheme;
    const QString escaped = QString::fromLatin1(QUrl::toPercentEncoding(text));
    switch (service) {
    case Service::Twitter:
        openURLWithWorkspaceFromPath(QString(Addresses::twitterShare).arg(escaped));
        break;
    case Service::Facebook:
        openURLWithWorkspaceFromPath(QString(Addresses::facebookShare).arg(escaped));
        break;
    case Service::SinaWeibo:
        openURLWithWorkspaceFromPath(QString(Addresses::sinaWeiboShare).arg(escaped));
        break;
    }
}

QString PreferencesScreen::tellAFriendMailto()
{
    const QString body =
        QStringLiteral("Hi, %0A I've recently come across this Mac app called Tolvex. %0A It "
                       "allows you to securely and permanently erase sensitive data on your Mac! "
                       "%0A You can download it here - ") +
        Addresses::productPageWithoutScheme + QLatin1Char(' ');
    QString mail = QStringLiteral("mailto:?Subject=") +
                   QStringLiteral("Tolvex - file shredding utility") + QStringLiteral("&body=") +
                   body;
    return mail.replace(QLatin1Char(' '), QStringLiteral("%20"));
}

void PreferencesScreen::learnMoreAction(qint64 tag)
{
    const QLatin1StringView pages[] = {Addresses::nodewickPage, Addresses::sarvelPage,
                                       Addresses::harlightPage};
    if (tag >= 0 && tag < qint64(std::size(pages))) {
        openURLWithWorkspaceFromPath(pages[tag]);
    }
}

void PreferencesScreen::openAppMASFromPageSlide(qint64 tag)
{
    const QLatin1StringView pages[] = {Addresses::nodewickStorePage, Addresses::sarvelStorePage,
                                       Addresses::harlightDownload};
    if (tag >= 0 && tag < qint64(std::size(pages))) {
        openURLWithWorkspaceFromPath(pages[tag]);
    }
}

void PreferencesScreen::showdefShredMethodTip(QWidget* sender)
{
    QToolTip::showText(QCursor::pos(), defShredMethodTip, sender);
}

void PreferencesScreen::defShredMethodCheckbox(QCheckBox* sender)
{
    // Without its title the box would shrink to its indicator and move what stands below.
    sender->setText(defShredCheckBtnTitle(false));
    sender->setMinimumHeight(sender->sizeHint().height());
    sender->setText(defShredCheckBtnTitle(sender->isChecked()));
}

QString PreferencesScreen::defShredCheckBtnTitle(bool checked)
{
    return checked ? QString() : QStringLiteral("Default shredding method");
}

void PreferencesScreen::openURLWithWorkspaceFromPath(const QString& path)
{
    QDesktopServices::openUrl(QUrl(path));
}

PrefsVC::PrefsVC(QObject* parent) : PreferencesScreen(horizontalButtonColumns, parent)
{
    view()->setObjectName(QStringLiteral("PrefsVC"));
    grid()->addWidget(settingsPart(), 1, 0);

    auto* promotion = new QWidget(view());
    auto* promotionLayout = new QVBoxLayout(promotion);
    promotionLayout->setContentsMargins(0, 0, 0, 0);
    sliderView = new MIHSliderView(promotion);
    sliderView->setObjectName(QStringLiteral("sliderView"));
    sliderView->setMinimumSize(sliderMinimumSize);
    promotionLayout->addWidget(sliderView, 1);
    auto* navigation = new QHBoxLayout;
    prevSlideBtn = taggedButton(QStringLiteral("‹"), QStringLiteral("prevSlideBtn"), promotion);
    nextSlideBtn = taggedButton(QStringLiteral("›"), QStringLiteral("nextSlideBtn"), promotion);
    connect(prevSlideBtn, &QPushButton::clicked, this, &PrefsVC::showPrevSlide);
    connect(nextSlideBtn, &QPushButton::clicked, this, &PrefsVC::showNextSlide);
    navigation->addWidget(prevSlideBtn);
    navigation->addStretch(1);
    navigation->addWidget(nextSlideBtn);
    promotionLayout->addLayout(navigation);
    grid()->addWidget(promotion, 1, 1);

    grid()->addWidget(buttonsPart(), 2, 0, 1, 2);
    grid()->addWidget(closeButton(), 3, 0, 1, 2, Qt::AlignHCenter);

    slide1V = makeSlide(QStringLiteral("Nodewick"),
                        QStringLiteral("Keep your notes and files in order."), 0);
    slide2V = makeSlide(QStringLiteral("Sarvel"), QStringLiteral("Find what fills your disk."), 1);
    slide3V = makeSlide(QStringLiteral("Harlight"),
                        QStringLiteral("Another app from the makers of Tolvex."), 2);
    sliderView->addSlide(slide3V);
    sliderView->addSlide(slide1V);
    sliderView->addSlide(slide2V);
    // The buttons follow the slide shown, also when the show moves on by itself.
    connect(sliderView, &MIHSliderView::displayedSlideChanged, this, &PrefsVC::updateSlideButtons);
}

QWidget* PrefsVC::makeSlide(const QString& product, const QString& pitch, qint64 tag)
{
    auto* slide = new QWidget;
    slide->setObjectName(product + QStringLiteral("Slide"));
    auto* layout = new QVBoxLayout(slide);
    layout->setContentsMargins(0, 0, 0, slideDotsRoom);
    layout->setSpacing(slideSpacing);
    // The product's picture beside its name.
    auto* heading = new QHBoxLayout;
    auto* picture = new QLabel(slide);
    picture->setObjectName(product + QStringLiteral("Picture"));
    picture->setPixmap(imageNamed(product).pixmap(slidePictureSize, slide->devicePixelRatioF()));
    auto* name = new QLabel(product, slide);
    name->setFont(RobotoFont::named(QStringLiteral("Roboto-Thin"), 20));
    heading->addStretch(1);
    heading->addWidget(picture);
    heading->addWidget(name);
    heading->addStretch(1);
    auto* text = new QLabel(pitch, slide);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    auto* buttons = new QHBoxLayout;
    auto* learnMore =
        taggedButton(QStringLiteral("Learn More"), QStringLiteral("learnMore%1").arg(tag), slide);
    connect(learnMore, &QPushButton::clicked, this, [this, tag] { learnMoreAction(tag); });
    auto* get = taggedButton(tag == 2 ? QStringLiteral("Download") : QStringLiteral("Get It"),
                             QStringLiteral("getApp%1").arg(tag), slide);
    connect(get, &QPushButton::clicked, this, [this, tag] { openAppMASFromPageSlide(tag); });
    buttons->addWidget(learnMore);
    buttons->addWidget(get);
    layout->addLayout(heading);
    layout->addWidget(text, 1);
    layout->addLayout(buttons);
    return slide;
}

void PrefsVC::showPrevSlide()
{
    if (sliderView->indexOfDisplayedSlide() > 0) {
        sliderView->displaySlideAtIndex(sliderView->indexOfDisplayedSlide() - 1);
    }
    updateSlideButtons();
}

void PrefsVC::showNextSlide()
{
    if (sliderView->indexOfDisplayedSlide() + 1 < sliderView->slides().size()) {
        sliderView->displaySlideAtIndex(sliderView->indexOfDisplayedSlide() + 1);
    }
    updateSlideButtons();
}

// A button is offered only where there is a slide to go to.
void PrefsVC::updateSlideButtons()
{
    const qsizetype index = sliderView->indexOfDisplayedSlide();
    const bool hasPrevious = index > 0;
    const bool hasNext = index + 1 < sliderView->slides().size();
    prevSlideBtn->setEnabled(hasPrevious);
    prevSlideBtn->setVisible(hasPrevious);
    nextSlideBtn->setEnabled(hasNext);
    nextSlideBtn->setVisible(hasNext);
}

PrefsVC_vert::PrefsVC_vert(QObject* parent) : PreferencesScreen(verticalButtonColumns, parent)
{
    view()->setObjectName(QStringLiteral("PrefsVC_vert"));
    grid()->setContentsMargins(narrowSideMargin, topMargin, narrowSideMargin, bottomMargin);
    grid()->addWidget(settingsPart(), 1, 0);
    grid()->addWidget(buttonsPart(), 2, 0);
    grid()->setRowStretch(3, 1);
    grid()->addWidget(closeButton(), 4, 0, Qt::AlignHCenter);
}

} // namespace tolvex
