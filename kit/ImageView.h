#pragma once

#include <QIcon>
#include <QWidget>

namespace tolvex {

// Shows one image, scaled into its bounds as its image scaling says.
class ImageView : public QWidget {
    Q_OBJECT

public:
    enum class ImageScaling { ProportionallyDown = 0, AxesIndependently = 1 };

    explicit ImageView(QWidget* parent = nullptr);

    QIcon image() const { return image_; }
    void setImage(const QIcon& image);
    ImageScaling imageScaling() const { return imageScaling_; }
    void setImageScaling(ImageScaling scaling);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QIcon image_;
    ImageScaling imageScaling_ = ImageScaling::ProportionallyDown;
};

} // namespace tolvex
