#include "kit/Appearance.h"

#include <QApplication>
#include <QWidget>

namespace tolvex {

bool isVibrant(Appearance appearance)
{
    return appearance == Appearance::VibrantDark || appearance == Appearance::VibrantLight;
}

QPalette paletteForAppearance(Appearance appearance)
{
    if (appearance != Appearance::VibrantDark)
        return QApplication::palette();

    QPalette dark;
    const QColor window(38, 38, 40);
    const QColor base(28, 28, 30);
    const QColor text(235, 235, 235);
    const QColor disabledText(128, 128, 128);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, QColor(58, 58, 60));
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::ToolTipBase, base);
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::PlaceholderText, disabledText);
    dark.setColor(QPalette::Highlight, QColor(10, 132, 255));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Link, QColor(64, 156, 255));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, disabledText);
    return dark;
}

void applyAppearance(QWidget* widget, Appearance appearance)
{
    widget->setPalette(paletteForAppearance(appearance));
}

} // namespace tolvex
