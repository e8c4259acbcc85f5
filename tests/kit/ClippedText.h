#pragma once

#include "kit/ElidingLabel.h"

#include <QAbstractButton>
#include <QLabel>
#include <QStringList>
#include <QTextDocument>
#include <QWidget>

// Whether the texts of a screen can be read whole: each visible label's text fits the rectangle
// it is drawn in, unless the label shortens it on purpose (ElidingLabel), and each visible
// button with a title gets at least the room it asks for.
namespace tolvex::ClippedText {

inline bool labelFits(const QLabel& label)
{
    const int margin = label.margin() + qMax(0, label.indent());
    const QRect room = label.contentsRect().marginsRemoved({margin, margin, margin, margin});
    const int flags = int(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    return room.contains(label.fontMetrics().boundingRect(room, flags, label.text()));
}

inline bool buttonFits(const QAbstractButton& button)
{
    return button.width() >= button.sizeHint().width() &&
           button.height() >= button.minimumSizeHint().height();
}

// The texts under `root` (itself included) that are cut, as "object name: text".
inline QStringList clipped(const QWidget& root)
{
    QStringList cut;
    for (const QWidget* part : root.findChildren<const QWidget*>() + QList{&root}) {
        if (part != &root && !part->isVisibleTo(&root))
            continue;
        QString text;
        if (const auto* label = qobject_cast<const QLabel*>(part);
            label && !qobject_cast<const ElidingLabel*>(label) &&
            !Qt::mightBeRichText(label->text()) && !labelFits(*label))
            text = label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(part);
            button && !button->text().isEmpty() && !buttonFits(*button))
            text = button->text();
        if (!text.isEmpty())
            cut << part->objectName() + QStringLiteral(": ") + text;
    }
    return cut;
}

} // namespace tolvex::ClippedText

// Every text of `root` can be read whole.
#define QVERIFY_NOTHING_CLIPPED(root)                                                              \
    do {                                                                                           \
        const QStringList cut = tolvex::ClippedText::clipped(root);                                \
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));                       \
    } while (false)
