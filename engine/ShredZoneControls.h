#pragma once

#include <QString>

namespace tolvex {

// The controls of a drop zone that a shred run paints, by list id. Main thread only.
class ShredZoneControls {
public:
    virtual ~ShredZoneControls() = default;

    // Hides the zone's clear-and-reveal group and disables the controls inside it.
    virtual void hideClearRevealView(qint64 tag) = 0;

    // The big label in the zone's main font (fontForPassMainTFWithSize) at `fontSize` points.
    virtual void setPassMainTF(qint64 tag, double fontSize, const QString& text) = 0;

    virtual void setPassDescrTF(qint64 tag, const QString& text) = 0;

    virtual void setAddNewFilesBtnImage(qint64 tag, const QString& imageName) = 0;

    // The ring clamps `progress` to 0..1; a value that is not a number shows it full.
    virtual void setPassIndicProgress(qint64 tag, double progress, bool animated) = 0;
};

} // namespace tolvex
