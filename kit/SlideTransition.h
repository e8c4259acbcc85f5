#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>

class QVariantAnimation;

namespace tolvex {

// Plays one change of content over a view, from a picture of what was shown to a picture of
// what comes, then removes itself and calls its finish handler. It covers its parent and lets
// every mouse event through.
class SlideTransition : public QWidget {
    Q_OBJECT

public:
    enum class Type { Fade, MoveInFromTop, PushFromLeft, PushFromRight };

    struct Description {
        double duration = 0.0; // seconds
        Type type = Type::Fade;
    };

    SlideTransition(const Description& description, const QPixmap& from, const QPixmap& to,
                    QWidget* parent);

    const Description& description() const { return description_; }
    QVariantAnimation* animation() const { return animation_; }
    // Runs `onFinished` once the change has played, or at once when it is cut short.
    void start(std::function<void()> onFinished);
    void finish();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Description description_;
    QPixmap from_;
    QPixmap to_;
    qreal progress_ = 0.0;
    QVariantAnimation* animation_;
    std::function<void()> onFinished_;
};

} // namespace tolvex
