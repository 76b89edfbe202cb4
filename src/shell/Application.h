#pragma once

class QApplication;

// Puts the program's look and language in place: French standard dialogs and texts.
void prepareApplication(QApplication &app);

// Starts the program in its main window; returns when the user leaves it.
int runVellorin(int argc, char **argv);
