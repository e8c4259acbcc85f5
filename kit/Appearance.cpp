#include "kit/Appearance.h"

#include "kit/RobotoFont.h"

#include <QApplication>
#include <QToolTip>
#include <QWidget>

namespace tolvex {

namespace {

constexpr qreal kApplicationFontSize = 13.0;

// Stock controls in the dark look: translucent fills on the dark ground, the orange of the
// rings for what is on or in progress, and the kit buttons' padding around every title.
const QString kDarkControls = QStringLiteral(R"(
QPushButton {
    color: #ebebeb;
    background-color: rgba(255, 255, 255, 28);
    border: 1px solid rgba(255, 255, 255, 46);
    border-radius: 4px;
    padding: 2px 13px;
    min-height: 16px;
}
QPushButton:hover { background-color: rgba(255, 255, 255, 44); }
QPushButton:pressed { background-color: rgba(0, 0, 0, 77); }
QPushButton:default { border-color: rgba(253, 134, 8, 170); }
QPushButton:disabled { color: #808080; border-color: rgba(255, 255, 255, 20); }
QPushButton:flat { background-color: transparent; border: none; padding: 0px; }
QPushButton:flat:hover { background-color: rgba(255, 255, 255, 24); }
QPushButton#helpButton {
    color: #ebebeb;
    background-color: rgba(255, 255, 255, 28);
    border: 1px solid rgba(255, 255, 255, 46);
    border-radius: 10px;
    padding: 0px;
    min-width: 20px;
    max-width: 20px;
    min-height: 20px;
    max-height: 20px;
}
QCheckBox { spacing: 6px; }
QCheckBox::indicator {
    width: 13px;
    height: 13px;
    border: 1px solid rgba(255, 255, 255, 150);
    border-radius: 3px;
    background-color: rgba(255, 255, 255, 22);
}
QCheckBox::indicator:checked {
    border-color: #fd8708;
    background-color: #fd8708;
    image: url(:/images/checkMark.svg);
}
QCheckBox::indicator:disabled { border-color: rgba(255, 255, 255, 60); }
QComboBox {
    color: #ebebeb;
    background-color: rgba(255, 255, 255, 28);
    border: 1px solid rgba(255, 255, 255, 46);
    border-radius: 4px;
    padding: 2px 8px;
}
QComboBox::drop-down { border: none; width: 16px; }
QComboBox::down-arrow { image: url(:/images/popUpArrows.svg); width: 8px; height: 12px; }
QComboBox QAbstractItemView {
    color: #ebebeb;
    background-color: #2b2b2e;
    selection-background-color: rgba(253, 134, 8, 200);
    border: 1px solid rgba(255, 255, 255, 46);
}
QScrollBar:vertical { background: transparent; width: 10px; margin: 0px; }
QScrollBar:horizontal { background: transparent; height: 10px; margin: 0px; }
QScrollBar::handle {
    background-color: rgba(255, 255, 255, 70);
    border-radius: 3px;
    margin: 2px;
}
QScrollBar::handle:hover { background-color: rgba(255, 255, 255, 110); }
QScrollBar::handle:vertical { min-height: 24px; }
QScrollBar::handle:horizontal { min-width: 24px; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0px; height: 0px; border: none; }
QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }
QProgressBar {
    background-color: rgba(255, 255, 255, 30);
    border: none;
    border-radius: 3px;
    max-height: 6px;
}
QProgressBar::chunk {
    border-radius: 3px;
    background-color: qlineargradient(x1: 0, y1: 0, x2: 1, y2: 0,
                                      stop: 0 rgb(251, 25, 7), stop: 1 rgb(253, 134, 8));
}
QToolTip {
    color: #ebebeb;
    background-color: #2b2b2e;
    border: 1px solid rgba(255, 255, 255, 60);
    padding: 4px;
}
)");

} // namespace

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

void applyApplicationAppearance(Appearance appearance)
{
    const QPalette palette = paletteForAppearance(appearance);
    QApplication::setPalette(palette);
    QToolTip::setPalette(palette);
    const QFont roboto = RobotoFont::named(QStringLiteral("Roboto-Regular"), kApplicationFontSize);
    QApplication::setFont(roboto);
    QToolTip::setFont(roboto);
    qApp->setStyleSheet(appearance == Appearance::VibrantDark ? kDarkControls : QString());
}

} // namespace tolvex
