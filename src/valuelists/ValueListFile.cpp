#include "ValueListFile.h"

#include "platform/ProgramDirectory.h"
#include "store/TextFile.h"

QString cheminListe(const QString &fileName)
{
    return Platform::programFile(fileName);
}

bool lit_liste(const QString &fileName, QStringList *entries, QString *error)
{
    return TextFile::readLines(cheminListe(fileName), entries, error);
}

bool ecrit_liste(const QString &fileName, const QStringList &entries, QString *error)
{
    return TextFile::writeLines(cheminListe(fileName), entries, error);
}

bool ajoute_liste(const QString &fileName, const QString &entry, QString *error)
{
    return TextFile::appendLine(cheminListe(fileName), entry, error);
}
