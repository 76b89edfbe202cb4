#pragma once

#include <QString>

// The program's version, shown in the main window's caption and in the about box; it is
// the project's version in the build.
inline const QString kProgramVersion = QStringLiteral(VELLORIN_VERSION);
