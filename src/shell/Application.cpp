#include "Application.h"

#include "Menuprincipal.h"
#include "platform/InstanceLock.h"
#include "platform/MessageBox.h"
#include "platform/ProgramDirectory.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void prepareApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("Vellorin"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    // The standard buttons and the text boxes' context menus in French; the catalogue
    // travels inside the program, so it does not depend on the system's packages.
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QStringLiteral(":/i18n")))
        QApplication::installTranslator(translator);
}

bool claimProgramDirectory(InstanceLock &lock)
{
    switch (lock.acquire()) {
    case InstanceLock::Outcome::Acquired:
        return true;
    case InstanceLock::Outcome::HeldByAnother:
        Platform::message(QStringLiteral("Vellorin est déjà ouvert sur le dossier\r\n%1\r\n\r\n"
                                         "Deux copies du programme effaceraient le travail l'une de l'autre : "
                                         "celle-ci s'arrête.")
                              .arg(QDir::toNativeSeparators(Platform::programDirectory())),
                          QStringLiteral("Attention !!!"), MsgIcon::Exclamation);
        return false;
    case InstanceLock::Outcome::CannotLock:
        break;
    }
    // No lock can be written there: the directory is read-only, and so will be every save.
    Platform::message(QStringLiteral("Le dossier du programme\r\n%1\r\nest en lecture seule : les médicaments "
                                     "peuvent être consultés et imprimés, mais aucune modification ne pourra être "
                                     "enregistrée.")
                          .arg(QDir::toNativeSeparators(Platform::programDirectory())),
                      QStringLiteral("Attention !!!"), MsgIcon::Exclamation);
    return true;
}

int runVellorin(int argc, char **argv)
{
    QApplication app(argc, argv);
    prepareApplication(app);
    InstanceLock lock(Platform::programDirectory());
    if (!claimProgramDirectory(lock))
        return 1;
    Menuprincipal menuprincipal;
    menuprincipal.show();
    return QApplication::exec();
}
