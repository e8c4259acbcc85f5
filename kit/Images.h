#pragma once

#include <QIcon>
#include <QString>

namespace tolvex {

// The application's own images, looked up by the names the program uses ("MyHudAlertInfo",
// "SliderDotNormal.png"). They are compiled in under ":/images/"; a name without an extension
// is tried as SVG, then as PNG. An unknown name gives a null icon.
QIcon imageNamed(const QString& name);

} // namespace tolvex
