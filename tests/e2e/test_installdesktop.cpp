// The desktop integration script installs entries that point at the given program, validate,
// and carry the "Erase with Tolvex" action; it refuses a program that is not there.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestInstallDesktop : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

    int install(const QString& program, QString* output = nullptr)
    {
        QProcess script;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), folder_.filePath(QStringLiteral("data")));
        script.setProcessEnvironment(env);
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(qEnvironmentVariable("TOLVEX_SOURCE_DIR") +
                         QStringLiteral("/scripts/install-desktop"),
                     {program});
        script.waitForFinished();
        if (output) {
            *output = QString::fromUtf8(script.readAll());
        }
        return script.exitCode();
    }

private Q_SLOTS:
    void installsEntriesPointingAtTheProgram()
    {
        const QString program = folder_.filePath(QStringLiteral("my apps/tolvex"));
        QDir().mkpath(QFileInfo(program).path());
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QString output;
        QCOMPARE(install(program, &output), 0);
        const QString entry = folder_.filePath(QStringLiteral("data/applications/tolvex.desktop"));
        QFile desktop(entry);
        QVERIFY(desktop.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(desktop.readAll());
        QVERIFY(text.contains(QStringLiteral("Exec=\"%1\" %F\n").arg(program)));
        QVERIFY(text.contains(QStringLiteral("Name=Erase with Tolvex\n")));
        QVERIFY(text.contains(QStringLiteral("Exec=\"%1\" --erase %F\n").arg(program)));
        QVERIFY(QFile::exists(
            folder_.filePath(QStringLiteral("data/icons/hicolor/scalable/apps/tolvex.svg"))));
        QVERIFY(QFileInfo(
                    folder_.filePath(QStringLiteral("data/kio/servicemenus/tolvex-erase.desktop")))
                    .isExecutable());

        const QString validator =
            QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        QVERIFY2(!validator.isEmpty(), "desktop-file-validate is missing: run scripts/setup-deps");
        QProcess validate;
        validate.setProcessChannelMode(QProcess::MergedChannels);
        validate.start(validator, {entry});
        QVERIFY(validate.waitForFinished());
        QVERIFY2(validate.exitCode() == 0, validate.readAll().constData());
    }

    void refusesAMissingProgram()
    {
        QVERIFY(install(folder_.filePath(QStringLiteral("nowhere/tolvex"))) != 0);
    }
};

QTEST_GUILESS_MAIN(TestInstallDesktop)
#include "test_installdesktop.moc"
