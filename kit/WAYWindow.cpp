#include "kit/WAYWindow.h"

#include "kit/CompositingMonitor.h"
#include "kit/KitLog.h"
#include "kit/WindowResizability.h"
#include "kit/WindowShadow.h"
#include "kit/WindowStandardButton.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <cmath>

namespace tolvex {

namespace {

constexpr float kDefaultTitleBarHeight = 22.0f;
constexpr int kTitlePixelSize = 13;
// Where the window system would put the close button in a standard title bar; the first
// button's place is measured from here.
constexpr QPoint kStandardButtonOrigin(7, 4);
constexpr double kButtonSpacing = 6.0;
constexpr double kStackedButtonSpacing = 5.0;
constexpr int kSpacerWidth = 10;
// The rounding of a window of this style, where the window system can show it: that of the
// overlay laid over it, so that neither shows a corner past the other.
constexpr qreal kWindowCornerRadius = 8.0;

// The title bar: dragging it moves the window.
class TitleBarView : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && window()->windowHandle()) {
            window()->windowHandle()->startSystemMove();
            event->accept();
            return;
        }
        QWidget::mousePressEvent(event);
    }
};

// The placement rules measure y upwards from the bottom edge of the buttons' superview; Qt
// measures downwards from the top.
int flipped(double yFromBottom, double height, double superviewHeight)
{
    return static_cast<int>(std::lround(superviewHeight - yFromBottom - height));
}

// Without a compositor the corners would show black, not what lies behind the window.
qreal surfaceCornerRadius()
{
    return CompositingMonitor::instance()->composites() ? kWindowCornerRadius : 0.0;
}

} // namespace

WAYWindow::WAYWindow(QWidget* parent) : QWidget(parent)
{
    setWindowFlags(windowFlags() | Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    auto* content = new QWidget;
    content->setAutoFillBackground(true);
    setContentView(content);

    titleBar_ = new TitleBarView(this);
    titleBar_->setObjectName(QStringLiteral("titleBarView"));
    titleLabel_ = new QLabel(titleBar_);
    QFont titleFont = titleLabel_->font();
    titleFont.setPixelSize(kTitlePixelSize);
    titleLabel_->setFont(titleFont);
    titleLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);

    for (const auto kind :
         {WindowStandardButton::Kind::Close, WindowStandardButton::Kind::Miniaturize,
          WindowStandardButton::Kind::Zoom}) {
        auto* button = new WindowStandardButton(kind, titleBar_);
        button->move(kStandardButtonOrigin +
                     QPoint(standardButtons_.size() *
                                (WindowStandardButton::kSize + static_cast<int>(kButtonSpacing)),
                            0));
        standardButtons_ << button;
    }
    connect(standardButtons_[0], &QAbstractButton::clicked, this, &WAYWindow::performClose);
    connect(standardButtons_[1], &QAbstractButton::clicked, this, &QWidget::showMinimized);
    connect(standardButtons_[2], &QAbstractButton::clicked, this, &WAYWindow::performZoom);

    placeTitleBar();
    const QRectF title = getTitleFrame();
    titleLabel_->move(titleLabel_->x(),
                      static_cast<int>((kDefaultTitleBarHeight - title.height()) / 2.0));
    setUp();

    CompositingMonitor* compositing = CompositingMonitor::instance();
    connect(compositing, &CompositingMonitor::compositingChanged, this, &WAYWindow::updateShadow);
    updateShadow(compositing->composites());
}

WAYWindow::~WAYWindow() = default;

bool WAYWindow::supportsVibrantAppearances()
{
    return true;
}

float WAYWindow::defaultTitleBarHeight()
{
    return kDefaultTitleBarHeight;
}

void WAYWindow::setUp()
{
    delegateProxy_ = std::make_unique<WAYWindowDelegateProxy>();
    delegateProxy_->setFirstDelegate(this);

    centerTrafficLightButtons_ = true;

    QAbstractButton* close = standardButtons_.value(0);
    const QRect frame = close ? close->geometry() : QRect();
    const auto leftMargin = static_cast<float>(frame.x());
    const auto topMargin = static_cast<float>(frame.y());

    trafficLightButtonsLeftMargin_ = leftMargin;
    trafficLightButtonsTopMargin_ = topMargin;
    setHidesTitle(true);
    messageDelegate_ = this;
    setNeedsLayout();
}

void WAYWindow::setDelegate(WindowDelegate* delegate)
{
    delegateProxy_->setSecondaryDelegate(delegate);
    messageDelegate_ = delegateProxy_.get();
}

WindowDelegate* WAYWindow::delegate() const
{
    return delegateProxy_->secondaryDelegate();
}

void WAYWindow::performClose()
{
    if (messageDelegate_->windowShouldClose(this))
        close();
}

void WAYWindow::performZoom()
{
    if (!isResizable(this))
        return;
    isMaximized() ? showNormal() : showMaximized();
}

QWidget* WAYWindow::titleBarView() const
{
    QAbstractButton* close = standardButtons_.value(0);
    return close ? close->parentWidget() : nullptr;
}

void WAYWindow::setContentView(QWidget* view)
{
    if (view == contentView_)
        return;
    delete contentView_;
    contentView_ = view;
    if (auto* surface = qobject_cast<VisualEffectView*>(view))
        surface->setCornerRadius(surfaceCornerRadius());
    view->setParent(this);
    view->setGeometry(surfaceRect());
    view->lower();
    view->show();
}

void WAYWindow::setFixedSurfaceSize(QSize size)
{
    setFixedSize(size.grownBy(shadowMargins_));
}

void WAYWindow::moveSurfaceTo(QPoint topLeft)
{
    move(topLeft - QPoint(shadowMargins_.left(), shadowMargins_.top()));
}

void WAYWindow::updateShadow(bool composites)
{
    if (auto* surface = qobject_cast<VisualEffectView*>(contentView_.data()))
        surface->setCornerRadius(surfaceCornerRadius());
    const QMargins margins = composites ? WindowShadow::margins() : QMargins();
    if (margins == shadowMargins_)
        return;
    const QRect surface = surfaceGeometry();
    shadowMargins_ = margins;
    if (isResizable(this))
        resize(surface.size().grownBy(margins));
    else
        setFixedSurfaceSize(surface.size());
    // A window not yet placed is left for the window manager to place.
    if (isVisible() || testAttribute(Qt::WA_Moved))
        moveSurfaceTo(surface.topLeft());
    if (windowHandle())
        WindowShadow::setNativeMargins(windowHandle(), margins);
    update();
}

void WAYWindow::setVerticallyCenterTitle(bool center)
{
    verticallyCenterTitle_ = center;
    setNeedsLayout();
}

void WAYWindow::setCenterTrafficLightButtons(bool center)
{
    centerTrafficLightButtons_ = center;
    setNeedsLayout();
}

void WAYWindow::setVerticalTrafficLightButtons(bool vertical)
{
    verticalTrafficLightButtons_ = vertical;
    setNeedsLayout();
}

void WAYWindow::setHidesTitle(bool hides)
{
    hidesTitle_ = hides;
    showsTitle_ = !hides;
    titleLabel_->setVisible(!hides);
}

void WAYWindow::setTitleBarHeight(double height)
{
    const double newHeight = std::max(height, static_cast<double>(defaultTitleBarHeight()));
    titleBarHeight_ = newHeight;

    delete dummyTitlebarAccessoryViewController_;
    auto* spacer = new QWidget(titleBar_);
    spacer->setObjectName(QStringLiteral("titlebarAccessory"));
    spacer->setGeometry(0, static_cast<int>(defaultTitleBarHeight()), kSpacerWidth,
                        static_cast<int>(newHeight - defaultTitleBarHeight()));
    spacer->setAttribute(Qt::WA_TransparentForMouseEvents);
    spacer->show();
    dummyTitlebarAccessoryViewController_ = spacer;

    // The title bar lies over the full-size content view, so the window keeps its frame.
    placeTitleBar();
    setNeedsLayout();
}

void WAYWindow::setContentViewAppearance(VisualEffectView::Material material)
{
    if (!supportsVibrantAppearances())
        return;
    auto* effectView = replaceSubview<VisualEffectView>(contentView_);
    effectView->setMaterial(material);
    setContentView(effectView);
}

void WAYWindow::setContentViewAppearanceVibrantDark()
{
    setContentViewAppearance(VisualEffectView::Material::Dark);
}

void WAYWindow::setContentViewAppearanceVibrantLight()
{
    setContentViewAppearance(VisualEffectView::Material::Light);
}

void WAYWindow::setVibrantDarkAppearance()
{
    setAppearance(Appearance::VibrantDark);
}

void WAYWindow::setVibrantLightAppearance()
{
    setAppearance(Appearance::VibrantLight);
}

void WAYWindow::setAquaAppearance()
{
    setAppearance(Appearance::Aqua);
}

void WAYWindow::setAppearance(Appearance appearance)
{
    appearance_ = appearance;
    tolvex::applyAppearance(this, appearance);
}

void WAYWindow::replaceSubview(QWidget* oldView, QWidget* newView, bool resizing)
{
    if (resizing)
        newView->setGeometry(oldView->geometry());
    const auto subviews = oldView->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* subview : subviews) {
        if (oldView->layout() && oldView->layout()->indexOf(subview) >= 0)
            qCInfo(lcKit,
                   "WARNING: [WAYWindow replaceSubview] does not work yet with NSView instances, "
                   "that use auto-layout.");
        const QRect frame = subview->geometry();
        const bool shown = !subview->isHidden();
        subview->setParent(newView);
        subview->setGeometry(frame);
        subview->setVisible(shown);
    }
    if (oldView == contentView_) {
        setContentView(newView);
    } else if (QWidget* superview = oldView->parentWidget()) {
        if (superview->layout() && superview->layout()->indexOf(oldView) >= 0) {
            delete superview->layout()->replaceWidget(oldView, newView);
        } else {
            newView->setParent(superview);
            newView->stackUnder(oldView);
        }
        newView->show();
        delete oldView;
    }
    setNeedsLayout();
}

void WAYWindow::setNeedsLayout()
{
    const double superviewHeight = titleBarView() ? titleBarView()->height() : 0.0;
    const double barHeight = titleBarHeight_;
    for (qsizetype i = 0; i < standardButtons_.size(); ++i) {
        QAbstractButton* button = standardButtons_[i];
        const double w = button->width();
        const double h = button->height();
        const double index = static_cast<double>(i);
        double x = trafficLightButtonsLeftMargin_;
        double y = 0.0;
        if (!verticalTrafficLightButtons_) {
            x = trafficLightButtonsLeftMargin_ + (w + kButtonSpacing) * index;
            y = centerTrafficLightButtons_ ? superviewHeight * 0.5 - h * 0.5
                                           : superviewHeight - h - trafficLightButtonsTopMargin_;
        } else if (centerTrafficLightButtons_) {
            y = (barHeight - h) - (h + kStackedButtonSpacing) * index +
                (barHeight - (3.0 * h + 2.0 * kStackedButtonSpacing)) * -0.5;
        } else {
            y = barHeight - h - trafficLightButtonsTopMargin_ - (h + kStackedButtonSpacing) * index;
        }
        button->move(static_cast<int>(std::lround(x)), flipped(y, h, superviewHeight));
    }
    if (verticallyCenterTitle_)
        layoutVerticallyCenterTitle();
}

void WAYWindow::layoutVerticallyCenterTitle()
{
    if (!showsTitle_)
        return;
    const double titleHeight = getTitleFrame().height();
    const double barHeight = titleBarView()->height();
    const double y = std::floor(barHeight * 0.5 - titleHeight * 0.5 + 1.0);
    titleLabel_->move(titleLabel_->x(), flipped(y, titleHeight, barHeight));
}

QRectF WAYWindow::getTitleFrame() const
{
    const QFontMetrics metrics(titleLabel_->font());
    return QRectF(0, 0, metrics.horizontalAdvance(windowTitle()), metrics.height());
}

int WAYWindow::titleBarContainerHeight() const
{
    return static_cast<int>(std::max(titleBarHeight_, static_cast<double>(kDefaultTitleBarHeight)));
}

void WAYWindow::placeTitleBar()
{
    const QRect surface = surfaceRect();
    titleBar_->setGeometry(surface.x(), surface.y(), surface.width(), titleBarContainerHeight());
    titleBar_->raise();
    const QRectF title = getTitleFrame();
    titleLabel_->setText(windowTitle());
    titleLabel_->setGeometry(static_cast<int>((surface.width() - title.width()) / 2.0),
                             titleLabel_->y(), static_cast<int>(std::ceil(title.width())),
                             static_cast<int>(title.height()));
}

bool WAYWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowTitleChange && titleLabel_)
        placeTitleBar();
    return QWidget::event(event);
}

void WAYWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (contentView_)
        contentView_->setGeometry(surfaceRect());
    placeTitleBar();
    setNeedsLayout();
    updateZoomButton();
    // The part that takes clicks follows the size.
    if (windowHandle() && !shadowMargins_.isNull())
        WindowShadow::setNativeMargins(windowHandle(), shadowMargins_);
    messageDelegate_->windowDidResize(this);
}

void WAYWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    setNeedsLayout();
    updateZoomButton();
    // The window now has its native window, not yet on the screen: window managers read the
    // frame's extents when it appears.
    if (!shadowMargins_.isNull())
        WindowShadow::setNativeMargins(windowHandle(), shadowMargins_);
}

void WAYWindow::paintEvent(QPaintEvent*)
{
    if (shadowMargins_.isNull())
        return;
    const qreal scale = devicePixelRatio();
    if (shadowPicture_.size() != size() * scale)
        shadowPicture_ = WindowShadow::picture(size(), shadowMargins_, kWindowCornerRadius, scale);
    QPainter(this).drawImage(QPoint(), shadowPicture_);
}

void WAYWindow::updateZoomButton()
{
    standardButtons_[2]->setEnabled(isResizable(this));
}

void WAYWindow::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous() && !messageDelegate_->windowShouldClose(this)) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace tolvex
