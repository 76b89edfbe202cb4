#include "MedicineSheet.h"

#include "core/medicines/MedicinesCopy.h"
#include "core/scan/ProductCodes.h"
#include "gui/platform/MessageBox.h"

void showMedicineSheet(const MedicineRecord &record)
{
    const QString title = QStringLiteral("Fiche du médicament");
    QString error;
    const MedicinesDatabase *database = MedicinesCopy::current(&error);
    if (!database) {
        Platform::message(error.isEmpty()
                              ? QStringLiteral("Aucune copie de la base des médicaments n'est en service : "
                                               "importez-en une par « Application > Base des "
                                               "médicaments... ».")
                              : error,
                          title, MsgIcon::Information);
        return;
    }
    const Pack *pack = nullptr;
    const Speciality *speciality = nullptr;
    for (const QString &code : codesOf({record.name, record.route, record.presentation, {}}, &error)) {
        pack = database->pack(code);
        speciality = pack ? database->speciality(pack->cis) : nullptr;
        if (speciality)
            break;
    }
    if (!speciality) {
        pack = nullptr;
        speciality = database->byName(record.name);
    }
    const QString copy = QStringLiteral("Base des médicaments : fichiers du %1.")
                             .arg(database->copyDate().toString(QStringLiteral("dd/MM/yyyy")));
    if (!speciality) {
        Platform::message(QStringLiteral("Inconnu de la base : « %1 ».\r\n\r\n").arg(record.name) + copy,
                          title, MsgIcon::Information);
        return;
    }
    QString availability = pack ? pack->availability : QString();
    if (availability.isEmpty())
        availability = speciality->availability;
    QStringList lines = {speciality->name,
                         QStringLiteral("Forme : ") + speciality->form,
                         QStringLiteral("Voies d'administration : ") +
                             QString(speciality->routes).replace(u';', QStringLiteral(", ")),
                         QStringLiteral("Titulaire : ") + speciality->holder,
                         QStringLiteral("Conditions de prescription : ") +
                             (speciality->conditions.isEmpty()
                                  ? QStringLiteral("aucune")
                                  : speciality->conditions.join(QStringLiteral(", "))),
                         QStringLiteral("Disponibilité : ") +
                             (availability.isEmpty() ? QStringLiteral("aucun signalement") : availability)};
    if (pack)
        lines << QStringLiteral("Boîte : ") + pack->description;
    Platform::message(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n\r\n") + copy, title,
                      MsgIcon::Information);
}
