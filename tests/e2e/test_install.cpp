// Installs the build into a temporary root as a package would (prefix /usr) and builds the Debian
// package: the installed files pass the desktop's validators, the installed program shreds a file
// handed to it through a second installed `tolvex`, the package's control data, contents and
// lintian's verdict are as a distribution wants them, and the desktop integration script installs
// entries that start the given program wherever it lies (GLib's `gio launch`) or refuses it.
#include "DesktopSession.h"

using namespace e2e;

namespace {

// Makes the program the script is given ($1, in octal escapes): it notes its path and arguments.
constexpr char kMakeProgramAndInstall[] =
    "p=$(printf %b \"$1\") && mkdir -p \"${p%/*}\" &&"
    " printf '#!/bin/sh\\nprintf \"%%s|%%s\" \"$0\" \"$*\" >\"$LAUNCHED\"\\n' >\"$p\" &&"
    " chmod 755 \"$p\" && exec \"$0\" \"$p\"";

const QString kAppId = QStringLiteral("io.github.tolvex.Tolvex");

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

    DesktopSession session_;
    QTemporaryDir root_;
    QTemporaryDir folder_; // the desktop integration script's data folder

    QString installed(const QString& path) const { return root_.filePath("usr/" + path); }

    QTemporaryDir output_;
    QString package_;

    ToolRun run(const QString& program, const QStringList& arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", folder_.filePath("data"));
        env.insert("LAUNCHED", folder_.filePath("launched"));
        return runTool(program, arguments, env);
    }

    QString deb(const QString& option, const QStringList& fields = {}) const
    {
        const ToolRun run = runTool("dpkg-deb", QStringList{option, package_} + fields);
        return run.exitCode == 0 ? run.output : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        session_.start();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DESTDIR", root_.path());
        const ToolRun install = runTool(
            "cmake", {"--install", qEnvironmentVariable("TOLVEX_BUILD_DIR"), "--prefix", "/usr"},
            env);
        QVERIFY2(install.exitCode == 0, qPrintable(install.errors));
        const ToolRun cpack =
            runTool("cpack", {"-G", "DEB", "-B", output_.path(), "--config",
                              qEnvironmentVariable("TOLVEX_BUILD_DIR") + "/CPackConfig.cmake"});
        QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.output + cpack.errors));
        const QStringList packages =
            QDir(output_.path()).entryList({QStringLiteral("tolvex_" TOLVEX_VERSION "_*.deb")});
        QCOMPARE(packages.size(), 1);
        package_ = output_.filePath(packages.first());
    }

    void validatorsPassTheInstalledFiles_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::newRow("desktop entry")
            << "desktop-file-validate" << QStringList()
            << QStringLiteral("share/applications/%1.desktop").arg(kAppId);
        QTest::newRow("metainfo") << "appstreamcli" << QStringList{"validate", "--no-net"}
                                  << QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kAppId);
        const QStringList man{"--warnings=w", "-E", "UTF-8", "-Tutf8", "-Z", "-l"};
        QTest::newRow("tolvex.1") << "man" << man << "share/man/man1/tolvex.1.gz";
        QTest::newRow("tolx.1") << "man" << man << "share/man/man1/tolx.1.gz";
    }

    void validatorsPassTheInstalledFiles()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        const ToolRun run = runTool(tool, arguments << installed(file));
        QVERIFY2(run.exitCode == 0 && run.errors.isEmpty(), qPrintable(run.output + run.errors));
    }

    // Answered as over ssh or in a package check: with no display at all.
    void commandLineFollowsQtConventions()
    {
        const QString tolvex = installed("bin/tolvex");
        QProcessEnvironment env = session_.environment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        const ToolRun help = runTool(tolvex, {"--help"}, env);
        QVERIFY(help.exitCode == 0 && help.output.contains("--erase"));
        const ToolRun version = runTool(tolvex, {"--version"}, env);
        QVERIFY2(version.exitCode == 0 && version.output == "Tolvex " TOLVEX_VERSION "\n",
                 qPrintable(version.output + version.errors));
        const ToolRun unknown = runTool(tolvex, {"--shred-all"}, env);
        QVERIFY2(unknown.exitCode == 1 && unknown.errors.contains("Unknown option 'shred-all'"),
                 qPrintable(unknown.errors));
        const ToolRun windowed = runTool(tolvex, {}, env);
        QVERIFY2(windowed.exitCode == 1 && windowed.errors.contains("no display"),
                 qPrintable(windowed.errors));
    }

    // With Tolvex the only application installed, no type gets it as the program that opens it.
    void theLauncherOpensNothingByDefault()
    {
        const QString applications = installed("share/applications");
        QCOMPARE(runTool("update-desktop-database", {applications}).exitCode, 0);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PATH", installed("bin") + ':' + env.value("PATH"));
        env.insert("XDG_DATA_HOME", installed("share"));
        env.insert("XDG_DATA_DIRS", root_.filePath("none"));
        env.insert("XDG_CONFIG_HOME", root_.filePath("none"));
        env.insert("XDG_CONFIG_DIRS", root_.filePath("none"));
        for (const QString type : {"inode/directory", "application/octet-stream"}) {
            const ToolRun gio = runTool("gio", {"mime", type}, env);
            QVERIFY2(gio.output.startsWith("No default applications"), qPrintable(gio.output));
        }
    }

    // Dolphin offers the action on files and folders, on Frameworks 5 before 5.85 as after.
    void theServiceMenuOffersTheActionOnFilesAndFolders()
    {
        QFile menu(installed("share/kio/servicemenus/" + kAppId + "-erase.desktop"));
        QVERIFY(menu.open(QIODevice::ReadOnly));
        const QByteArray text = menu.readAll();
        for (const char* line :
             {"Type=Service\n", "MimeType=application/octet-stream;inode/directory;\n",
              "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n", "Actions=erase-with-tolvex;\n",
              "Exec=tolvex --erase %F"})
            QVERIFY2(text.contains(line), line);
    }

    void installedProgramShredsThroughTheInstalledHelper()
    {
        QVERIFY(!QFile::exists(installed("bin/tolx")));
        session_.shredAFileErasedWith(installed("bin/tolvex"));
    }

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
        const ToolRun install = run("bash", {"-c", kMakeProgramAndInstall, script, octal});
        const QDir data(folder_.filePath("data"));
        const QString entry = data.filePath(QStringLiteral("applications/%1.desktop").arg(kAppId));
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
        QVERIFY(data.exists(QStringLiteral("icons/hicolor/scalable/apps/%1.svg").arg(kAppId)));
        QVERIFY(QFileInfo(
                    data.filePath(QStringLiteral("kio/servicemenus/%1-erase.desktop").arg(kAppId)))
                    .isExecutable());
    }

    void refusesAMissingProgram()
    {
        const QString script =
            qEnvironmentVariable("TOLVEX_SOURCE_DIR") + "/scripts/install-desktop";
        QVERIFY(run(script, {folder_.filePath("nowhere/tolvex")}).exitCode != 0);
    }

    void controlDataNamesTheDependencies()
    {
        QCOMPARE(deb("--field", {"Package", "Version", "Section", "Priority"}),
                 QStringLiteral("Package: tolvex\nVersion: " TOLVEX_VERSION
                                "\nSection: utils\nPriority: optional\n"));
        // Computed from the linked libraries, plus what no library pulls in.
        const QString depends = deb("--field", {"Depends"});
        for (const char* dependency : {"fonts-roboto-unhinted", "libqt6svg6", "qt6-wayland",
                                       "libqt6widgets6 (>=", "libc6 (>="})
            QVERIFY2(depends.contains(QLatin1String(dependency)), qPrintable(depends));
    }

    void contentsFollowTheFileSystemHierarchy()
    {
        QStringList files;
        for (const QString& line : deb("--contents").split('\n', Qt::SkipEmptyParts))
            if (!line.startsWith('d'))
                files << line.section(' ', -1);
        files.sort();
        QStringList expected{"./usr/bin/tolvex",
                             "./usr/libexec/tolvex/tolx",
                             "./usr/libexec/tolvex/tolx-dm",
                             "./usr/share/applications/" + kAppId + ".desktop",
                             "./usr/share/doc/tolvex/changelog.gz",
                             "./usr/share/doc/tolvex/copyright",
                             "./usr/share/icons/hicolor/scalable/apps/" + kAppId + ".svg",
                             "./usr/share/kio/servicemenus/" + kAppId + "-erase.desktop",
                             "./usr/share/man/man1/tolvex.1.gz",
                             "./usr/share/man/man1/tolx.1.gz",
                             "./usr/share/metainfo/" + kAppId + ".metainfo.xml"};
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            expected << QStringLiteral("./usr/share/icons/hicolor/%1x%1/apps/%2.png")
                            .arg(size)
                            .arg(kAppId);
        expected.sort();
        QCOMPARE(files, expected);
    }

    void lintianFindsNoErrors()
    {
        const ToolRun lintian = runTool("lintian", {"--fail-on", "error", package_});
        QVERIFY2(lintian.exitCode == 0, qPrintable(lintian.output));
        qInfo().noquote() << lintian.output;
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
