#include "app/DisplaylessLaunch.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

namespace tolvex {

namespace {
constexpr char offscreen[] = "offscreen";
} // namespace

DisplaylessLaunch::DisplaylessLaunch()
    // A platform chosen on purpose, through the environment, is left to its chooser.
    : displayless_(qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
                   qEnvironmentVariableIsEmpty("DISPLAY") &&
                   qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
{
    if (displayless_)
        qputenv("QT_QPA_PLATFORM", offscreen);
}

void DisplaylessLaunch::requireDisplay() const
{
    // -platform on the command line outranks the environment.
    if (!displayless_ || QGuiApplication::platformName() != QLatin1String(offscreen))
        return;
    std::fputs("tolvex: there is no display to show the window on (neither DISPLAY nor "
               "WAYLAND_DISPLAY is set)\n",
               stderr);
    std::exit(EXIT_FAILURE);
}

} // namespace tolvex
