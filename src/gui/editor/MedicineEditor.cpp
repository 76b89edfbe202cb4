#include "MedicineEditor.h"

#include "DateEntryCheck.h"
#include "core/files/TypedText.h"
#include "core/medicines/MedicinesCopy.h"
#include "core/platform/Today.h"
#include "core/scan/BoxCode.h"
#include "core/scan/ProductCodes.h"
#include "core/stock/StockFile.h"
#include "core/valuelists/ValueListFile.h"
#include "gui/platform/FocusVeto.h"
#include "gui/platform/KeyRules.h"
#include "gui/platform/MaskedDateBox.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/OneLineGuard.h"
#include "gui/platform/ScanDetector.h"
#include "gui/platform/Widgets.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QStringListModel>
#include <QTimer>

#include <optional>
#include <tuple>

namespace {

QLabel *label(const QString &name, const QString &caption, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setBuddy(buddy);
    buddy->setAccessibleName(caption);
    return l;
}

using KeyRules::isEditingKey;
using KeyRules::isEnter;
using KeyRules::typesCharacter;

bool isDigit(const QString &text)
{
    return text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
}

} // namespace

MedicineEditor::MedicineEditor(std::optional<MedicineRecord> shown, Save save, QWidget *parent)
    : QDialog(parent)
    , m_shown(std::move(shown))
    , m_saveTo(std::move(save))
{
    setUpFixedWindow(this, QStringLiteral("medicineEditor")); // it closes by its own buttons
    buildControls();
    ScanDetector::acceptScans(this, [this](const QString &code) { boxScanned(code); });
}

MedicineEditor::~MedicineEditor() = default;

void MedicineEditor::buildControls()
{
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setMaxLength(int(RecordLayout::kName.width));
    keepOnOneLine(m_name);
    // In "Ajout", the names of the public medicines database that hold what is typed.
    m_completer = new QCompleter(this);
    m_offeredNames = new QStringListModel(m_completer);
    m_completer->setModel(m_offeredNames);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(12);
    m_completer->setWidget(m_name);
    m_completer->popup()->setObjectName(QStringLiteral("nameCompletions"));
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString &text) { offerNames(text); });
    connect(m_completer, qOverload<const QModelIndex &>(&QCompleter::activated), this,
            [this](const QModelIndex &index) { nameChosen(index.row()); });

    const auto combo = [this](const QString &name) {
        auto *box = new QComboBox(this);
        box->setObjectName(name);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr);
        box->setMinimumContentsLength(16);
        box->setFocusPolicy(Qt::StrongFocus); // a wheel turn over it is no way in
        box->lineEdit()->installEventFilter(this);
        return box;
    };
    m_route = combo(QStringLiteral("route"));
    m_presentation = combo(QStringLiteral("presentation"));

    // Digits only, whether typed or pasted.
    auto *digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    const auto number = [this, digits](const QString &name) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setMaxLength(int(RecordLayout::kQuantity.width)); // the threshold is as wide
        edit->setValidator(digits);
        keepOnOneLine(edit);
        edit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
        return edit;
    };
    m_quantity = number(QStringLiteral("quantity"));
    m_threshold = number(QStringLiteral("threshold"));

    m_expiry = new MaskedDateBox(this);
    m_expiry->setObjectName(QStringLiteral("expiry"));
    m_expiry->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);

    m_indispensable = new QCheckBox(QStringLiteral("Indispensable"), this);
    m_indispensable->setObjectName(QStringLiteral("indispensable"));

    m_save = makePictureButton(QStringLiteral("save"), QStringLiteral("Valider"), Picture::Validate, this);
    m_cancel = makePictureButton(QStringLiteral("cancel"), QStringLiteral("Annuler"), Picture::Cancel, this);
    connect(m_save, &QToolButton::clicked, this, [this] { save(); });
    connect(m_cancel, &QToolButton::clicked, this, [this] { cancel(); });

    auto *grid = new QGridLayout(this);
    grid->addWidget(label(QStringLiteral("nameLabel"), QStringLiteral("Médicament"), m_name, this), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 3);
    grid->addWidget(
        label(QStringLiteral("routeLabel"), QStringLiteral("Voie d'administration"), m_route, this), 1, 0);
    grid->addWidget(m_route, 1, 1);
    grid->addWidget(
        label(QStringLiteral("presentationLabel"), QStringLiteral("Présentation"), m_presentation, this), 1,
        2);
    grid->addWidget(m_presentation, 1, 3);
    grid->addWidget(label(QStringLiteral("quantityLabel"), QStringLiteral("Quantité"), m_quantity, this), 2,
                    0);
    grid->addWidget(m_quantity, 2, 1, Qt::AlignLeft);
    grid->addWidget(label(QStringLiteral("expiryLabel"), QStringLiteral("Date limite"), m_expiry, this), 2,
                    2);
    grid->addWidget(m_expiry, 2, 3, Qt::AlignLeft);
    grid->addWidget(
        label(QStringLiteral("thresholdLabel"), QStringLiteral("Seuil critique"), m_threshold, this), 3, 0);
    auto *thresholdRow = new QHBoxLayout;
    thresholdRow->addWidget(m_threshold);
    thresholdRow->addSpacing(12);
    thresholdRow->addWidget(m_indispensable);
    thresholdRow->addStretch();
    grid->addLayout(thresholdRow, 3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    grid->addLayout(buttons, 3, 2, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    QWidget *order[] = {m_name,   m_route, m_presentation, m_quantity,     m_threshold,
                        m_expiry, m_save,  m_cancel,       m_indispensable};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QWidget *w : {static_cast<QWidget *>(m_name), static_cast<QWidget *>(m_route),
                       static_cast<QWidget *>(m_presentation), static_cast<QWidget *>(m_quantity),
                       static_cast<QWidget *>(m_threshold), static_cast<QWidget *>(m_expiry)})
        w->installEventFilter(this);

    // The date must be accepted before the focus may leave its box.
    new FocusVeto(m_expiry, [this] { return dateAccepted(); });
}

void MedicineEditor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        activated();
        if (!m_openingScan.isEmpty()) // once the window shows, so that its questions are over it
            QTimer::singleShot(0, this, [this] { boxScanned(std::exchange(m_openingScan, QString())); });
    }
}

void MedicineEditor::activated()
{
    setWindowTitle(QStringLiteral("Description du médicament"));
    std::optional<Field> focus;
    if (m_mode == EditorMode::Add) {
        clearFields();
        fillLists();
        m_indispensable->setEnabled(true);
        focus = Field::Name;
    } else if (m_mode == EditorMode::Change) {
        fillLists();
        showRecord();
        m_indispensable->setEnabled(true);
        focus = Field::Name;
    } else if (m_mode == EditorMode::Renew) {
        fillLists();
        showRecord();
        m_indispensable->setEnabled(false);
        focus = Field::Expiry;
    } else if (m_mode == EditorMode::Quantity) {
        fillLists();
        showRecord();
        m_indispensable->setEnabled(false);
        focus = Field::Quantity;
    }
    if (!focus)
        return;
    // The window is not active yet: the field's first focus arrives with the window's
    // activation, and counts as entering the field.
    m_firstEntry = fieldWidget(*focus);
    m_firstEntry->setFocus(Qt::OtherFocusReason);
}

QWidget *MedicineEditor::fieldWidget(Field field) const
{
    switch (field) {
    case Field::Name:
        return m_name;
    case Field::Route:
        return m_route;
    case Field::Presentation:
        return m_presentation;
    case Field::Quantity:
        return m_quantity;
    case Field::Threshold:
        return m_threshold;
    case Field::Expiry:
        return m_expiry;
    }
    return nullptr;
}

void MedicineEditor::clearFields()
{
    m_name->setText(QString());
    m_presentation->setEditText(QString());
    m_route->setEditText(QString());
    m_quantity->setText(QString());
    m_expiry->setText(QString());
    m_threshold->setText(QString());
}

void MedicineEditor::fillLists()
{
    const auto fill = [](QComboBox *box, const QString &fileName) {
        const QString shown = box->currentText();
        box->clear();
        QStringList entries;
        QString error;
        if (!readValueList(fileName, &entries, &error))
            Platform::showError(error);
        for (const QString &entry : entries)
            box->addItem(shownEntry(entry));
        box->setCurrentIndex(-1);
        box->setEditText(shown); // filling the list leaves the text shown as it was
    };
    fill(m_route, valueListFileName(ValueList::Routes));
    fill(m_presentation, valueListFileName(ValueList::Presentations));
}

void MedicineEditor::showRecord()
{
    if (!m_shown)
        return;
    const MedicineRecord &e = *m_shown;
    m_name->setText(e.name);
    m_route->setEditText(e.route);
    m_presentation->setEditText(e.presentation);
    m_quantity->setText(e.quantity);
    m_expiry->setText(e.expiry);
    m_threshold->setText(e.threshold);
    m_indispensable->setChecked(fieldNumber(e.indispensable) == 1);
}

bool MedicineEditor::locked(Field field) const
{
    switch (field) {
    case Field::Name:
    case Field::Route:
    case Field::Presentation:
        return m_mode == EditorMode::Quantity || m_mode == EditorMode::Renew;
    case Field::Quantity:
        return false;
    case Field::Threshold:
    case Field::Expiry:
        return m_mode == EditorMode::Quantity;
    }
    return false;
}

bool MedicineEditor::keyRule(Field field, QWidget *widget, QKeyEvent *event)
{
    const bool character = typesCharacter(event);
    const bool changesText = character || isEnter(event) || isEditingKey(event);
    // A combo box's entry is chosen from its open list only, never stepped to closed.
    if ((field == Field::Route || field == Field::Presentation) && KeyRules::stepsThroughList(event))
        return true;
    if (locked(field))
        return changesText; // Enter included: it does nothing here
    if (isEnter(event)) {
        sendTab(widget);
        return true;
    }
    switch (field) {
    case Field::Name:
        return false;
    case Field::Route:
    case Field::Presentation:
        // Nothing typed into it.
        return changesText;
    case Field::Quantity:
    case Field::Threshold:
    case Field::Expiry:
        return character && !isDigit(event->text());
    }
    return false;
}

void MedicineEditor::fieldEntered(Field field)
{
    if (field == Field::Expiry)
        m_expiry->setMask(QStringLiteral("##/##/####"));
    QWidget *widget = fieldWidget(field);
    auto *combo = qobject_cast<QComboBox *>(widget);
    QLineEdit *edit = combo ? combo->lineEdit() : static_cast<QLineEdit *>(widget);
    // Again once the click that brought the focus is over: a press places the cursor.
    edit->selectAll();
    QTimer::singleShot(0, edit, [edit] {
        if (edit->hasFocus())
            edit->selectAll();
    });
}

void MedicineEditor::dateLeft()
{
    m_expiry->setMask(QString());
}

bool MedicineEditor::dateAccepted()
{
    // A date the mode does not let the user change is left as it was stored.
    if (locked(Field::Expiry))
        return true;
    if (checkTypedDate(m_expiry->maskedText()) == Check::Passed)
        return true;
    m_expiry->setFocus(Qt::OtherFocusReason);
    m_expiry->selectAll();
    return false;
}

bool MedicineEditor::eventFilter(QObject *watched, QEvent *event)
{
    // An editable combo box has the focus itself and hands keys and menus to its entry
    // box directly; mouse presses and drops reach the entry box.
    QWidget *widget = nullptr;
    QLineEdit *edit = nullptr;
    Field field = Field::Name;
    if (watched == m_name)
        widget = edit = m_name, field = Field::Name;
    else if (watched == m_route || watched == m_route->lineEdit())
        widget = m_route, edit = m_route->lineEdit(), field = Field::Route;
    else if (watched == m_presentation || watched == m_presentation->lineEdit())
        widget = m_presentation, edit = m_presentation->lineEdit(), field = Field::Presentation;
    else if (watched == m_quantity)
        widget = edit = m_quantity, field = Field::Quantity;
    else if (watched == m_threshold)
        widget = edit = m_threshold, field = Field::Threshold;
    else if (watched == m_expiry)
        widget = edit = m_expiry, field = Field::Expiry;
    else
        return QDialog::eventFilter(watched, event);

    const bool onWidget = watched == widget;
    // No text may be changed but by the key rules: combo boxes never, locked fields never.
    const bool noEditing = field == Field::Route || field == Field::Presentation || locked(field);

    switch (event->type()) {
    case QEvent::KeyPress:
        return onWidget && keyRule(field, widget, static_cast<QKeyEvent *>(event));
    case QEvent::FocusIn: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        const bool entering = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (onWidget && (entering || m_firstEntry == widget))
            fieldEntered(field);
        if (onWidget && isActiveWindow())
            m_firstEntry = nullptr;
        return false;
    }
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (field == Field::Expiry && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            dateLeft();
        return false;
    }
    case QEvent::ContextMenu: {
        if (!noEditing)
            return false;
        // Copying stays possible; nothing that would change the text.
        QMenu *menu = edit->createStandardContextMenu();
        const QAction *copy = standardMenuAction(menu, QKeySequence::Copy);
        const QAction *selectAll = standardMenuAction(menu, QKeySequence::SelectAll);
        for (QAction *action : menu->actions()) {
            if (action != copy && action != selectAll && !action->isSeparator())
                action->setEnabled(false);
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::InputMethod: // dead keys and input methods type too
        return noEditing;
    case QEvent::Wheel: // a combo box's entry is chosen from its open list only
        return field == Field::Route || field == Field::Presentation;
    case QEvent::MouseButtonRelease:
        // The middle button pastes the selection on some desktops.
        return noEditing && static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
}

void MedicineEditor::save()
{
    // A press that leaves the focus where it was (an assistive tool's) finds the date box
    // still masked: its date is checked and left as when the focus leaves it.
    if (m_expiry->hasMask()) {
        if (!dateAccepted())
            return;
        dateLeft();
    }
    if (RecordLayout::trimBlanks(m_name->text()).isEmpty()) {
        Platform::message(QStringLiteral("Aucun nom de médicament saisi !"), QStringLiteral("Erreur"),
                          MsgIcon::Exclamation);
        m_name->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Text from a file edited by hand may hold what a line of the stock file cannot.
    // The focus goes back to the field that holds it.
    for (const auto &[what, text, where] :
         {std::tuple<QString, QString, QWidget *>{QStringLiteral("Le nom"), m_name->text(), m_name},
          {QStringLiteral("La voie d'administration"), m_route->currentText(), m_route},
          {QStringLiteral("La présentation"), m_presentation->currentText(), m_presentation}}) {
        const QString refused = TypedText::refusal(what, text);
        if (!refused.isEmpty()) {
            Platform::showError(refused + QStringLiteral("\r\n\r\nLe médicament n'est pas enregistré."));
            where->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    const MedicineRecord record{m_name->text(),
                                m_route->currentText(),
                                m_presentation->currentText(),
                                m_quantity->text(),
                                m_expiry->text(),
                                m_threshold->text(),
                                m_indispensable->isChecked() ? QStringLiteral("1") : QStringLiteral("0")};
    QString error;
    if (!m_saveTo || !m_saveTo(record, &error)) {
        if (!error.isEmpty()) {
            Platform::showError(error);
            m_name->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    rememberScannedCode();
    accept();
}

void MedicineEditor::boxScanned(const QString &code)
{
    const QString title = QStringLiteral("Code de la boîte");
    if (m_mode == EditorMode::None)
        return;
    const BoxCodeReading reading = readBoxCode(code, Platform::today());
    if (!reading.code) {
        Platform::message(reading.problem + QStringLiteral(".\r\n\r\nRien n'est rempli."), title,
                          MsgIcon::Exclamation);
        return;
    }
    if (m_mode == EditorMode::Quantity) {
        Platform::message(QStringLiteral("Seule la quantité se change ici : le code lu n'est pas utilisé."),
                          title, MsgIcon::Information);
        return;
    }
    m_scannedGtin = reading.code->gtin;
    bool known = false;
    if (m_mode == EditorMode::Add) {
        QString error;
        if (const auto medicine = knownMedicine(m_scannedGtin, &error)) {
            m_name->setText(medicine->name);
            m_route->setEditText(medicine->route);
            m_presentation->setEditText(medicine->presentation);
            known = true;
        } else if (!error.isEmpty()) {
            Platform::showError(error);
        } else if (const Speciality *speciality = MedicinesCopy::specialityOfBox(m_scannedGtin)) {
            fillFromDatabase(*speciality);
            known = true;
        }
    }
    // The date as if typed, and checked as a typed one.
    m_expiry->setText(reading.code->expiry.toString(QStringLiteral("dd/MM/yyyy")));
    if (checkTypedDate(m_expiry->maskedText()) != Check::Passed)
        return;
    // A renewal is then all but done: the quantity is what is left to type.
    if (m_mode == EditorMode::Renew || known)
        m_quantity->setFocus(Qt::OtherFocusReason);
}

void MedicineEditor::fillFromDatabase(const Speciality &speciality)
{
    const QString whole = speciality.name.section(u',', 0, 0).trimmed();
    const QString name = stockName(speciality.name, RecordLayout::kName.width);
    m_name->setText(name);
    if (name != whole)
        Platform::message(QStringLiteral("Le nom « %1 » est raccourci à %2 caractères : « %3 ».")
                              .arg(whole)
                              .arg(RecordLayout::kName.width)
                              .arg(name),
                          QStringLiteral("Base des médicaments"), MsgIcon::Information);
    m_route->setEditText(valueListEntry(m_route, ValueList::Routes, speciality.routes.split(u';')));
    m_presentation->setEditText(valueListEntry(m_presentation, ValueList::Presentations, {speciality.form}));
}

QString MedicineEditor::valueListEntry(QComboBox *box, ValueList list, const QStringList &texts)
{
    for (const QString &text : texts) {
        const QString wanted = folded(text.trimmed());
        for (int i = 0; i < box->count(); ++i) {
            if (folded(box->itemText(i).trimmed()) == wanted)
                return box->itemText(i);
        }
    }
    QString text = texts.value(0).trimmed();
    if (text.isEmpty())
        return {};
    text[0] = text[0].toUpper(); // as the lists write their entries
    QString entry = shortenedAtWord(text, kValueListEntryLength);
    const QString question =
        QStringLiteral("« %1 » n'est pas dans %2.\r\n\r\n").arg(text, valueListLabel(list)) +
        (entry == text ? QStringLiteral("L'y ajouter ?")
                       : QStringLiteral("L'y ajouter sous la forme « %1 » (%2 caractères au plus) ?")
                             .arg(entry)
                             .arg(kValueListEntryLength));
    if (Platform::message(question, QStringLiteral("Base des médicaments"), MsgIcon::Question,
                          MsgButtons::YesNo) != MsgAnswer::Yes)
        return {};
    QString error;
    if (!appendToValueList(valueListFileName(list), entry, &error)) {
        Platform::showError(error);
        return {};
    }
    box->addItem(entry);
    return entry;
}

void MedicineEditor::offerNames(const QString &typed)
{
    constexpr qsizetype kShortest = 3;
    constexpr qsizetype kMostOffered = 50;
    const MedicinesDatabase *database =
        m_mode == EditorMode::Add && typed.trimmed().size() >= kShortest ? MedicinesCopy::current() : nullptr;
    m_offered = database ? database->completions(typed, kMostOffered) : QList<const Speciality *>();
    QStringList names;
    for (const Speciality *speciality : std::as_const(m_offered))
        names << speciality->name;
    m_offeredNames->setStringList(names);
    if (names.isEmpty())
        m_completer->popup()->hide();
    else
        m_completer->complete();
}

void MedicineEditor::nameChosen(int row)
{
    if (row < 0 || row >= m_offered.size())
        return;
    const Speciality *chosen = m_offered.at(row);
    // Once the list has closed and the entry box has the key that chose.
    QTimer::singleShot(0, this, [this, chosen] {
        fillFromDatabase(*chosen);
        m_quantity->setFocus(Qt::OtherFocusReason);
    });
}

void MedicineEditor::rememberScannedCode()
{
    if (m_scannedGtin.isEmpty())
        return;
    const MedicineRecord saved = parseRecord(composeRecord(
        m_name->text(), m_route->currentText(), m_presentation->currentText(), u"", u"", u"", u""));
    QString error;
    if (!rememberMedicine(m_scannedGtin, {saved.name, saved.route, saved.presentation, m_expiry->text()},
                          &error))
        Platform::showError(
            QStringLiteral("Le médicament est enregistré, mais le code de sa boîte n'a pas pu "
                           "être retenu.\r\n\r\n") +
            error);
}

void MedicineEditor::cancel()
{
    reject();
}

// Every way the editor closes (a save, Annuler, the close box) leaves no mode behind.
void MedicineEditor::done(int result)
{
    m_mode = EditorMode::None;
    QDialog::done(result);
}
