// The desktop integration script installs entries that point at the given program, validate,
// and carry the "Erase with Tolvex" action; it refuses a program that is not there.
#include "DesktopSession.h"

class TestInstallDesktop : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

    int run(const QString& program, const QStringList& arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", folder_.filePath("data"));
        const e2e::ToolRun tool = e2e::runTool(program, arguments, env);
        qInfo().noquote() << tool.output << tool.errors;
        return tool.exitCode;
    }

private Q_SLOTS:
    void installsEntriesPointingAtTheProgram()
    {
        const QString script =
            qEnvironmentVariable("TOLVEX_SOURCE_DIR") + "/scripts/install-desktop";
        const QString program = folder_.filePath("my apps/tolvex");
        QVERIFY(QDir().mkpath(folder_.filePath("my apps")) && QFile::copy("/bin/true", program));

        QCOMPARE(run(script, {program}), 0);
        const QDir data(folder_.filePath("data"));
        const QString id = "io.github.tolvex.Tolvex";
        const QString entry = data.filePath(QStringLiteral("applications/%1.desktop").arg(id));
        QFile desktop(entry);
        QVERIFY(desktop.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(desktop.readAll());
        QVERIFY(text.contains(QStringLiteral("Exec=\"%1\" %F\n").arg(program)));
        QVERIFY(text.contains(QStringLiteral("Exec=\"%1\" --erase %F\n").arg(program)));
        QVERIFY(data.exists(QStringLiteral("icons/hicolor/scalable/apps/%1.svg").arg(id)));
        QVERIFY(
            QFileInfo(data.filePath(QStringLiteral("kio/servicemenus/%1-erase.desktop").arg(id)))
                .isExecutable());
        QCOMPARE(run("desktop-file-validate", {entry}), 0);

        QVERIFY(run(script, {folder_.filePath("nowhere/tolvex")}) != 0);
    }
};

QTEST_GUILESS_MAIN(TestInstallDesktop)
#include "test_installdesktop.moc"
