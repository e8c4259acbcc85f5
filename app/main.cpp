#include "app/AppDelegate.h"
#include "app/DisplaylessLaunch.h"
#include "app/MainWindowBuilder.h"
#include "app/TerminationSignals.h"
#include "kit/AlertPresenter.h"
#include "kit/WAYWindow.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace tolvex;

int main(int argc, char* argv[])
{
    // A log line is its text alone, whatever its layer's category; QT_MESSAGE_PATTERN overrides.
    qSetMessagePattern(QStringLiteral("%{message}"));
    const DisplaylessLaunch displayless;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvex"));
    QApplication::setOrganizationName(QStringLiteral("Tolvex"));
    QApplication::setApplicationVersion(QStringLiteral(TOLVEX_VERSION));
    // Lets the desktop match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TOLVEX_APP_ID));
    const LaunchRequest request = LaunchRequest::ofThisProcess(argc, argv);
    displayless.requireDisplay();
    QApplication::setQuitOnLastWindowClosed(
        AppDelegate::applicationShouldTerminateAfterLastWindowClosed());

    // A second Tolvex hands its files to the first one and leaves.
    SingleInstance instance;
    QString error;
    switch (instance.start(request, &error)) {
    case SingleInstance::Outcome::HandedOver:
        return EXIT_SUCCESS;
    case SingleInstance::Outcome::Failed:
        std::fprintf(stderr, "%s\n", qPrintable(error));
        AlertPresenter::runModal({QStringLiteral("Tolvex cannot start"),
                                  error,
                                  {QStringLiteral("OK")},
                                  AlertStyle::Critical,
                                  {}});
        return EXIT_FAILURE;
    case SingleInstance::Outcome::Running:
        break;
    }

    AppDelegate delegate;
    delegate.setDesktopRequests(&instance);
    const std::unique_ptr<WAYWindow> window(MainWindowBuilder::build(delegate));
    delegate.applicationDidFinishLaunching();
    window->show();
    const TerminationSignals terminationSignals;

    const int status = QApplication::exec();
    // A run still going on keeps its helper, which finishes its items alone. Waiting for it, or
    // tearing down what its runner thread still uses, is not an option: leave at once.
    if (delegate.shredTasks().isAnyShredding())
        std::quick_exit(status);
    return status;
}
