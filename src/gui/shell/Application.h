#pragma once

class QApplication;

// Puts the program's look and language in place: French standard dialogs and texts.
void prepareApplication(QApplication &app);

class InstanceLock;

// Takes the program directory for this copy of the program; false (the user told) when
// another copy already works there.
bool claimProgramDirectory(InstanceLock &lock);

// Starts the program in its main window; returns when the user leaves it.
int runVellorin(int argc, char **argv);
