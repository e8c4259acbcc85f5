#include "NamedImage.h"

#include "kit/Images.h"

#include <QAbstractButton>
#include <QVariant>

namespace tolvex {

namespace {

constexpr char kImageNameProperty[] = "tolvexImageName";

} // namespace

void NamedImage::setImage(QAbstractButton* button, const QString& name)
{
    if (!button)
        return;
    button->setIcon(imageNamed(name));
    button->setProperty(kImageNameProperty, name);
}

QString NamedImage::imageName(const QAbstractButton* button)
{
    return button ? button->property(kImageNameProperty).toString() : QString();
}

} // namespace tolvex
