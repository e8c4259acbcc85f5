#include "kit/RobotoFont.h"

#include <QtMath>

namespace tolvex {

namespace {

struct Face {
    const char* name;
    const char* family;
    QFont::Weight weight;
};

constexpr Face kFaces[] = {
    {"Roboto-Thin", "Roboto", QFont::Thin},
    {"Roboto-Light", "Roboto", QFont::Light},
    {"Roboto-Regular", "Roboto", QFont::Normal},
    {"Roboto-Bold", "Roboto", QFont::Bold},
    {"Roboto-Black", "Roboto", QFont::Black},
    {"RobotoCondensed-Bold", "Roboto Condensed", QFont::Bold},
};

} // namespace

QFont RobotoFont::named(const QString& name, qreal size)
{
    const Face* face = &kFaces[2];
    for (const Face& candidate : kFaces)
        if (name == QLatin1String(candidate.name))
            face = &candidate;
    QFont font(QString::fromLatin1(face->family));
    font.setWeight(face->weight);
    font.setPixelSize(qMax(1, qRound(size)));
    return font;
}

} // namespace tolvex
