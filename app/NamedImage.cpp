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
    // A run paints its zone for every item; the picture is loaded only when it changes.
    if (!button || imageName(button) == name)
        return;
    button->setIcon(imageNamed(name));
    button->setProperty(kImageNameProperty, name);
}

QString NamedImage::imageName(const QAbstractButton* button)
{
    return button ? button->property(kImageNameProperty).toString() : QString();
}

} // namespace tolvex
