#pragma once

#include <QImage>
#include <QMargins>

class QWindow;

namespace tolvex {

// The shadow a frameless window casts where the window system composites. The window draws it
// itself, in margins around its surface that belong to the window but take no clicks, and that
// window managers leave out when they place, snap and tile it.
namespace WindowShadow {

// Room for the shadow's blur on every side; more below, where the shadow falls.
QMargins margins();

// The shadow of a surface rounded by `cornerRadius` lying `margins` inside a window of `size`;
// clear over the surface itself, which may be translucent.
QImage picture(QSize size, QMargins margins, qreal cornerRadius, qreal devicePixelRatio);

// Tells the window system which part of `window` is the window proper: everything but
// `margins`. No margins give the window back all of itself.
void setNativeMargins(QWindow* window, QMargins margins);

} // namespace WindowShadow

} // namespace tolvex
