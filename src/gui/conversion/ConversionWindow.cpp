#include "ConversionWindow.h"

#include "core/conversion/FieldMap.h"
#include "core/conversion/StockConversion.h"
#include "core/files/TypedText.h"
#include "core/platform/ProgramDirectory.h"
#include "core/stock/Numbers.h"
#include "gui/platform/KeyRules.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/OneLineGuard.h"
#include "gui/platform/TextPrompt.h"
#include "gui/platform/Widgets.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include <limits>

namespace {

// More fields than this are not a stock layout but a typing slip.
constexpr int kMostFields = 255;

const QString kCancelled = QStringLiteral("La conversion est annulée !");

QString number(double value)
{
    return QString::number(value, 'g', 12);
}

} // namespace

ConversionWindow::ConversionWindow(QWidget *parent)
    : QDialog(parent)
{
    setUpFixedWindow(this, QStringLiteral("conversionWindow")); // it closes by its own buttons

    auto *digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    const auto countBox = [this, digits](const QString &frameName, const QString &frameCaption,
                                         const QString &labelName, const QString &boxName, QLineEdit **box) {
        auto *frame = new QGroupBox(frameCaption, this);
        frame->setObjectName(frameName);
        auto *label = new QLabel(QStringLiteral("Nombre de champs:"), frame);
        label->setObjectName(labelName);
        *box = new QLineEdit(frame);
        (*box)->setObjectName(boxName);
        (*box)->setValidator(digits);
        (*box)->setMaxLength(5);
        keepOnOneLine(*box);
        (*box)->installEventFilter(this);
        label->setBuddy(*box);
        (*box)->setAccessibleName(frameCaption + QStringLiteral(" - Nombre de champs"));
        auto *layout = new QGridLayout(frame);
        layout->addWidget(label, 0, 0);
        layout->addWidget(*box, 0, 1);
        return frame;
    };
    QGroupBox *oldCounts =
        countBox(QStringLiteral("oldLayoutFrame"), QStringLiteral("Ancienne Base de données"),
                 QStringLiteral("oldCountLabel"), QStringLiteral("oldFieldCount"), &m_oldCount);
    QGroupBox *newCounts =
        countBox(QStringLiteral("newLayoutFrame"), QStringLiteral("Nouvelle Base de données"),
                 QStringLiteral("newCountLabel"), QStringLiteral("newFieldCount"), &m_newCount);

    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("information"));
    QFont bold = m_info->font();
    bold.setBold(true);
    m_info->setFont(bold);
    m_info->setTextFormat(Qt::PlainText);
    m_info->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_save = makePictureButton(QStringLiteral("convert"), QStringLiteral("Convertir"), Picture::Renew, this);
    m_close = makePictureButton(QStringLiteral("close"), QStringLiteral("Fermer"), Picture::Close, this);
    connect(m_save, &QToolButton::clicked, this, [this] { save(); });
    connect(m_close, &QToolButton::clicked, this, [this] { close_(); });

    auto *grid = new QGridLayout(this);
    grid->addWidget(oldCounts, 0, 0);
    grid->addWidget(newCounts, 0, 1);
    grid->addWidget(m_info, 1, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_oldCount, m_newCount);
    setTabOrder(m_newCount, m_save);
    setTabOrder(m_save, m_close);
    load();
}

void ConversionWindow::load()
{
    setWindowTitle(QStringLiteral("Conversion d'une base de données"));
    m_info->setText(QStringLiteral("Chemin de la base de données actuelle: \n") +
                    QDir::toNativeSeparators(Platform::programDirectory()));
    m_oldCount->clear();
    m_newCount->clear();
    m_oldCount->setFocus();
}

bool ConversionWindow::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (!box || (box != m_oldCount && box != m_newCount))
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        // Whole text selected on entry, once the click that brought the focus is over.
        box->selectAll();
        QTimer::singleShot(0, box, [box] {
            if (box->hasFocus())
                box->selectAll();
        });
    } else if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (KeyRules::isEnter(key)) {
            sendTab(box);
            return true;
        }
        const QString text = key->text();
        // Digits and Backspace only; the validator keeps pasted text to digits too.
        return KeyRules::typesCharacter(key) &&
               !(text.size() == 1 && text.at(0).isDigit() && text.at(0).unicode() <= '9');
    }
    return QDialog::eventFilter(watched, event);
}

ConversionWindow::Answer ConversionWindow::ask(const QString &prompt, const QString &title)
{
    // "&Annuler" leaves the text typed: the conversion goes on with it when the user does
    // not abandon.
    QString left;
    const std::optional<QString> typed = TextPrompt::ask({title, prompt, {}, 0}, &left);
    return {!typed, typed.value_or(left)};
}

bool ConversionWindow::confirmsAbandon()
{
    return Platform::message(QStringLiteral("La conversion dans sa totalité va être annulée ! Confirmer ?"),
                             QStringLiteral("Attention !!!"), MsgIcon::Exclamation,
                             MsgButtons::YesNo) == MsgAnswer::Yes;
}

void ConversionWindow::refuse(const QString &why)
{
    Platform::showError(why + QStringLiteral("\r\n\r\n") + kCancelled +
                        QStringLiteral("\r\nLe fichier Pharmacie.dat n'a pas été modifié."));
}

void ConversionWindow::save()
{
    // The counts first: every answer is checked before any file is opened.
    const std::optional<short> nOld = toInt16(numericValue(m_oldCount->text()));
    const std::optional<short> nNew = toInt16(numericValue(m_newCount->text()));
    if (!nOld || *nOld < 1 || *nOld > kMostFields) {
        refuse(
            QStringLiteral("Ancienne Base de données : le nombre de champs doit être compris entre 1 et %1.")
                .arg(kMostFields));
        return;
    }
    if (!nNew || *nNew > kMostFields) {
        refuse(
            QStringLiteral("Nouvelle Base de données : le nombre de champs doit être compris entre 0 et %1.")
                .arg(kMostFields));
        return;
    }
    const auto sixteenBits = [](double value) {
        return toInt16(value).has_value();
    };

    // Old fields: where each starts and how long it is.
    QList<OldField> fields(*nOld);
    QStringList titles;
    for (int i = 1; i <= *nOld; ++i) {
        const QString title = QStringLiteral("Champ N°%1").arg(i);
        titles << title;
        const Answer a = ask(QStringLiteral("Syntaxe: [Depart:Longueur]"), title);
        if (a.cancelled && confirmsAbandon())
            return;
        if (!verif_saisie(a.text)) {
            Platform::showError(kCancelled);
            return;
        }
        const StartLength sl = *readStartLength(a.text);
        if (!sixteenBits(sl.start) || !sixteenBits(sl.length)) {
            refuse(QStringLiteral("%1 : « %2 » dépasse les nombres admis (%3 au plus).")
                       .arg(title, a.text)
                       .arg(std::numeric_limits<short>::max()));
            return;
        }
        OldField &f = fields[i - 1];
        f.start = *toInt16(sl.start);
        f.length = *toInt16(sl.length);
        if (f.start < 1) {
            refuse(QStringLiteral("%1 : le départ (%2) doit être au moins 1.").arg(title).arg(f.start));
            return;
        }
        if (f.length < 0) {
            refuse(
                QStringLiteral("%1 : la longueur (%2) ne peut pas être négative.").arg(title).arg(f.length));
            return;
        }
    }

    // Their new widths.
    for (int i = 1; i <= *nOld; ++i) {
        const QString title = QStringLiteral("Nouveau Champ N°%1").arg(i);
        const Answer a = ask(QStringLiteral("Syntaxe: [Longueur]"), title);
        if (a.cancelled && confirmsAbandon())
            return;
        const double width = numericValue(a.text);
        if (!sixteenBits(width)) {
            refuse(QStringLiteral("%1 : la longueur %2 dépasse les nombres admis (%3 au plus).")
                       .arg(title, number(width))
                       .arg(std::numeric_limits<short>::max()));
            return;
        }
        fields[i - 1].newLength = *toInt16(width);
        if (fields[i - 1].newLength < 0) {
            refuse(QStringLiteral("%1 : la longueur (%2) ne peut pas être négative.")
                       .arg(title)
                       .arg(fields[i - 1].newLength));
            return;
        }
    }

    // Before any file is written: the old file, read once, must fit the new widths.
    StockConversion conversion;
    QString error;
    if (!conversion.readOld(&error)) {
        refuse(error);
        return;
    }
    const QString misfit = conversion.checkFit(fields, titles);
    if (!misfit.isEmpty()) {
        refuse(misfit);
        return;
    }

    // The added fields, asked too before any file is written, so that a refused answer
    // leaves nothing behind; Annuler no longer abandons.
    QList<AddedField> added;
    for (int j = 1; j <= *nNew - *nOld; ++j) {
        const QString lengthTitle = QStringLiteral("Ajout d'un champ vide - N°%1").arg(*nOld + j);
        const double length = numericValue(ask(QStringLiteral("Longueur: [Longueur]"), lengthTitle).text);
        if (!sixteenBits(length) || *toInt16(length) < 0) {
            refuse(QStringLiteral("%1 : la longueur %2 doit être comprise entre 0 et %3.")
                       .arg(lengthTitle, number(length))
                       .arg(std::numeric_limits<short>::max()));
            return;
        }
        const short width = *toInt16(length);
        // The default's question numbers the added fields from 1: its refusals say the same.
        const QString valueTitle = QStringLiteral("Ajout d'un champ vide - N°%1").arg(j);
        const QString value = ask(QStringLiteral("Valeur par défaut: [Valeur]"), valueTitle).text;
        const QString refused =
            TypedText::refusal(QStringLiteral("%1 : la valeur par défaut").arg(valueTitle), value);
        if (!refused.isEmpty()) {
            refuse(refused);
            return;
        }
        if (value.size() > width) {
            refuse(QStringLiteral(
                       "%1 : la valeur par défaut « %2 » (%3 caractères) est plus longue que le champ (%4).")
                       .arg(valueTitle, value)
                       .arg(value.size())
                       .arg(width));
            return;
        }
        added.append({width, value});
    }

    const auto failed = [this](const QString &why) {
        Platform::showError(QStringLiteral("La conversion a échoué :\r\n") + why +
                            QStringLiteral("\r\n\r\nLe fichier Pharmacie.dat n'a pas été modifié."));
    };
    if (!conversion.pass1(fields, &error) || !conversion.openPass2(&error)) {
        failed(error);
        return;
    }

    if (!conversion.pass2(addedSuffix(added), &error) || !conversion.replace(&error)) {
        failed(error);
        return;
    }
    Platform::message(QStringLiteral("Conversion réalisée avec succès !"), QStringLiteral("Information"),
                      MsgIcon::Information);
}

void ConversionWindow::close_()
{
    accept();
}
