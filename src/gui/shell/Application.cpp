#include "Application.h"

#include "MainWindow.h"
#include "Version.h"
#include "core/files/DurableFile.h"
#include "core/platform/InstanceLock.h"
#include "core/platform/ProgramDirectory.h"
#include "core/stock/Backups.h"
#include "core/stock/WorkFiles.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/ScanDetector.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void prepareApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("Vellorin"));
    QApplication::setApplicationVersion(kProgramVersion);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    // The standard buttons and the text boxes' context menus in French; the catalogue
    // travels inside the program, so it does not depend on the system's packages.
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QStringLiteral(":/i18n")))
        QApplication::installTranslator(translator);
    // A scanner's bursts are told from typing in every window, message boxes included.
    new ScanDetector(&app);
}

bool claimProgramDirectory(InstanceLock &lock)
{
    const QString directory = QDir::toNativeSeparators(Platform::programDirectory());
    const QString lockFile = QDir::toNativeSeparators(lock.fileName());
    const QString attention = QStringLiteral("Attention !!!");
    InstanceLock::Outcome outcome = lock.acquire();
    bool ours = true;
    if (outcome == InstanceLock::Outcome::HeldElsewhere) {
        const InstanceLock::Holder &holder = lock.holder();
        const QDateTime since = holder.since.toLocalTime();
        const QString question =
            QStringLiteral(
                "Vellorin est peut-être ouvert sur l'ordinateur « %1 » depuis le %2 à %3, sur le dossier\r\n"
                "%4\r\n(fichier de verrou %5).\r\n\r\n"
                "S'il y est vraiment ouvert, les deux copies effaceraient le travail l'une de l'autre. "
                "Si ce n'est plus le cas (cet ordinateur a été éteint sans quitter Vellorin, ou le dossier "
                "a été copié depuis), vous pouvez l'ouvrir ici.\r\n\r\nOuvrir Vellorin quand même ?")
                .arg(holder.host, since.toString(QStringLiteral("dd/MM/yyyy")),
                     since.toString(QStringLiteral("HH:mm")), directory, lockFile);
        if (Platform::message(question, attention, MsgIcon::Exclamation, MsgButtons::YesNo) != MsgAnswer::Yes)
            return false;
        outcome = lock.takeOver();
        // Its work files may belong to a save still under way over there.
        ours = false;
    }
    switch (outcome) {
    case InstanceLock::Outcome::Acquired:
        if (ours) {
            DurableFile::removeWorkFiles(Platform::programDirectory(), isProgramWorkFile);
            DurableFile::removeWorkFiles(Platform::programFile(Backups::kFolderName), isProgramWorkFile);
        }
        return true;
    case InstanceLock::Outcome::HeldHere:
        Platform::message(
            QStringLiteral("Vellorin est déjà ouvert sur le dossier\r\n%1\r\n\r\n"
                           "Deux copies du programme effaceraient le travail l'une de l'autre : "
                           "celle-ci s'arrête.\r\n\r\n(Le fichier de verrou %2 est tenu par le "
                           "programme n° %3 de cet ordinateur.)")
                .arg(directory, lockFile)
                .arg(lock.holder().pid ? QString::number(lock.holder().pid) : QStringLiteral("?")),
            attention, MsgIcon::Exclamation);
        return false;
    case InstanceLock::Outcome::ReadOnly:
        // Nothing can be written there, and so will be every save.
        Platform::message(
            QStringLiteral("Le dossier du programme\r\n%1\r\nest en lecture seule (%2) : le fichier de "
                           "verrou %3 ne peut pas y être créé.\r\n\r\nLes médicaments peuvent être "
                           "consultés et imprimés, mais aucune modification ne pourra être enregistrée.")
                .arg(directory, DurableFile::cause(lock.failure()), lockFile),
            attention, MsgIcon::Exclamation);
        return true;
    case InstanceLock::Outcome::HeldElsewhere:
    case InstanceLock::Outcome::CannotWrite:
        break;
    }
    // Running without the lock would let a second copy undo this one's saves once the
    // disk works again: better to stop and say why.
    Platform::message(QStringLiteral("Le fichier de verrou %1 ne peut pas être créé :\r\n%2.\r\n\r\n"
                                     "Vellorin s'arrête ; réglez ce problème, puis ouvrez-le de nouveau.")
                          .arg(lockFile, DurableFile::cause(lock.failure())),
                      attention, MsgIcon::Exclamation);
    return false;
}

int runVellorin(int argc, char **argv)
{
    QApplication app(argc, argv);
    prepareApplication(app);
    InstanceLock lock(Platform::programDirectory());
    if (!claimProgramDirectory(lock))
        return 1;
    MainWindow mainWindow;
    mainWindow.show();
    return QApplication::exec();
}
