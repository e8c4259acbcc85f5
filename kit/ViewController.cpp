#include "kit/ViewController.h"

namespace tolvex {

ViewController::ViewController(QObject* parent) : QObject(parent) {}

ViewController::~ViewController()
{
    // A view still shown somewhere belongs to that parent's tree until it is handed back.
    if (view_ && !view_->parentWidget())
        delete view_;
}

void ViewController::setView(QWidget* view)
{
    if (view == view_)
        return;
    if (view_ && !view_->parentWidget())
        delete view_;
    view_ = view;
}

} // namespace tolvex
