#include "platform/HelperPrograms.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tolvex {

QString helperProgramPath(const QString& name)
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString besideProgram = programFolder.filePath(name);
    if (QFileInfo(besideProgram).isExecutable())
        return besideProgram;
    // TOLVEX_HELPER_DIR is the installed helpers' folder relative to the installed `tolvex`.
    return QDir::cleanPath(programFolder.filePath(QStringLiteral(TOLVEX_HELPER_DIR "/") + name));
}

} // namespace tolvex
