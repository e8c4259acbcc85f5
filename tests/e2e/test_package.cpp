// Builds the Debian package from the finished build, and checks its control data, its contents
// and what lintian says of it.
#include "DesktopSession.h"

using namespace e2e;

class TestPackage : public QObject {
    Q_OBJECT

    QTemporaryDir output_;
    QString package_;

    QString deb(const QString& option, const QStringList& fields = {}) const
    {
        const ToolRun run = runTool("dpkg-deb", QStringList{option, package_} + fields);
        return run.exitCode == 0 ? run.output : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        const ToolRun cpack =
            runTool("cpack", {"-G", "DEB", "-B", output_.path(), "--config",
                              qEnvironmentVariable("TOLVEX_BUILD_DIR") + "/CPackConfig.cmake"});
        QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.output + cpack.errors));
        const QStringList packages =
            QDir(output_.path()).entryList({QStringLiteral("tolvex_" TOLVEX_VERSION "_*.deb")});
        QCOMPARE(packages.size(), 1);
        package_ = output_.filePath(packages.first());
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
        const QString id = "io.github.tolvex.Tolvex";
        QStringList expected{"./usr/bin/tolvex",
                             "./usr/libexec/tolvex/tolx",
                             "./usr/libexec/tolvex/tolx-dm",
                             "./usr/share/applications/" + id + ".desktop",
                             "./usr/share/doc/tolvex/changelog.gz",
                             "./usr/share/doc/tolvex/copyright",
                             "./usr/share/icons/hicolor/scalable/apps/" + id + ".svg",
                             "./usr/share/kio/servicemenus/" + id + "-erase.desktop",
                             "./usr/share/man/man1/tolvex.1.gz",
                             "./usr/share/man/man1/tolx.1.gz",
                             "./usr/share/metainfo/" + id + ".metainfo.xml"};
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            expected
                << QStringLiteral("./usr/share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(id);
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

QTEST_GUILESS_MAIN(TestPackage)
#include "test_package.moc"
