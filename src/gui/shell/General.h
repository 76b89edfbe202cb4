#pragma once

#include <QString>

// The program's version, shown in the main window's caption and in the about box.
inline QString VersionLogiciel;
