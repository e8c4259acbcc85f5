#include "platform/LaunchRequest.h"

#include "platform/IncomingPath.h"
#include "platform/NativePath.h"

#include <QCommandLineParser>
#include <QDataStream>
#include <QIODevice>
#include <cstdio>
#include <filesystem>

namespace tolvex {

namespace {
// Bumped whenever the encoding changes, so two different builds never misread each other.
constexpr quint32 encodingVersion = 0x544c5801;

// The command line `tolvex` understands, besides Qt's own options.
class CommandLine {
public:
    CommandLine()
    {
        parser_.setApplicationDescription(QStringLiteral(
            "Destroys files and folders beyond recovery.\n"
            "The files named join a shred list of the running Tolvex (started first when\n"
            "needed), which asks which method to use unless a default method is set."));
        parser_.addOption(erase_);
        parser_.addPositionalArgument(QStringLiteral("files"),
                                      QStringLiteral("Files and folders to put on a shred list."),
                                      QStringLiteral("[files...]"));
    }

    QCommandLineParser& parser() { return parser_; }

    LaunchRequest request(const std::optional<QString>& workingFolder, QStringList* refusals) const
    {
        LaunchRequest request;
        for (const QString& argument : parser_.positionalArguments()) {
            if (argument.isEmpty())
                continue;
            QString why;
            if (const auto path = IncomingPath::vetted(argument, &why, workingFolder))
                request.paths.append(*path);
            else if (refusals)
                refusals->append(QStringLiteral("tolvex: \"%1\" is refused: %2")
                                     .arg(readablePath(argument), why));
        }
        if (parser_.isSet(erase_))
            request.kind = LaunchRequest::Kind::EraseFiles;
        else if (!request.paths.isEmpty())
            request.kind = LaunchRequest::Kind::OpenFiles;
        return request;
    }

private:
    QCommandLineParser parser_;
    // The desktop file's "Erase with Tolvex" action puts it before its files.
    const QCommandLineOption erase_{
        QStringLiteral("erase"),
        QStringLiteral("Hand the files over as the desktop's \"Erase with Tolvex\" action does.")};
};

} // namespace

LaunchRequest LaunchRequest::fromArguments(const QStringList& arguments,
                                           const std::optional<QString>& workingFolder,
                                           QStringList* refusals)
{
    CommandLine commandLine;
    // The parser expects the program's name first.
    commandLine.parser().parse(QStringList{QString()} + arguments);
    return commandLine.request(workingFolder, refusals);
}

LaunchRequest LaunchRequest::ofThisProcess(int argc, const char* const argv[])
{
    CommandLine commandLine;
    commandLine.parser().addHelpOption();
    commandLine.parser().addVersionOption();
    // File names are bytes: Qt's own view of the arguments would replace those that are not
    // UTF-8, and a replaced name can be another file's name.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(decodeNativePath(argv[i]));
    commandLine.parser().process(arguments);
    // A working folder that was removed has no name left: relative paths are then refused.
    std::error_code error;
    const std::filesystem::path workingFolder = std::filesystem::current_path(error);
    QStringList refusals;
    const LaunchRequest request = commandLine.request(
        error ? std::nullopt : std::optional(fromNativePath(workingFolder)), &refusals);
    for (const QString& refusal : refusals)
        std::fprintf(stderr, "%s\n", refusal.toLocal8Bit().constData());
    return request;
}

QByteArray LaunchRequest::encode() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << encodingVersion << static_cast<quint8>(kind) << paths;
    return bytes;
}

std::optional<LaunchRequest> LaunchRequest::decode(const QByteArray& bytes)
{
    QDataStream in(bytes);
    quint32 version = 0;
    quint8 kindValue = 0;
    LaunchRequest request;
    in >> version >> kindValue >> request.paths;
    if (in.status() != QDataStream::Ok || !in.atEnd() || version != encodingVersion ||
        kindValue > static_cast<quint8>(Kind::EraseFiles)) {
        return std::nullopt;
    }
    request.kind = static_cast<Kind>(kindValue);
    return request;
}

} // namespace tolvex
