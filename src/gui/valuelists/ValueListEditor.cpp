#include "ValueListEditor.h"

#include "core/files/TypedText.h"
#include "core/stock/AlphabeticalSort.h"
#include "core/stock/MedicineRecord.h"
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

// The noun messages use for an entry of the list, and the window's caption around it.
const QString kCaptionPrefix = QStringLiteral("Médicaments: ");
const QString kRoutesNoun = QStringLiteral("Voie d'administration");
const QString kPresentationsNoun = QStringLiteral("Présentation");

} // namespace

ValueListEditor::ValueListEditor(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("valueListEditor"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    m_lines = new QListWidget(this);
    m_lines->setObjectName(QStringLiteral("entries"));
    m_lines->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lines->setSortingEnabled(false);
    m_lines->setMinimumSize(220, 260);

    m_add = makePictureButton(QStringLiteral("add"), QStringLiteral("Ajouter"), Picture::Add, this);
    m_change = makePictureButton(QStringLiteral("change"), QStringLiteral("Modifier"), Picture::Edit, this);
    m_remove =
        makePictureButton(QStringLiteral("remove"), QStringLiteral("Supprimer"), Picture::Delete, this);
    m_close = makePictureButton(QStringLiteral("close"), QStringLiteral("Fermer"), Picture::Close, this);
    connect(m_add, &QToolButton::clicked, this, [this] { addEntry(); });
    connect(m_change, &QToolButton::clicked, this, [this] { change(); });
    connect(m_remove, &QToolButton::clicked, this, [this] { remove(); });
    connect(m_close, &QToolButton::clicked, this, [this] { close_(); });

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_change);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    buttons->addWidget(m_close);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_lines, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    letFirstArrowChooseFramedRow(m_lines);
    ignoreEscape(this);
}

void ValueListEditor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        activated();
}

QString ValueListEditor::fileName() const
{
    return valueListFileName(m_mode);
}

QString ValueListEditor::noun() const
{
    return m_mode == ValueList::Routes ? kRoutesNoun : kPresentationsNoun;
}

void ValueListEditor::activated()
{
    m_lines->clear();
    setWindowTitle(kCaptionPrefix + noun());
    m_lines->setAccessibleName(noun());
    QStringList entries;
    QString error;
    if (!readValueList(fileName(), &entries, &error))
        Platform::showError(error);
    sortAlphabetically(entries);
    for (const QString &entry : entries) {
        auto *item = new QListWidgetItem(shownEntry(entry), m_lines);
        item->setData(Qt::UserRole, entry);
    }
}

// Asks through the input box; false when the user cancelled or typed nothing (told).
bool ValueListEditor::askEntry(const QString &prompt, const QString &title, const QString &defaultText,
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
    *entry = RecordLayout::trimBlanks(*entry).toString();
    const QString refused = TypedText::refusal(QStringLiteral("L'entrée"), *entry);
    if (!refused.isEmpty()) {
        Platform::showError(refused + QStringLiteral("\r\n\r\nLe fichier n'est pas modifié."));
        return false;
    }
    return true;
}

void ValueListEditor::addEntry()
{
    const QString what = noun();
    QString entry;
    if (askEntry(QStringLiteral("Veuillez saisir la nouvelle ") + what + QStringLiteral(":"),
                 QStringLiteral("Nouvelle ") + what, QString(), &entry)) {
        QString error;
        if (appendToValueList(fileName(), entry, &error))
            m_lines->addItem(entry);
        else
            Platform::showError(error);
    }
    // The input box has closed: the window is active again.
    activated();
}

// The entry the command works on; none (the user told) when nothing is selected.
QListWidgetItem *ValueListEditor::chosenEntry()
{
    const QList<QListWidgetItem *> selected = m_lines->selectedItems();
    if (!selected.isEmpty())
        return selected.first();
    Platform::message(QStringLiteral("Aucune ") + noun() + QStringLiteral(" sélectionnée !"),
                      QStringLiteral("Erreur"), MsgIcon::Exclamation);
    return nullptr;
}

void ValueListEditor::change()
{
    const QString what = noun();
    QListWidgetItem *item = chosenEntry();
    if (!item)
        return;
    QString entry;
    if (askEntry(QStringLiteral("Veuillez modifier la ") + what + QStringLiteral(":"),
                 QStringLiteral("Modifier une ") + what, item->data(Qt::UserRole).toString(), &entry)) {
        QStringList entries;
        for (int row = 0; row < m_lines->count(); ++row)
            entries << (row == m_lines->row(item) ? entry
                                                  : m_lines->item(row)->data(Qt::UserRole).toString());
        QString error;
        if (!writeValueList(fileName(), entries, &error))
            Platform::showError(error);
    }
    activated();
}

void ValueListEditor::remove()
{
    const QString what = noun();
    QListWidgetItem *item = chosenEntry();
    if (!item)
        return;
    if (Platform::message(item->text() + QStringLiteral("\r\n\r\nConfirmer la suppression ?"), what,
                          MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::No)
        return;
    const int row = m_lines->row(item);
    QStringList entries;
    for (int r = 0; r < m_lines->count(); ++r) {
        if (r != row)
            entries << m_lines->item(r)->data(Qt::UserRole).toString();
    }
    QString error;
    if (!writeValueList(fileName(), entries, &error)) {
        Platform::showError(error);
        return;
    }
    delete m_lines->takeItem(row);
    // No entry is chosen after a deletion: a second "Supprimer" must not take the next one.
    m_lines->setCurrentItem(nullptr);
    m_lines->clearSelection();
}

void ValueListEditor::close_()
{
    accept();
}
