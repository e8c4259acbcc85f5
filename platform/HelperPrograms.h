#pragma once

#include <QString>

namespace tolvex {

// Where a helper program that ships with Tolvex (tolx, tolx-dm) is: beside the running `tolvex`
// in a build folder, else in the helpers' folder of the installed tree. Never looked up through
// PATH, so another program of the same name cannot stand in for it.
QString helperProgramPath(const QString& name);

} // namespace tolvex
