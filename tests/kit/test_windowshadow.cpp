#include "kit/JMModalOverlay.h"
#include "kit/ViewController.h"
#include "kit/VisualEffectView.h"
#include "kit/WAYWindow.h"
#include "kit/WindowShadow.h"
#include "platform/XcbReply.h"
#include "tests/kit/StandInCompositor.h"

#include <QGuiApplication>
#include <QTest>
#include <memory>
#include <xcb/shape.h>

using namespace tolvex;
using tolvex::testing::StandInCompositor;

namespace {

const QSize kSurface(500, 338);
const QPoint kSurfaceOrigin(100, 100);

xcb_connection_t* connection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// The window's frame extents as window managers read them: left, right, top, bottom.
QList<uint32_t> frameExtents(const WAYWindow& window)
{
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection(),
        xcb_get_property(connection(), 0, xcb_window_t(window.winId()),
                         internAtom(connection(), "_GTK_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 0, 4),
        nullptr));
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

// Where the window takes clicks, in its own coordinates.
QList<QRect> clickableArea(const WAYWindow& window)
{
    const XcbReply<xcb_shape_get_rectangles_reply_t> reply(xcb_shape_get_rectangles_reply(
        connection(),
        xcb_shape_get_rectangles(connection(), xcb_window_t(window.winId()), XCB_SHAPE_SK_INPUT),
        nullptr));
    QList<QRect> area;
    const xcb_rectangle_t* rectangles = xcb_shape_get_rectangles_rectangles(reply.get());
    for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(reply.get()); ++i)
        area << QRect(rectangles[i].x, rectangles[i].y, rectangles[i].width, rectangles[i].height);
    return area;
}

} // namespace

class TestWindowShadow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == "xcb", "the shadow needs an X server");
    }

    // The shadow comes and goes with the compositor, around a surface that stays where it is.
    void followsTheCompositor()
    {
        WAYWindow window;
        window.setContentViewAppearanceVibrantDark();
        window.setFixedSurfaceSize(kSurface);
        window.moveSurfaceTo(kSurfaceOrigin);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), kSurface);
        const auto* surface = qobject_cast<VisualEffectView*>(window.contentView());

        auto compositor = std::make_unique<StandInCompositor>();
        const QMargins margins = WindowShadow::margins();
        QTRY_COMPARE(window.shadowMargins(), margins);
        QCOMPARE(window.surfaceGeometry(), QRect(kSurfaceOrigin, kSurface));
        QCOMPARE(window.size(), kSurface.grownBy(margins));
        QCOMPARE(window.contentView()->geometry(), window.surfaceRect());
        QCOMPARE(window.titleBarView()->pos(), window.surfaceRect().topLeft());
        QCOMPARE(surface->cornerRadius(), 8.0);
        QCOMPARE(frameExtents(window),
                 QList<uint32_t>({uint32_t(margins.left()), uint32_t(margins.right()),
                                  uint32_t(margins.top()), uint32_t(margins.bottom())}));
        QCOMPARE(clickableArea(window), QList<QRect>{window.surfaceRect()});
        const QImage picture = window.grab().toImage();
        const QPoint belowSurface(window.width() / 2, window.surfaceRect().bottom() + 4);
        QVERIFY(qAlpha(picture.pixel(belowSurface)) > 0);
        QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);

        JMModalOverlay overlay;
        auto* controller = new ViewController(&overlay);
        controller->setView(new QWidget);
        overlay.setContentViewController(controller);
        overlay.setAnimates(false);
        overlay.showInWindow(&window);
        QCOMPARE(overlay.modalWindow()->geometry(), window.surfaceRect());

        compositor.reset();
        QTRY_VERIFY(window.shadowMargins().isNull());
        QCOMPARE(overlay.modalWindow()->geometry(), window.rect());
        QCOMPARE(window.geometry(), QRect(kSurfaceOrigin, kSurface));
        QCOMPARE(surface->cornerRadius(), 0.0);
        QVERIFY(frameExtents(window).isEmpty());
        QCOMPARE(clickableArea(window), QList<QRect>{window.rect()});
    }
};

QTEST_MAIN(TestWindowShadow)
#include "test_windowshadow.moc"
