#include "KitDemo.h"

#include "kit/MouseDownTextField.h"
#include "kit/MyHudAlert.h"
#include "kit/UtilsSystem.h"
#include "kit/hlMyclickableView.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

using namespace tolvex;

namespace {

QWidget* buildScreen(JMModalOverlay* overlay)
{
    auto* screen = new QWidget;
    auto* title = new QLabel(QStringLiteral("Preferences"), screen);
    QFont font = title->font();
    font.setPixelSize(22);
    title->setFont(font);
    title->setGeometry(30, 60, 300, 30);
    auto* close = new QPushButton(QStringLiteral("Close"), screen);
    close->setGeometry(30, 110, 90, 28);
    QObject::connect(close, &QPushButton::clicked, overlay, &JMModalOverlay::close);
    return screen;
}

} // namespace

KitDemo::KitDemo()
{
    window_.setWindowTitle(QStringLiteral("Tolvex"));
    window_.resize(500, 338);
    window_.setVibrantDarkAppearance();
    window_.setContentViewAppearanceVibrantDark();
    if (!Utils::XRRunningOnOSXBigSurOrLater())
        window_.setTitleBarHeight(32.0);
    window_.setVerticallyCenterTitle(true);
    window_.setCenterTrafficLightButtons(true);
    auto* titlebar = new hlMyclickableView(window_.titleBarView());
    titlebar->setGeometry(window_.titleBarView()->rect());
    titlebar->lower();
    window_.setTrafficLightButtonsLeftMargin(18.0);
    window_.setHidesTitle(false);

    const QStringList zones = {QStringLiteral("1 - pass"), QStringLiteral("7 - pass"),
                               QStringLiteral("35 - pass")};
    for (qsizetype i = 0; i < zones.size(); ++i) {
        auto* label = new MouseDownTextField(window_.contentView());
        label->setText(zones[i]);
        label->setAlignment(Qt::AlignCenter);
        QFont font = label->font();
        font.setPixelSize(20);
        font.setBold(true);
        label->setFont(font);
        label->setGeometry(20 + static_cast<int>(i) * 160, 150, 140, 40);
    }

    screen_.setView(buildScreen(&overlay_));
    overlay_.setContentViewController(&screen_);
    overlay_.setAnimates(false);
    overlay_.setAnimationDirection(4);
    overlay_.setAppearance(Appearance::VibrantDark);
    overlay_.setShouldOverlayTitleBar(true);
    overlay_.setShouldCloseWhenClickOnBackground(true);
}

void KitDemo::present()
{
    overlay_.showInWindow(&window_);
    MyHudAlert::alertWithWindow(&window_, HudAlertType::success,
                                QStringLiteral("7-pass shredding is complete!"));
}

QImage KitDemo::screenshot()
{
    const QImage window = window_.grab().toImage();
    QImage desktop(window.size(), QImage::Format_RGB32);
    desktop.fill(QColor(128, 128, 128));
    QPainter painter(&desktop);
    painter.drawImage(0, 0, window);
    return desktop;
}
