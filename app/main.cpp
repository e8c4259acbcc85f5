#include "app/AppDelegate.h"
#include "app/MainWindowBuilder.h"
#include "kit/WAYWindow.h"

#include <QApplication>
#include <cstdlib>
#include <memory>

using namespace tolvex;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvex"));
    QApplication::setOrganizationName(QStringLiteral("Tolvex"));
    QApplication::setQuitOnLastWindowClosed(
        AppDelegate::applicationShouldTerminateAfterLastWindowClosed());

    AppDelegate delegate;
    const std::unique_ptr<WAYWindow> window(MainWindowBuilder::build(delegate));
    delegate.applicationDidFinishLaunching();
    window->show();

    const int status = QApplication::exec();
    // A run still going on keeps its helper, which finishes its items alone. Waiting for it, or
    // tearing down what its runner thread still uses, is not an option: leave at once.
    if (delegate.shredTasks().isAnyShredding())
        std::quick_exit(status);
    return status;
}
