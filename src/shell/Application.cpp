#include "Application.h"

#include "Menuprincipal.h"

#include <QApplication>
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

int runVellorin(int argc, char **argv)
{
    QApplication app(argc, argv);
    prepareApplication(app);
    Menuprincipal menuprincipal;
    menuprincipal.show();
    return QApplication::exec();
}
