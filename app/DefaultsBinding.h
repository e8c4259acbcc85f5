#pragma once

#include <QString>

class QAbstractButton;
class QComboBox;

namespace tolvex {

// Keeps a control and a setting of UserDefaults::standard() in step both ways: the control
// shows the stored value and follows later changes, and the user's changes are stored at once.
class DefaultsBinding {
public:
    static void bindChecked(QAbstractButton* button, const QString& key);
    static void bindCurrentIndex(QComboBox* comboBox, const QString& key);
};

} // namespace tolvex
