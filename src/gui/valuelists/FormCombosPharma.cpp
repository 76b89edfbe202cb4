#include "FormCombosPharma.h"

#include "core/store/EnregMedic.h"
#include "core/store/Tri.h"
#include "core/store/TypedText.h"
#include "core/valuelists/ValueListFile.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/TextPrompt.h"
#include "gui/platform/Widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kRoutesCaption = QStringLiteral("Médicaments: Voie d'administration");
const QString kPresentationsCaption = QStringLiteral("Médicaments: Présentation");
constexpr int kCaptionPrefixLength = 13; // "Médicaments: "

} // namespace

FormCombosPharma::FormCombosPharma(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormCombosPharma"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    m_list1 = new QListWidget(this);
    m_list1->setObjectName(QStringLiteral("List1"));
    m_list1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list1->setSortingEnabled(false);
    m_list1->setMinimumSize(220, 260);

    m_nouveau = makePictureButton(QStringLiteral("Nouveau"), QStringLiteral("Ajouter"), Picture::Add, this);
    m_modifier =
        makePictureButton(QStringLiteral("Modifier"), QStringLiteral("Modifier"), Picture::Edit, this);
    m_supprimer =
        makePictureButton(QStringLiteral("Supprimer"), QStringLiteral("Supprimer"), Picture::Delete, this);
    m_fermer = makePictureButton(QStringLiteral("Fermer"), QStringLiteral("Fermer"), Picture::Close, this);
    connect(m_nouveau, &QToolButton::clicked, this, [this] { Nouveau_Click(); });
    connect(m_modifier, &QToolButton::clicked, this, [this] { Modifier_Click(); });
    connect(m_supprimer, &QToolButton::clicked, this, [this] { Supprimer_Click(); });
    connect(m_fermer, &QToolButton::clicked, this, [this] { Fermer_Click(); });

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_nouveau);
    buttons->addWidget(m_modifier);
    buttons->addWidget(m_supprimer);
    buttons->addStretch();
    buttons->addWidget(m_fermer);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_list1, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    letFirstArrowChooseFramedRow(m_list1);
    ignoreEscape(this);
}

void FormCombosPharma::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Form_Activate();
}

QString FormCombosPharma::fileName() const
{
    return m_mode == ValueList::Routes ? kRoutesFileName : kPresentationsFileName;
}

QString FormCombosPharma::noun() const
{
    return windowTitle().mid(kCaptionPrefixLength);
}

void FormCombosPharma::Form_Activate()
{
    m_list1->clear();
    setWindowTitle(m_mode == ValueList::Routes ? kRoutesCaption : kPresentationsCaption);
    m_list1->setAccessibleName(noun());
    QStringList entries;
    QString error;
    if (!readValueList(fileName(), &entries, &error))
        Platform::showError(error);
    trie_liste(entries);
    for (const QString &entry : entries) {
        auto *item = new QListWidgetItem(shownEntry(entry), m_list1);
        item->setData(Qt::UserRole, entry);
    }
}

// Asks through the input box; false when the user cancelled or typed nothing (told).
bool FormCombosPharma::askEntry(const QString &prompt, const QString &title, const QString &defaultText,
                                QString *entry)
{
    const std::optional<QString> typed = TextPrompt::ask({title, prompt, defaultText, kValueListEntryLength});
    if (!typed)
        return false;
    *entry = *typed;
    // Blanks alone are an entry: they are stored as an empty line.
    if (entry->isEmpty()) {
        Platform::message(QStringLiteral("Vous n'avez saisi aucune ") + noun() + QStringLiteral(" !"),
                          QStringLiteral("Attention !!!"), MsgIcon::Exclamation);
        return false;
    }
    *entry = Enreg::trimBlanks(*entry).toString();
    const QString refused = TypedText::refusal(QStringLiteral("L'entrée"), *entry);
    if (!refused.isEmpty()) {
        Platform::showError(refused + QStringLiteral("\r\n\r\nLe fichier n'est pas modifié."));
        return false;
    }
    return true;
}

void FormCombosPharma::Nouveau_Click()
{
    const QString what = noun();
    QString entry;
    if (askEntry(QStringLiteral("Veuillez saisir la nouvelle ") + what + QStringLiteral(":"),
                 QStringLiteral("Nouvelle ") + what, QString(), &entry)) {
        QString error;
        if (appendToValueList(fileName(), entry, &error))
            m_list1->addItem(entry);
        else
            Platform::showError(error);
    }
    // The input box has closed: the window is active again.
    Form_Activate();
}

// The entry the command works on; none (the user told) when nothing is selected.
QListWidgetItem *FormCombosPharma::chosenEntry()
{
    const QList<QListWidgetItem *> selected = m_list1->selectedItems();
    if (!selected.isEmpty())
        return selected.first();
    Platform::message(QStringLiteral("Aucune ") + noun() + QStringLiteral(" sélectionnée !"),
                      QStringLiteral("Erreur"), MsgIcon::Exclamation);
    return nullptr;
}

void FormCombosPharma::Modifier_Click()
{
    const QString what = noun();
    QListWidgetItem *item = chosenEntry();
    if (!item)
        return;
    QString entry;
    if (askEntry(QStringLiteral("Veuillez modifier la ") + what + QStringLiteral(":"),
                 QStringLiteral("Modifier une ") + what, item->data(Qt::UserRole).toString(), &entry)) {
        QStringList entries;
        for (int row = 0; row < m_list1->count(); ++row)
            entries << (row == m_list1->row(item) ? entry
                                                  : m_list1->item(row)->data(Qt::UserRole).toString());
        QString error;
        if (!writeValueList(fileName(), entries, &error))
            Platform::showError(error);
    }
    Form_Activate();
}

void FormCombosPharma::Supprimer_Click()
{
    const QString what = noun();
    QListWidgetItem *item = chosenEntry();
    if (!item)
        return;
    if (Platform::message(item->text() + QStringLiteral("\r\n\r\nConfirmer la suppression ?"), what,
                          MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::No)
        return;
    const int row = m_list1->row(item);
    QStringList entries;
    for (int r = 0; r < m_list1->count(); ++r) {
        if (r != row)
            entries << m_list1->item(r)->data(Qt::UserRole).toString();
    }
    QString error;
    if (!writeValueList(fileName(), entries, &error)) {
        Platform::showError(error);
        return;
    }
    delete m_list1->takeItem(row);
    // No entry is chosen after a deletion: a second "Supprimer" must not take the next one.
    m_list1->setCurrentItem(nullptr);
    m_list1->clearSelection();
}

void FormCombosPharma::Fermer_Click()
{
    accept();
}
