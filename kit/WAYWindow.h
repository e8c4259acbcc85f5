#pragma once

#include "kit/Appearance.h"
#include "kit/VisualEffectView.h"
#include "kit/WAYWindowDelegateProxy.h"
#include "kit/WindowDelegate.h"

#include <QImage>
#include <QList>
#include <QMargins>
#include <QPointer>
#include <QWidget>
#include <memory>

class QAbstractButton;
class QLabel;

namespace tolvex {

// A frameless main window that draws its own title bar: the three round standard buttons placed
// by the window (centred vertically by default), an optional vertically centred title, and a
// title bar that can be made taller. The content view fills the whole surface, title bar
// included; the title bar lies over it. Dragging the title bar moves the window. Where the window
// system composites, a translucent content surface has rounded corners and the window draws its
// shadow in margins around the surface; elsewhere the surface is the whole window. A window fixed
// at its size does not zoom.
//
// Delegate messages go through a proxy to the window and then to the delegate set with
// setDelegate(); until then the window is its own delegate.
class WAYWindow : public QWidget, public WindowDelegate {
    Q_OBJECT

public:
    explicit WAYWindow(QWidget* parent = nullptr);
    ~WAYWindow() override;

    static bool supportsVibrantAppearances();
    // The height of a standard title bar.
    static float defaultTitleBarHeight();

    // Not owned; it must outlive the window or be unset first.
    void setDelegate(WindowDelegate* delegate);
    // The object that was set, never the proxy.
    WindowDelegate* delegate() const;
    WAYWindowDelegateProxy* delegateProxy() const { return delegateProxy_.get(); }

    // Asks the delegate whether to close, then closes. A close request from the window system
    // asks the same way; close() in code does not ask.
    void performClose();
    // The zoom button's action: maximises the window or brings it back, when it can be resized.
    void performZoom();

    // Zero where the window system does not composite.
    QMargins shadowMargins() const { return shadowMargins_; }
    // Where the surface lies in the window.
    QRect surfaceRect() const { return rect().marginsRemoved(shadowMargins_); }
    QSize surfaceSize() const { return surfaceRect().size(); }
    // Where the surface lies on the screen.
    QRect surfaceGeometry() const { return geometry().marginsRemoved(shadowMargins_); }
    // Fixes the window at the size that gives its surface `size`.
    void setFixedSurfaceSize(QSize size);
    void moveSurfaceTo(QPoint topLeft);

    // The parent of the standard buttons; the application adds its own title-bar view here.
    QWidget* titleBarView() const;
    QWidget* contentView() const { return contentView_; }
    // Takes ownership of `view`; the previous content view is deleted.
    void setContentView(QWidget* view);
    // Close, minimise, zoom: a button's index is its place in the row or column.
    QList<QAbstractButton*> standardButtons() const { return standardButtons_; }
    QLabel* titleLabel() const { return titleLabel_; }
    // The spacer that makes the title bar taller, once the height has been set.
    QWidget* dummyTitlebarAccessoryViewController() const
    {
        return dummyTitlebarAccessoryViewController_;
    }

    bool verticallyCenterTitle() const { return verticallyCenterTitle_; }
    void setVerticallyCenterTitle(bool center);
    bool centerTrafficLightButtons() const { return centerTrafficLightButtons_; }
    void setCenterTrafficLightButtons(bool center);
    bool verticalTrafficLightButtons() const { return verticalTrafficLightButtons_; }
    void setVerticalTrafficLightButtons(bool vertical);
    bool hidesTitle() const { return hidesTitle_; }
    void setHidesTitle(bool hides);
    bool showsTitle() const { return showsTitle_; }
    void setShowsTitle(bool shows) { showsTitle_ = shows; }
    // 0 until setTitleBarHeight() is first called.
    double titleBarHeight() const { return titleBarHeight_; }
    // Never lower than defaultTitleBarHeight().
    void setTitleBarHeight(double height);
    double trafficLightButtonsLeftMargin() const { return trafficLightButtonsLeftMargin_; }
    // Takes effect at the next layout pass.
    void setTrafficLightButtonsLeftMargin(double margin)
    {
        trafficLightButtonsLeftMargin_ = margin;
    }
    double trafficLightButtonsTopMargin() const { return trafficLightButtonsTopMargin_; }
    // Takes effect at the next layout pass.
    void setTrafficLightButtonsTopMargin(double margin) { trafficLightButtonsTopMargin_ = margin; }

    // Replaces the content view by a translucent surface of that material.
    void setContentViewAppearance(VisualEffectView::Material material);
    void setContentViewAppearanceVibrantDark();
    void setContentViewAppearanceVibrantLight();
    Appearance appearance() const { return appearance_; }
    void setVibrantDarkAppearance();
    void setVibrantLightAppearance();
    void setAquaAppearance();

    // Moves the children of `oldView` into `newView`, keeping their frames, and puts `newView`
    // where `oldView` was (as the content view when it was that); `oldView` is deleted.
    void replaceSubview(QWidget* oldView, QWidget* newView, bool resizing);
    template <class View> View* replaceSubview(QWidget* oldView)
    {
        auto* newView = new View;
        replaceSubview(oldView, newView, true);
        return newView;
    }

    // The layout pass: places the standard buttons and, when asked to, centres the title. It
    // runs on showing, on every resize and from the layout setters.
    void setNeedsLayout();
    void layoutVerticallyCenterTitle();
    // The size of the title in the title font; the origin carries no meaning.
    QRectF getTitleFrame() const;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setUp();
    void setAppearance(Appearance appearance);
    int titleBarContainerHeight() const;
    void placeTitleBar();
    // A window fixed at its size has nothing to zoom to. Size limits send no event: the button
    // follows them when the window is shown and whenever its size changes.
    void updateZoomButton();
    // Gives the window its shadow where the window system composites and takes it away where it
    // stops; the surface stays where it is on the screen.
    void updateShadow(bool composites);

    bool verticallyCenterTitle_ = false;
    bool centerTrafficLightButtons_ = false;
    bool verticalTrafficLightButtons_ = false;
    bool hidesTitle_ = false;
    bool showsTitle_ = false;
    double titleBarHeight_ = 0.0;
    double trafficLightButtonsLeftMargin_ = 0.0;
    double trafficLightButtonsTopMargin_ = 0.0;
    std::unique_ptr<WAYWindowDelegateProxy> delegateProxy_;
    QList<QAbstractButton*> standardButtons_;
    QPointer<QWidget> dummyTitlebarAccessoryViewController_;

    // The delegate the window itself sends its messages to: the window, or the proxy once the
    // application has set a delegate.
    WindowDelegate* messageDelegate_ = nullptr;
    Appearance appearance_ = Appearance::Aqua;
    QWidget* titleBar_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QPointer<QWidget> contentView_;
    QMargins shadowMargins_;
    QImage shadowPicture_;
};

} // namespace tolvex
