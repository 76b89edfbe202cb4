#include "FormMedic.h"

#include "Controles.h"
#include "core/platform/Today.h"
#include "core/scan/BoxCode.h"
#include "core/scan/ProductCodes.h"
#include "core/store/LineList.h"
#include "core/store/StockFile.h"
#include "core/store/TypedText.h"
#include "core/valuelists/ValueListFile.h"
#include "gui/platform/FocusVeto.h"
#include "gui/platform/KeyRules.h"
#include "gui/platform/MaskedDateBox.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/OneLineGuard.h"
#include "gui/platform/ScanDetector.h"
#include "gui/platform/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
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

FormMedic::FormMedic(LineList &list1, Added added, QWidget *parent)
    : QDialog(parent)
    , m_list1(list1)
    , m_added(std::move(added))
{
    ignoreEscape(this); // the window closes by its own buttons
    setObjectName(QStringLiteral("FormMedic"));
    setWindowTitle(QStringLiteral("Form1"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    buildControls();
    ScanDetector::acceptScans(this, [this](const QString &code) { boxScanned(code); });
}

FormMedic::~FormMedic() = default;

void FormMedic::buildControls()
{
    m_nom = new QLineEdit(QStringLiteral("Text1"), this);
    m_nom->setObjectName(QStringLiteral("nom"));
    m_nom->setMaxLength(int(Enreg::kNom.width));
    keepOnOneLine(m_nom);

    const auto combo = [this](const QString &name, const QString &text) {
        auto *box = new QComboBox(this);
        box->setObjectName(name);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr);
        box->setEditText(text);
        box->setMinimumContentsLength(16);
        box->setFocusPolicy(Qt::StrongFocus); // a wheel turn over it is no way in
        box->lineEdit()->installEventFilter(this);
        return box;
    };
    m_formemedic = combo(QStringLiteral("formemedic"), QStringLiteral("Combo1"));
    m_typemedic = combo(QStringLiteral("typemedic"), QStringLiteral("Combo2"));

    // Digits only, whether typed or pasted.
    auto *digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    const auto number = [this, digits](const QString &name) {
        auto *edit = new QLineEdit(QStringLiteral("Text1"), this);
        edit->setObjectName(name);
        edit->setMaxLength(int(Enreg::kQte.width)); // the threshold is as wide
        edit->setValidator(digits);
        keepOnOneLine(edit);
        edit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
        return edit;
    };
    m_qte = number(QStringLiteral("qte"));
    m_critique = number(QStringLiteral("critique"));

    m_dat = new MaskedDateBox(this);
    m_dat->setObjectName(QStringLiteral("dat"));
    m_dat->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);

    m_indispensable = new QCheckBox(QStringLiteral("Indispensable"), this);
    m_indispensable->setObjectName(QStringLiteral("indispensable"));

    m_valider =
        makePictureButton(QStringLiteral("valider"), QStringLiteral("Valider"), Picture::Validate, this);
    m_annuler =
        makePictureButton(QStringLiteral("Annuler"), QStringLiteral("Annuler"), Picture::Cancel, this);
    connect(m_valider, &QToolButton::clicked, this, [this] { valider_Click(); });
    connect(m_annuler, &QToolButton::clicked, this, [this] { Annuler_Click(); });

    auto *grid = new QGridLayout(this);
    grid->addWidget(label(QStringLiteral("Label1"), QStringLiteral("Médicament"), m_nom, this), 0, 0);
    grid->addWidget(m_nom, 0, 1, 1, 3);
    grid->addWidget(
        label(QStringLiteral("Label2"), QStringLiteral("Voie d'administration"), m_formemedic, this), 1, 0);
    grid->addWidget(m_formemedic, 1, 1);
    grid->addWidget(label(QStringLiteral("Label3"), QStringLiteral("Présentation"), m_typemedic, this), 1, 2);
    grid->addWidget(m_typemedic, 1, 3);
    grid->addWidget(label(QStringLiteral("Label4"), QStringLiteral("Quantité"), m_qte, this), 2, 0);
    grid->addWidget(m_qte, 2, 1, Qt::AlignLeft);
    grid->addWidget(label(QStringLiteral("Date"), QStringLiteral("Date limite"), m_dat, this), 2, 2);
    grid->addWidget(m_dat, 2, 3, Qt::AlignLeft);
    grid->addWidget(label(QStringLiteral("Label5"), QStringLiteral("Seuil critique"), m_critique, this), 3,
                    0);
    auto *thresholdRow = new QHBoxLayout;
    thresholdRow->addWidget(m_critique);
    thresholdRow->addSpacing(12);
    thresholdRow->addWidget(m_indispensable);
    thresholdRow->addStretch();
    grid->addLayout(thresholdRow, 3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_valider);
    buttons->addWidget(m_annuler);
    grid->addLayout(buttons, 3, 2, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    QWidget *order[] = {m_nom, m_formemedic, m_typemedic, m_qte,          m_critique,
                        m_dat, m_valider,    m_annuler,   m_indispensable};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QWidget *w : {static_cast<QWidget *>(m_nom), static_cast<QWidget *>(m_formemedic),
                       static_cast<QWidget *>(m_typemedic), static_cast<QWidget *>(m_qte),
                       static_cast<QWidget *>(m_critique), static_cast<QWidget *>(m_dat)})
        w->installEventFilter(this);

    // The date must be accepted before the focus may leave its box.
    new FocusVeto(m_dat, [this] { return dat_Validate(); });
}

void FormMedic::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        Form_Activate();
    }
}

void FormMedic::Form_Activate()
{
    setWindowTitle(QStringLiteral("Description du médicament"));
    std::optional<Field> focus;
    if (m_mode == EditorMode::Add) {
        miseazero();
        combos();
        m_indispensable->setEnabled(true);
        focus = Field::Nom;
    } else if (m_mode == EditorMode::Change) {
        combos();
        affenreg();
        m_indispensable->setEnabled(true);
        focus = Field::Nom;
    } else if (m_mode == EditorMode::Renew) {
        combos();
        affenreg();
        m_indispensable->setEnabled(false);
        focus = Field::Dat;
    } else if (m_mode == EditorMode::Quantity) {
        combos();
        affenreg();
        m_indispensable->setEnabled(false);
        focus = Field::Qte;
    }
    if (!focus)
        return;
    // The window is not active yet: the field's first focus arrives with the window's
    // activation, and counts as entering the field.
    m_firstEntry = fieldWidget(*focus);
    m_firstEntry->setFocus(Qt::OtherFocusReason);
}

QWidget *FormMedic::fieldWidget(Field field) const
{
    switch (field) {
    case Field::Nom:
        return m_nom;
    case Field::Formemedic:
        return m_formemedic;
    case Field::Typemedic:
        return m_typemedic;
    case Field::Qte:
        return m_qte;
    case Field::Critique:
        return m_critique;
    case Field::Dat:
        return m_dat;
    }
    return nullptr;
}

void FormMedic::miseazero()
{
    m_nom->setText(QString());
    m_typemedic->setEditText(QString());
    m_formemedic->setEditText(QString());
    m_qte->setText(QString());
    m_dat->setText(QString());
    m_critique->setText(QString());
}

void FormMedic::combos()
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
    fill(m_formemedic, kRoutesFileName);
    fill(m_typemedic, kPresentationsFileName);
}

void FormMedic::affenreg()
{
    if (!m_list1.hasCurrent())
        return;
    const EnregMedic e = decompose_enreg(m_list1.currentLine());
    m_nom->setText(e.nom);
    m_formemedic->setEditText(e.formemedic);
    m_typemedic->setEditText(e.typemedic);
    m_qte->setText(e.qte);
    m_dat->setText(e.dat);
    m_critique->setText(e.critique);
    m_indispensable->setChecked(valeur_nombre(e.indispensable) == 1);
}

bool FormMedic::locked(Field field) const
{
    switch (field) {
    case Field::Nom:
    case Field::Formemedic:
    case Field::Typemedic:
        return m_mode == EditorMode::Quantity || m_mode == EditorMode::Renew;
    case Field::Qte:
        return false;
    case Field::Critique:
    case Field::Dat:
        return m_mode == EditorMode::Quantity;
    }
    return false;
}

bool FormMedic::KeyPress(Field field, QWidget *widget, QKeyEvent *event)
{
    const bool character = typesCharacter(event);
    const bool changesText = character || isEnter(event) || isEditingKey(event);
    // A combo box's entry is chosen from its open list only, never stepped to closed.
    if ((field == Field::Formemedic || field == Field::Typemedic) && KeyRules::stepsThroughList(event))
        return true;
    if (locked(field))
        return changesText; // Enter included: it does nothing here
    if (isEnter(event)) {
        sendTab(widget);
        return true;
    }
    switch (field) {
    case Field::Nom:
        return false;
    case Field::Formemedic:
    case Field::Typemedic:
        // Nothing typed into it.
        return changesText;
    case Field::Qte:
    case Field::Critique:
    case Field::Dat:
        return character && !isDigit(event->text());
    }
    return false;
}

void FormMedic::GotFocus(Field field)
{
    if (field == Field::Dat)
        m_dat->setMask(QStringLiteral("##/##/####"));
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

void FormMedic::dat_LostFocus()
{
    m_dat->setMask(QString());
}

bool FormMedic::dat_Validate()
{
    // A date the mode does not let the user change is left as it was stored.
    if (locked(Field::Dat))
        return true;
    if (verif_date(m_dat->maskedText()) == Check::Passed)
        return true;
    m_dat->setFocus(Qt::OtherFocusReason);
    m_dat->selectAll();
    return false;
}

QString FormMedic::dateText() const
{
    if (!m_dat->hasMask())
        return m_dat->text();
    const QString shown = m_dat->maskedText();
    return shown == QLatin1String("__/__/____") ? QString() : m_dat->text();
}

bool FormMedic::eventFilter(QObject *watched, QEvent *event)
{
    // An editable combo box has the focus itself and hands keys and menus to its entry
    // box directly; mouse presses and drops reach the entry box.
    QWidget *widget = nullptr;
    QLineEdit *edit = nullptr;
    Field field = Field::Nom;
    if (watched == m_nom)
        widget = edit = m_nom, field = Field::Nom;
    else if (watched == m_formemedic || watched == m_formemedic->lineEdit())
        widget = m_formemedic, edit = m_formemedic->lineEdit(), field = Field::Formemedic;
    else if (watched == m_typemedic || watched == m_typemedic->lineEdit())
        widget = m_typemedic, edit = m_typemedic->lineEdit(), field = Field::Typemedic;
    else if (watched == m_qte)
        widget = edit = m_qte, field = Field::Qte;
    else if (watched == m_critique)
        widget = edit = m_critique, field = Field::Critique;
    else if (watched == m_dat)
        widget = edit = m_dat, field = Field::Dat;
    else
        return QDialog::eventFilter(watched, event);

    const bool onWidget = watched == widget;
    // No text may be changed but by the key rules: combo boxes never, locked fields never.
    const bool noEditing = field == Field::Formemedic || field == Field::Typemedic || locked(field);

    switch (event->type()) {
    case QEvent::KeyPress:
        return onWidget && KeyPress(field, widget, static_cast<QKeyEvent *>(event));
    case QEvent::FocusIn: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        const bool entering = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (onWidget && (entering || m_firstEntry == widget))
            GotFocus(field);
        if (onWidget && isActiveWindow())
            m_firstEntry = nullptr;
        return false;
    }
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (field == Field::Dat && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            dat_LostFocus();
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
        return field == Field::Formemedic || field == Field::Typemedic;
    case QEvent::MouseButtonRelease:
        // The middle button pastes the selection on some desktops.
        return noEditing && static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
}

void FormMedic::valider_Click()
{
    if (Enreg::trimBlanks(m_nom->text()).isEmpty()) {
        Platform::message(QStringLiteral("Aucun nom de médicament saisi !"), QStringLiteral("Erreur"),
                          MsgIcon::Exclamation);
        m_nom->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Text from a file edited by hand may hold what a line of the stock file cannot.
    // The focus goes back to the field that holds it.
    for (const auto &[what, text, where] :
         {std::tuple<QString, QString, QWidget *>{QStringLiteral("Le nom"), m_nom->text(), m_nom},
          {QStringLiteral("La voie d'administration"), m_formemedic->currentText(), m_formemedic},
          {QStringLiteral("La présentation"), m_typemedic->currentText(), m_typemedic}}) {
        const QString refused = TypedText::refusal(what, text);
        if (!refused.isEmpty()) {
            Platform::showError(refused + QStringLiteral("\r\n\r\nLe médicament n'est pas enregistré."));
            where->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    const QString line =
        compose_enreg(m_nom->text(), m_formemedic->currentText(), m_typemedic->currentText(), m_qte->text(),
                      dateText(), m_critique->text(), m_indispensable->isChecked() ? u"1" : u"0");
    QString error;
    if (m_mode == EditorMode::Add) {
        if (!ajoute_pharmacie(line, &error)) {
            Platform::showError(error);
            m_nom->setFocus(Qt::OtherFocusReason);
            return;
        }
        m_list1.append(line);
        if (m_added)
            m_added(m_list1.count() - 1);
        rememberScannedCode();
        accept();
        return;
    }
    if (!m_list1.hasCurrent())
        return;
    const QString former = m_list1.currentLine();
    m_list1.replaceCurrent(line);
    if (!ecrit_pharmacie(m_list1.lines(), &error)) {
        m_list1.replaceCurrent(former);
        Platform::showError(error);
        m_nom->setFocus(Qt::OtherFocusReason);
        return;
    }
    rememberScannedCode();
    accept();
}

void FormMedic::boxScanned(const QString &code)
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
            m_nom->setText(medicine->nom);
            m_formemedic->setEditText(medicine->formemedic);
            m_typemedic->setEditText(medicine->typemedic);
            known = true;
        } else if (!error.isEmpty()) {
            Platform::showError(error);
        }
    }
    // The date as if typed, and checked as a typed one.
    m_dat->setText(reading.code->expiry.toString(QStringLiteral("dd/MM/yyyy")));
    if (verif_date(m_dat->maskedText()) != Check::Passed)
        return;
    // A renewal is then all but done: the quantity is what is left to type.
    if (m_mode == EditorMode::Renew || known)
        m_qte->setFocus(Qt::OtherFocusReason);
}

void FormMedic::rememberScannedCode()
{
    if (m_scannedGtin.isEmpty())
        return;
    const EnregMedic saved = decompose_enreg(compose_enreg(m_nom->text(), m_formemedic->currentText(),
                                                           m_typemedic->currentText(), u"", u"", u"", u""));
    QString error;
    if (!rememberMedicine(m_scannedGtin, {saved.nom, saved.formemedic, saved.typemedic, dateText()}, &error))
        Platform::showError(
            QStringLiteral("Le médicament est enregistré, mais le code de sa boîte n'a pas pu "
                           "être retenu.\r\n\r\n") +
            error);
}

void FormMedic::Annuler_Click()
{
    reject();
}

// Every way the editor closes (a save, Annuler, the close box) leaves no mode behind.
void FormMedic::done(int result)
{
    m_mode = EditorMode::None;
    QDialog::done(result);
}
