#include "kit/AlertSheet.h"

#include "kit/ApplicationModal.h"
#include "kit/Images.h"
#include "kit/WAYWindow.h"

#include <QBoxLayout>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <utility>

namespace tolvex {

namespace {

constexpr int kWidestSheet = 420;
// Between the sheet and the window's sides, and inside the sheet.
constexpr int kSideMargin = 8;
constexpr int kPadding = 16;
constexpr int kSymbolSize = 40;
constexpr qreal kCornerRadius = 8.0;
constexpr QColor kSheetColor(38, 38, 40);
constexpr QColor kEdgeColor(255, 255, 255, 40);

QString symbolForStyle(AlertStyle style)
{
    switch (style) {
    case AlertStyle::Informational:
        return QStringLiteral("MyHudAlertInfo");
    case AlertStyle::Critical:
        return QStringLiteral("MyHudAlertError");
    case AlertStyle::Warning:
        break;
    }
    return QStringLiteral("MyHudAlertWarn");
}

QLabel* textLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setVisible(!text.isEmpty());
    return label;
}

} // namespace

AlertSheet::AlertSheet(const Alert& alert, QWidget* window)
    : QFrame(window->window()), window_(window->window())
{
    setPalette(window_->palette());
    setFocusPolicy(Qt::StrongFocus);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);

    auto* symbol = new QLabel(this);
    const QIcon icon =
        alert.icon.isNull() ? imageNamed(symbolForStyle(alert.alertStyle)) : alert.icon;
    symbol->setPixmap(icon.pixmap(QSize(kSymbolSize, kSymbolSize), devicePixelRatioF()));
    symbol->setAlignment(Qt::AlignCenter);
    column->addWidget(symbol);

    message_ = textLabel(alert.messageText, this);
    QFont bold = message_->font();
    bold.setBold(true);
    message_->setFont(bold);
    column->addWidget(message_);
    informative_ = textLabel(alert.informativeText, this);
    column->addWidget(informative_);

    // A row with the first button rightmost; a window too narrow for the row gets a column
    // with the first button on top.
    buttonRow_ = new QBoxLayout(QBoxLayout::RightToLeft);
    const QStringList titles =
        alert.buttons.isEmpty() ? QStringList{QStringLiteral("OK")} : alert.buttons;
    for (qsizetype i = 0; i < titles.size(); ++i) {
        auto* button = new QPushButton(titles[i], this);
        const int response = AlertFirstButtonReturn + static_cast<int>(i);
        button->setEnabled(!alert.disabledButtons.contains(static_cast<int>(i)));
        connect(button, &QPushButton::clicked, this, [this, response] { answer(response); });
        buttonRow_->addWidget(button);
        buttons_ << button;
        if (titles[i] == QStringLiteral("Cancel"))
            cancel_ = button;
    }
    buttonRow_->addStretch();
    buttons_.first()->setDefault(true);
    column->addLayout(buttonRow_);

    window_->installEventFilter(this);
    place();
    show();
    raise();
    session_ = ApplicationModal::beginModalSessionForWindow(this);
    buttons_.first()->setFocus(Qt::OtherFocusReason);
}

AlertSheet::~AlertSheet()
{
    releaseWindow();
}

void AlertSheet::releaseWindow()
{
    ApplicationModal::endModalSession(std::exchange(session_, 0));
}

void AlertSheet::place()
{
    const auto* way = qobject_cast<const WAYWindow*>(window_);
    const QRect surface = way ? way->surfaceRect() : window_->rect();
    const int top =
        surface.top() + (way && way->titleBarView() ? way->titleBarView()->height() : 0);
    const int width = std::min(kWidestSheet, surface.width() - 2 * kSideMargin);
    buttonRow_->setDirection(QBoxLayout::RightToLeft);
    if (buttonRow_->minimumSize().width() > width - 2 * kPadding)
        buttonRow_->setDirection(QBoxLayout::TopToBottom);
    const int height = std::min(layout()->totalHeightForWidth(width), surface.bottom() + 1 - top);
    setGeometry(surface.left() + (surface.width() - width) / 2, top, width, height);
    layout()->activate();
}

void AlertSheet::setMessageText(const QString& text)
{
    message_->setText(text);
    message_->setVisible(!text.isEmpty());
    place();
}

bool AlertSheet::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::Resize)
        place();
    return false;
}

void AlertSheet::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && cancel_ &&
        cancel_->isEnabled()) {
        cancel_->click();
        return;
    }
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        buttons_.first()->isEnabled()) {
        buttons_.first()->click();
        return;
    }
    QFrame::keyPressEvent(event);
}

void AlertSheet::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(kEdgeColor);
    painter.setBrush(kSheetColor);
    // Square where it hangs from the title bar, rounded at the bottom.
    const QRectF panel = QRectF(rect()).adjusted(0.5, -kCornerRadius, -0.5, -0.5);
    painter.drawRoundedRect(panel, kCornerRadius, kCornerRadius);
}

void AlertSheet::answer(int response)
{
    // The window takes input again the moment the sheet goes, not when the sheet is deleted: the
    // answer may lead straight to the next click, or to a nested event loop.
    hide();
    releaseWindow();
    Q_EMIT answered(response);
    deleteLater();
}

} // namespace tolvex
