#include "NamedImage.h"

#include <QAbstractButton>
#include <QVariant>

namespace tolvex {

namespace {

constexpr char kImageNameProperty[] = "tolvexImageName";

} // namespace

QIcon NamedImage::icon(const QString& name)
{
    return QIcon(QStringLiteral(":/images/%1.svg").arg(name));
}

void NamedImage::setImage(QAbstractButton* button, const QString& name)
{
    if (!button)
        return;
    button->setIcon(icon(name));
    button->setProperty(kImageNameProperty, name);
}

QString NamedImage::imageName(const QAbstractButton* button)
{
    return button ? button->property(kImageNameProperty).toString() : QString();
}

} // namespace tolvex
