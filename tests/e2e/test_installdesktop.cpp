// The desktop integration script installs entries that start the given program, wherever it
// lies, as the desktop reads them (GLib's `gio launch`), with the "Erase with Tolvex" action; it
// refuses a program that is not there or whose path no entry can name.
#include "DesktopSession.h"

namespace {
// Makes the program the script is given ($1, in octal escapes): it notes its path and arguments.
constexpr char kMakeProgramAndInstall[] =
    "p=$(printf %b \"$1\") && mkdir -p \"${p%/*}\" &&"
    " printf '#!/bin/sh\\nprintf \"%%s|%%s\" \"$0\" \"$*\" >\"$LAUNCHED\"\\n' >\"$p\" &&"
    " chmod 755 \"$p\" && exec \"$0\" \"$p\"";
} // namespace

class TestInstallDesktop : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

    e2e::ToolRun run(const QString& program, const QStringList& arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", folder_.filePath("data"));
        env.insert("LAUNCHED", folder_.filePath("launched"));
        return e2e::runTool(program, arguments, env);
    }

private Q_SLOTS:
    void installsEntriesThatStartTheProgram_data()
    {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<bool>("installs");
        QTest::newRow("space") << QByteArray("my apps") << true;
        QTest::newRow("shell characters") << QByteArray("a&b;c $d 'e' \"f\" `g` \\h") << true;
        QTest::newRow("percent") << QByteArray("100%") << false;
        QTest::newRow("newline") << QByteArray("a\nb") << false;
        QTest::newRow("not UTF-8") << QByteArray("caf\xe9") << false;
    }

    void installsEntriesThatStartTheProgram()
    {
        QFETCH(QByteArray, folder);
        QFETCH(bool, installs);
        QDir(folder_.filePath("data")).removeRecursively();
        QFile::remove(folder_.filePath("launched"));
        const QByteArray program = QFile::encodeName(folder_.path()) + '/' + folder + "/tolvex";
        // Arguments pass through QString, which would lose bytes that are not UTF-8: the shell
        // turns the octal form back into the path's own bytes.
        QString octal;
        for (const char byte : program)
            octal += QStringLiteral("\\%1").arg(uchar(byte), 3, 8, QChar('0'));
        const QString script =
            qEnvironmentVariable("TOLVEX_SOURCE_DIR") + "/scripts/install-desktop";
        const e2e::ToolRun install = run("bash", {"-c", kMakeProgramAndInstall, script, octal});
        const QDir data(folder_.filePath("data"));
        const QString id = "io.github.tolvex.Tolvex";
        const QString entry = data.filePath(QStringLiteral("applications/%1.desktop").arg(id));
        QVERIFY2((install.exitCode == 0) == installs, qPrintable(install.errors));
        if (!installs) {
            QVERIFY(!QFile::exists(entry) && !install.errors.isEmpty());
            return;
        }
        QCOMPARE(run("desktop-file-validate", {entry}).exitCode, 0);
        QCOMPARE(run("gio", {"launch", entry, "/etc/hostname"}).exitCode, 0);
        QFile launched(folder_.filePath("launched"));
        QVERIFY(QTest::qWaitFor([&] { return launched.size() > 0; }));
        QVERIFY(launched.open(QIODevice::ReadOnly));
        QCOMPARE(launched.readAll(), program + "|/etc/hostname");

        QFile desktop(entry);
        QVERIFY(desktop.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(desktop.readAll());
        const QString exec = text.section("\nExec=", 1).section(" %F\n", 0, 0);
        QVERIFY(text.contains("\nExec=" + exec + " --erase %F\n"));
        QVERIFY(data.exists(QStringLiteral("icons/hicolor/scalable/apps/%1.svg").arg(id)));
        QVERIFY(
            QFileInfo(data.filePath(QStringLiteral("kio/servicemenus/%1-erase.desktop").arg(id)))
                .isExecutable());
    }

    void refusesAMissingProgram()
    {
        const QString script =
            qEnvironmentVariable("TOLVEX_SOURCE_DIR") + "/scripts/install-desktop";
        QVERIFY(run(script, {folder_.filePath("nowhere/tolvex")}).exitCode != 0);
    }
};

QTEST_GUILESS_MAIN(TestInstallDesktop)
#include "test_installdesktop.moc"
