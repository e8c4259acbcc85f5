#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <functional>

// Runs the built tolx program and collects what it printed.
struct TolxRun {
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    QList<QByteArray> lines;
    QByteArray errors;

    static QString program() { return qEnvironmentVariable("TOLVEX_BIN_DIR") + "/tolx"; }

    static TolxRun run(const QStringList& arguments, const QString& program = TolxRun::program(),
                       const std::function<void()>& inChild = {})
    {
        QProcess process;
        if (inChild)
            process.setChildProcessModifier(inChild);
        process.start(program, arguments);
        TolxRun result;
        if (!process.waitForFinished(120000))
            return result;
        result.exitCode = process.exitCode();
        result.exitStatus = process.exitStatus();
        QByteArray out = process.readAllStandardOutput();
        if (out.endsWith('\n'))
            out.chop(1);
        if (!out.isEmpty())
            result.lines = out.split('\n');
        result.errors = process.readAllStandardError();
        return result;
    }

    bool succeeded() const { return exitStatus == QProcess::NormalExit && exitCode == 0; }

    // Every line is one of the three messages; every item that starts also ends, and its
    // percentages only grow. Items nest (a folder's contents come between its messages), so
    // "done" closes the innermost open item.
    bool framingIsSound(QString* why) const
    {
        static const QRegularExpression percent(QStringLiteral("^(\\d{1,3})%$"));
        QList<int> lastPercent;
        for (const QByteArray& line : lines) {
            if (line.startsWith("removing ") && line.size() > 9) {
                lastPercent.append(-1);
                continue;
            }
            if (line == "done" && !lastPercent.isEmpty()) {
                lastPercent.removeLast();
                continue;
            }
            const auto match = percent.match(QString::fromLatin1(line));
            if (match.hasMatch() && !lastPercent.isEmpty() &&
                match.captured(1).toInt() > lastPercent.last() &&
                match.captured(1).toInt() <= 100) {
                lastPercent.last() = match.captured(1).toInt();
                continue;
            }
            *why = "unexpected line: " + QString::fromUtf8(line);
            return false;
        }
        *why = QStringLiteral("%1 item(s) never done").arg(lastPercent.size());
        return lastPercent.isEmpty();
    }

    QList<QByteArray> removedPaths() const
    {
        QList<QByteArray> paths;
        for (const QByteArray& line : lines) {
            if (line.startsWith("removing "))
                paths.append(line.mid(9));
        }
        return paths;
    }
};
