#include "MedicinesWindow.h"

#include "core/medicines/MedicinesCopy.h"
#include "gui/platform/FileDialogs.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/Widgets.h"
#include "gui/platform/WindowLayout.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Base des médicaments");

// "fichiers du 01/12/2026, 15 823 spécialités et 20 917 boîtes"
QString described(const MedicinesDatabase &database)
{
    const QLocale french(QLocale::French);
    return QStringLiteral("fichiers du %1, %2 spécialités et %3 boîtes")
        .arg(database.copyDate().toString(QStringLiteral("dd/MM/yyyy")),
             french.toString(database.specialityCount()), french.toString(database.packCount()));
}

} // namespace

MedicinesWindow::MedicinesWindow(QWidget *parent)
    : QDialog(parent)
{
    ignoreEscape(this); // like the program's other windows, it closes by its own button
    setObjectName(QStringLiteral("medicinesWindow"));
    setWindowTitle(kTitle);
    auto *where = new QLabel(
        QStringLiteral("Téléchargez les fichiers de la base de données publique des médicaments "
                       "(base-donnees-publique.medicaments.gouv.fr, page « Téléchargement ») dans un même "
                       "dossier, au moins CIS_bdpm.txt et CIS_CIP_bdpm.txt, puis choisissez ce dossier avec "
                       "« Importer... »."),
        this);
    where->setObjectName(QStringLiteral("where"));
    where->setWordWrap(true);
    m_copy = new QLabel(this);
    m_copy->setObjectName(QStringLiteral("copy"));
    m_copy->setWordWrap(true);
    auto *import = new QPushButton(QStringLiteral("Importer..."), this);
    import->setObjectName(QStringLiteral("import"));
    auto *close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("close"));
    connect(import, &QPushButton::clicked, this, [this] { importRelease(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(import);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_copy);
    layout->addWidget(where);
    layout->addLayout(buttons);
    setMinimumWidth(520);
    keepPlacement(this);
    showCopy();
}

void MedicinesWindow::showCopy()
{
    QString error;
    const MedicinesDatabase *database = MedicinesCopy::current(&error);
    m_copy->setText(database ? QStringLiteral("Copie en service : ") + described(*database) + u'.'
                    : error.isEmpty()
                        ? QStringLiteral("Aucune copie en service : la base n'a pas encore été importée.")
                        : error);
}

void MedicinesWindow::importRelease()
{
    const QString folder = askFolder(this, QStringLiteral("Dossier des fichiers téléchargés"),
                                     QStandardPaths::writableLocation(QStandardPaths::DownloadLocation));
    if (folder.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool imported = MedicinesCopy::importFolder(folder, &error);
    QApplication::restoreOverrideCursor();
    showCopy();
    if (imported) {
        Platform::message(QStringLiteral("La base des médicaments est importée : ") +
                              described(*MedicinesCopy::current()) + u'.',
                          kTitle, MsgIcon::Information);
        return;
    }
    const MedicinesDatabase *inUse = MedicinesCopy::current();
    Platform::message(
        QStringLiteral("L'import n'a pas eu lieu : ") + error + QStringLiteral("\r\n\r\n") +
            (inUse ? QStringLiteral("La copie en service reste celle des ") + described(*inUse) + u'.'
                   : QStringLiteral("Aucune copie n'est en service.")),
        kTitle, MsgIcon::Exclamation);
}
