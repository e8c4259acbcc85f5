// A second process for the single-instance tests: starts like `tolvex` does, with the channel's
// folder as its first argument and its launch arguments after it.
#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    tolvex::SingleInstance instance(arguments.takeFirst());
    QString error;
    const auto request = tolvex::LaunchRequest::fromArguments(arguments, QDir::currentPath());
    switch (instance.start(request, &error)) {
    case tolvex::SingleInstance::Outcome::HandedOver:
        return 0;
    case tolvex::SingleInstance::Outcome::Failed:
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    case tolvex::SingleInstance::Outcome::Running:
        std::printf("running\n");
        std::fflush(stdout);
        return QCoreApplication::exec();
    }
    return 1;
}
