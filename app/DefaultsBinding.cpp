#include "app/DefaultsBinding.h"

#include "platform/UserDefaults.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QSignalBlocker>
#include <functional>

namespace tolvex {

namespace {

// Runs `show` now and after every change of `key`, for as long as `control` lives. `show`
// blocks the control's signals, so showing a value never stores it again.
void follow(QObject* control, const QString& key, const std::function<void()>& show)
{
    show();
    QObject::connect(&UserDefaults::standard(), &UserDefaults::valueChanged, control,
                     [show, key](const QString& changed) {
                         if (changed == key) {
                             show();
                         }
                     });
}

} // namespace

void DefaultsBinding::bindChecked(QAbstractButton* button, const QString& key)
{
    follow(button, key, [button, key] {
        const QSignalBlocker blocker(button);
        button->setChecked(UserDefaults::standard().boolForKey(key));
    });
    QObject::connect(button, &QAbstractButton::toggled, button,
                     [key](bool checked) { UserDefaults::standard().setBool(key, checked); });
}

void DefaultsBinding::bindCurrentIndex(QComboBox* comboBox, const QString& key)
{
    follow(comboBox, key, [comboBox, key] {
        const QSignalBlocker blocker(comboBox);
        // A stored index the menu does not hold shows its first item, never a blank menu.
        const qint64 index = UserDefaults::standard().integerForKey(key);
        comboBox->setCurrentIndex(index >= 0 && index < comboBox->count() ? int(index) : 0);
    });
    QObject::connect(comboBox, &QComboBox::currentIndexChanged, comboBox,
                     [key](int index) { UserDefaults::standard().setInteger(key, index); });
}

} // namespace tolvex
