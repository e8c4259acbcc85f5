#include "MainWindowBuilder.h"

#include "app/Addresses.h"
#include "app/AppDelegate.h"
#include "app/DropView.h"
#include "app/NamedImage.h"
#include "app/SecureTrashPopover.h"
#include "app/WindowLayout.h"
#include "app/myRespView.h"
#include "kit/Appearance.h"
#include "kit/BarProgressIndicator.h"
#include "kit/JESCircularProgressView.h"
#include "kit/JMModalOverlay.h"
#include "kit/MRSubtleButton.h"
#include "kit/MouseDownTextField.h"
#include "kit/ProgressIndicator.h"
#include "kit/RobotoFont.h"
#include "kit/Tag.h"
#include "kit/WAYWindow.h"
#include "kit/hlMyclickableView.h"
#include "privacy/PrivScanView.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tolvex {

namespace {

const QString kWindowTitle = QStringLiteral("Tolvex");

// A drop zone's frame and the frames of its views inside it.
constexpr QSize kZoneSize(150, 156);
constexpr QRect kRingFrame(11, 0, 128, 128);
// The title is tall enough for its hover size; the add button stays clear of the ring's line
// also when a drag shrinks the ring.
constexpr QRect kMainLabelFrame(0, 28, 150, 38);
constexpr QRect kDescrLabelFrame(15, 63, 120, 32);
constexpr QRect kSpinnerFrame(67, 70, 16, 16);
constexpr QRect kAddButtonFrame(65, 92, 20, 20);
constexpr QRect kClearRevealFrame(35, 130, 80, 26);
constexpr QRect kClearButtonFrame(8, 1, 24, 24);
constexpr QRect kRevealButtonFrame(48, 1, 24, 24);

constexpr QSize kStartButtonSize(220, 36);
constexpr int kStartButtonBottomMargin = 18;
// The title-bar buttons are small and stand close together so that the centred title stays
// clear of the five on its right in the narrow window of the vertical layout.
constexpr int kTitleBarButtonSize = 20;
constexpr int kTitleBarButtonSpacing = 2;
constexpr int kTitleBarRightMargin = 6;
// The window's own three buttons end 72 from the left once the window is dressed; the volumes
// button stands just after them, on the side of the title that has room in both layouts.
constexpr int kTitleBarLeftInset = 80;

// Keeps a view covering the whole of another (its parent, or the window's surface it lies on):
// the resizing rule of the main window's full-size views.
class CoverTarget : public QObject {
public:
    CoverTarget(QWidget* view, QWidget* target) : QObject(view), view_(view)
    {
        target->installEventFilter(this);
        view->setGeometry(QRect(QPoint(), coveredSize(target)));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            view_->setGeometry(QRect(QPoint(), coveredSize(static_cast<QWidget*>(watched))));
        return false;
    }

private:
    static QSize coveredSize(const QWidget* target)
    {
        const auto* window = qobject_cast<const WAYWindow*>(target);
        return window ? window->surfaceSize() : target->size();
    }

private:
    QWidget* view_;
};

QToolButton* imageButton(QWidget* parent, const QRect& frame, const QString& image)
{
    auto* button = new QToolButton(parent);
    button->setGeometry(frame);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(frame.size() - QSize(2, 2));
    NamedImage::setImage(button, image);
    return button;
}

QLabel* centredLabel(QWidget* parent, const QRect& frame)
{
    auto* label = new QLabel(parent);
    label->setGeometry(frame);
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

// One drop zone with its views; fills in the zone's outlets.
DropView* buildZone(QWidget* parent, AppDelegate& delegate, qint64 listId,
                    QPointer<DropView>& dropView, QPointer<MouseDownTextField>& mainTF,
                    QPointer<QLabel>& descrTF, QPointer<JESCircularProgressView>& indic,
                    QPointer<ProgressIndicator>& spinner, QPointer<QWidget>& clearRevealView,
                    QPointer<QAbstractButton>& addButton)
{
    auto* zone = new DropView(parent);
    zone->setObjectName(QStringLiteral("dropView%1").arg(listId));
    zone->resize(kZoneSize);
    dropView = zone;

    indic = new JESCircularProgressView(kRingFrame, zone);
    auto* label = new MouseDownTextField(zone);
    label->setGeometry(kMainLabelFrame);
    label->setAlignment(Qt::AlignCenter);
    setTag(label, listId);
    mainTF = label;
    descrTF = centredLabel(zone, kDescrLabelFrame);

    spinner = new ProgressIndicator(zone);
    spinner->setGeometry(kSpinnerFrame);

    addButton = imageButton(zone, kAddButtonFrame, QStringLiteral("AddNew"));
    QAbstractButton* add = addButton;
    QObject::connect(add, &QAbstractButton::clicked, &delegate,
                     [&delegate, add] { delegate.addNewFilesToShredPass(add); });

    auto* group = new QWidget(zone);
    group->setGeometry(kClearRevealFrame);
    QToolButton* clear = imageButton(group, kClearButtonFrame, QStringLiteral("clearList"));
    clear->setToolTip(QStringLiteral("Clear"));
    setTag(clear, listId);
    QObject::connect(clear, &QAbstractButton::clicked, &delegate,
                     [&delegate, clear] { delegate.clearPathsArrAction(clear); });
    QToolButton* reveal = imageButton(group, kRevealButtonFrame, QStringLiteral("reveal"));
    reveal->setToolTip(QStringLiteral("Reveal"));
    setTag(reveal, listId);
    QObject::connect(reveal, &QAbstractButton::clicked, &delegate,
                     [&delegate, reveal] { delegate.revealInFinderAction(reveal); });
    clearRevealView = group;
    return zone;
}

// The privacy progress view, under the start button, whose place it takes while shown.
void buildPrivScanView(QVBoxLayout& column, AppDelegate& delegate, MainWindowOutlets& outlets)
{
    auto* view = new PrivScanView(column.parentWidget());
    column.addWidget(view, 0, Qt::AlignHCenter);
    outlets.privScanView = view;
    outlets.privacyScanEraseProgIndic = view->privacyScanEraseProgIndic;
    outlets.privScanStatusLbl = view->privScanStatusLbl;
    outlets.privScanNameLbl = view->privScanNameLbl;
    outlets.privScanStopBtn = view->privScanStopBtn;
    QAbstractButton* stop = view->privScanStopBtn;
    QObject::connect(stop, &QAbstractButton::clicked, &delegate,
                     [&delegate, stop] { delegate.privacyScanStop(stop); });
}

// The view in the title bar: the volumes button after the window's own buttons, and the
// privacy, information, preferences, Secure Empty Trash and layout buttons at its right end.
hlMyclickableView* buildTitleBar(AppDelegate& delegate, MainWindowOutlets& outlets)
{
    auto* titlebar = new hlMyclickableView;
    titlebar->setObjectName(QStringLiteral("titlebar"));
    auto* row = new QHBoxLayout(titlebar);
    row->setContentsMargins(0, 0, kTitleBarRightMargin, 0);
    row->setSpacing(kTitleBarButtonSpacing);
    row->addSpacing(kTitleBarLeftInset);
    // One button of the row; `action` is the delegate's action, called with the button.
    const auto addButton = [&](const QString& image, const QString& toolTip, auto action) {
        const QRect frame(0, 0, kTitleBarButtonSize, kTitleBarButtonSize);
        QToolButton* button = imageButton(titlebar, frame, image);
        button->setToolTip(toolTip);
        button->setFixedSize(frame.size());
        QObject::connect(button, &QAbstractButton::clicked, &delegate,
                         [&delegate, button, action] { (delegate.*action)(button); });
        row->addWidget(button);
        return button;
    };

    addButton(QStringLiteral("disk"), QStringLiteral("Volumes"), &AppDelegate::eraseDiskSpace)
        ->setObjectName(QStringLiteral("volumesButton"));
    row->addStretch();
    addButton(QStringLiteral("privacyClean"), QStringLiteral("Browser Privacy Clean-up"),
              &AppDelegate::privacyCleanUp)
        ->setObjectName(QStringLiteral("privacyButton"));
    addButton(QStringLiteral("info"), QStringLiteral("Shredding methods"),
              &AppDelegate::showShredInfoHelp)
        ->setObjectName(QStringLiteral("infoButton"));
    addButton(QStringLiteral("prefs"), QStringLiteral("Preferences"), &AppDelegate::showPrefsAction)
        ->setObjectName(QStringLiteral("prefsButton"));
    outlets.secEmptyTrashBtn =
        addButton(QStringLiteral("secureTrash"), QStringLiteral("Secure Empty Trash"),
                  &AppDelegate::secureEmptyShowPop);
    outlets.toggleHorizontalVerticalBtn =
        addButton(QStringLiteral("horiz_Layout"), QStringLiteral("Switch layout"),
                  &AppDelegate::toggleWindowHorizontal);

    // The title bar's menu stands in for the application menu.
    auto* visitWebsite = new QAction(QStringLiteral("Visit Website"), titlebar);
    visitWebsite->setObjectName(QStringLiteral("visitWebsiteAction"));
    QObject::connect(visitWebsite, &QAction::triggered, &delegate,
                     [&delegate, visitWebsite] { delegate.visitWebsiteMbaction(visitWebsite); });
    titlebar->addAction(visitWebsite);
    titlebar->setContextMenuPolicy(Qt::ActionsContextMenu);
    return titlebar;
}

} // namespace

WAYWindow* MainWindowBuilder::build(AppDelegate& delegate)
{
    MainWindowOutlets& outlets = delegate.outlets();
    // Menus, pop-up lists, panels and tooltips are windows of their own, which take the
    // application's look: it is the dark one the main window is dressed in.
    applyApplicationAppearance(Appearance::VibrantDark);

    auto* window = new WAYWindow;
    window->setObjectName(QStringLiteral("mainWindow"));
    // The window's own title label is the title of the custom title bar.
    outlets.titleBarStrTitleTF = window->titleLabel();
    window->setWindowTitle(kWindowTitle);
    // Each layout has its one size; only the layout switch changes it.
    window->setFixedSurfaceSize(WindowLayout::kHorizontalSize);
    outlets.window = window;

    auto* surface = new myRespView(window->contentView());
    surface->setObjectName(QStringLiteral("myRespView"));
    surface->setEventDelegate(&delegate);
    new CoverTarget(surface, window);

    buildZone(surface, delegate, 1, outlets.onePassDropView, outlets.onePassMainTF,
              outlets.onePassDescrTF, outlets.onePassIndic, outlets.progIndicForFilesize1,
              outlets.clearRevealView, outlets.addNewFilesBtn);
    buildZone(surface, delegate, 7, outlets.sevenPassDropView, outlets.sevenPassMainTF,
              outlets.sevenPassDescrTF, outlets.sevenPassIndic, outlets.progIndicForFilesize7,
              outlets.clearRevealView7, outlets.addNewFilesBtn7);
    buildZone(surface, delegate, 35, outlets.thirtyFivePassDropView, outlets.thirtyfPassMainTF,
              outlets.thirtyfPassDescrTF, outlets.thirtyFivePassIndic,
              outlets.progIndicForFilesize35, outlets.clearRevealView35, outlets.addNewFilesBtn35);
    // The title bar is 32 high once dressed, so neighbouring zones stand 16 apart.
    const WindowLayout::ZoneOrigins origins =
        WindowLayout::horizontalOrigins(QPointF(WindowLayout::kHorizontalSize.width() / 2.0,
                                                WindowLayout::kHorizontalSize.height() / 2.0),
                                        QSizeF(kZoneSize), 16.0);
    outlets.onePassDropView->move(origins.one.toPoint());
    outlets.sevenPassDropView->move(origins.seven.toPoint());
    outlets.thirtyFivePassDropView->move(origins.thirtyFive.toPoint());

    auto* start = new MRSubtleButton(surface);
    start->setObjectName(QStringLiteral("startShredBtn"));
    start->setFixedSize(kStartButtonSize);
    auto* column = new QVBoxLayout(surface);
    column->setContentsMargins(0, 0, 0, kStartButtonBottomMargin);
    column->addStretch();
    column->addWidget(start, 0, Qt::AlignHCenter);
    outlets.startShredBtn = start;
    buildPrivScanView(*column, delegate, outlets);

    hlMyclickableView* titlebar = buildTitleBar(delegate, outlets);
    new CoverTarget(titlebar, window->titleBarView());
    outlets.titlebar = titlebar;

    auto* popover = new SecureTrashPopover(window);
    QObject::connect(popover, &SecureTrashPopover::passChosen, &delegate,
                     [&delegate](QObject* sender) { delegate.secureEmptyTrashAction(sender); });
    outlets.secureTrashPopOver = popover;

    outlets.modalOverlay = new JMModalOverlay(window);
    outlets.modalOverlay->setDelegate(&delegate);
    outlets.fse_VC = new FreeSpaceEraseVC(QString(Addresses::supportMail), window);
    outlets.privScan_VC = new PrivScanVC(window);
    outlets.privScan_VCvert = new PrivScanVC_vert(window);

    surface->setFocus();
    return window;
}

} // namespace tolvex
