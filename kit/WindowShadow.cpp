#include "kit/WindowShadow.h"

#include "platform/XcbReply.h"

#include <QGraphicsDropShadowEffect>
#include <QGraphicsPathItem>
#include <QGraphicsScene>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>
#include <xcb/shape.h>
#include <xcb/xcb.h>

namespace tolvex::WindowShadow {

namespace {

constexpr int kBlurRadius = 24;
constexpr int kDrop = 8;
const QColor kShadowColour(0, 0, 0, 140);

// The frame extents client-side decorated windows declare, in device pixels: left, right, top,
// bottom. Window managers that know it leave the margins out of the window's frame.
constexpr char kFrameExtentsName[] = "_GTK_FRAME_EXTENTS";

void setX11Margins(QNativeInterface::QX11Application* x11, QWindow* window, QMargins margins)
{
    xcb_connection_t* connection = x11->connection();
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t frameExtents = internAtom(connection, kFrameExtentsName);
    const xcb_query_extension_reply_t* shape = xcb_get_extension_data(connection, &xcb_shape_id);
    const bool canShape = shape && shape->present;

    if (margins.isNull()) {
        if (frameExtents != XCB_ATOM_NONE)
            xcb_delete_property(connection, id, frameExtents);
        if (canShape)
            xcb_shape_mask(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, id, 0, 0, XCB_NONE);
    } else {
        const qreal scale = window->devicePixelRatio();
        const QMargins device = margins * scale;
        const QRect surface = QRect(QPoint(), window->size() * scale).marginsRemoved(device);
        if (frameExtents != XCB_ATOM_NONE) {
            const uint32_t extents[] = {uint32_t(device.left()), uint32_t(device.right()),
                                        uint32_t(device.top()), uint32_t(device.bottom())};
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, frameExtents,
                                XCB_ATOM_CARDINAL, 32, 4, extents);
        }
        if (canShape) {
            const xcb_rectangle_t clickable{int16_t(surface.x()), int16_t(surface.y()),
                                            uint16_t(surface.width()), uint16_t(surface.height())};
            xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT,
                                 XCB_CLIP_ORDERING_UNSORTED, id, 0, 0, 1, &clickable);
        }
    }
    xcb_flush(connection);
}

} // namespace

QMargins margins()
{
    return {kBlurRadius, kBlurRadius - kDrop, kBlurRadius, kBlurRadius + kDrop};
}

QImage picture(QSize size, QMargins margins, qreal cornerRadius, qreal devicePixelRatio)
{
    QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    const QRectF window(QPointF(), size);
    QPainterPath surface;
    surface.addRoundedRect(window.marginsRemoved(margins), cornerRadius, cornerRadius);

    QGraphicsScene scene(window);
    QGraphicsPathItem* caster = scene.addPath(surface, Qt::NoPen, Qt::black);
    auto* shadow = new QGraphicsDropShadowEffect;
    shadow->setBlurRadius(kBlurRadius);
    shadow->setOffset(0, kDrop);
    shadow->setColor(kShadowColour);
    caster->setGraphicsEffect(shadow);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, window, window);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillPath(surface, Qt::transparent);
    return image;
}

void setNativeMargins(QWindow* window, QMargins margins)
{
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        setX11Margins(x11, window, margins);
    } else if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        // A Wayland window's mask is its input region.
        window->setMask(margins.isNull()
                            ? QRegion()
                            : QRegion(QRect(QPoint(), window->size()).marginsRemoved(margins)));
    }
}

} // namespace tolvex::WindowShadow
