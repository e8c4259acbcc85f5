#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace tolvex {

class MRSubtleButtonDelegate;

// A hand-drawn push button: a vertical two-colour gradient (another pair while pressed) with a
// one-line title. It hands every left mouse press and release, every key press and every key
// equivalent (a key press with the Command key, Ctrl here, anywhere in its window) to its
// delegate and decides nothing itself. Key equivalents are claimed whether or not a delegate is
// set, so they go no further; while a modal screen, sheet, panel or popover stands over the
// button, it claims none.
//
// The title font is the widget's own font once one is set (setFont or setFontAttributesWithFont);
// until then the title is drawn in "Helvetica" at 17 pixels, which fontconfig replaces by its
// nearest sans-serif face when Helvetica is not installed.
class MRSubtleButton : public QWidget {
    Q_OBJECT

public:
    static constexpr int AlignmentLeft = 0;
    static constexpr int AlignmentRight = 1;
    static constexpr int AlignmentCentred = 2;

    explicit MRSubtleButton(QWidget* parent = nullptr);
    ~MRSubtleButton() override;

    QString title() const { return title_; }
    // Redraws only when given another string object: the same shared string again changes nothing.
    void setTitle(const QString& title);

    // Not owned; must outlive the button or be reset to nullptr first.
    MRSubtleButtonDelegate* delegate() const { return delegate_; }
    void setDelegate(MRSubtleButtonDelegate* delegate) { delegate_ = delegate; }

    QColor startColor() const { return startColor_; }
    void setStartColor(const QColor& color) { startColor_ = color; }
    QColor endColor() const { return endColor_; }
    void setEndColor(const QColor& color) { endColor_ = color; }
    QColor highlightStartColor() const { return highlightStartColor_; }
    void setHighlightStartColor(const QColor& color) { highlightStartColor_ = color; }
    QColor highlightEndColor() const { return highlightEndColor_; }
    void setHighlightEndColor(const QColor& color) { highlightEndColor_ = color; }

    // True between a left mouse press and the following release.
    bool selected() const { return selected_; }
    void setSelected(bool selected) { selected_ = selected; }

    // An invalid colour draws the title black.
    QColor fontColor() const { return fontColor_; }
    void setFontColor(const QColor& color) { fontColor_ = color; }

    // 0 left, 1 right, 2 centred; any other value draws as left.
    int alignment() const { return alignment_; }
    void setAlignment(int alignment) { alignment_ = alignment; }

    void setGradientWithStartColor(const QColor& startColor, const QColor& endColor);
    // Takes effect at the next redraw.
    void setHighlightGradientWithStartColor(const QColor& startColor, const QColor& endColor);
    void setFontAttributesWithFont(const QFont& font, const QColor& color);
    // Takes effect at the next redraw.
    void setTitleAlignment(int alignment) { alignment_ = alignment; }
    void resetGradient();

    // Hands a key equivalent to the delegate and claims it (true), with or without a delegate.
    bool performKeyEquivalent(QKeyEvent* event);

    // Where the title's box starts (top-left corner) and how large it is, in widget coordinates.
    QPointF titleOrigin() const;
    QSizeF titleSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void resetGradientColors();
    QFont titleFont() const;
    bool isKeyEquivalentForThisWindow(QObject* receiver, QEvent* event) const;
    void handleMouse(QMouseEvent* event, bool pressed);

    QString title_;
    MRSubtleButtonDelegate* delegate_ = nullptr;
    QColor startColor_;
    QColor endColor_;
    QColor highlightStartColor_;
    QColor highlightEndColor_;
    bool selected_ = false;
    QColor fontColor_;
    int alignment_ = AlignmentLeft;
};

} // namespace tolvex
