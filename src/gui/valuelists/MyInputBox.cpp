#include "MyInputBox.h"

#include "gui/platform/OneLineGuard.h"
#include "gui/platform/Widgets.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QTimer>
#include <QValidator>

#include <algorithm>
#include <utility>

namespace {

InputBoxAnswers *g_answers = nullptr;

// Geometry in twips: the window is 5355 wide and 2355 high; the prompt takes 1215 in
// height before it pushes the entry box down.
constexpr int kWidth = 5355;
constexpr int kHeight = 2355;
constexpr int kPromptHeight = 1215;
constexpr int kEntryTop = 1500;

// Masked entries show "*" for every character, whatever the style would draw.
class StarPasswordStyle final : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// The typing limit of one use: text may grow up to it, or shrink from beyond it; what a
// paste or a drop would bring past it is left out, as a text box's maximum length does.
class TypingLimit final : public QValidator
{
public:
    TypingLimit(const int *limit, QLineEdit *edit)
        : QValidator(edit)
        , m_limit(limit)
    {
        // The text as it stood before the change being judged.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { m_before = text.size(); });
    }
    State validate(QString &input, int &pos) const override
    {
        const qsizetype allowed = std::max<qsizetype>(*m_limit, m_before);
        if (*m_limit > 0 && input.size() > allowed) {
            const qsizetype excess = input.size() - allowed;
            const qsizetype cut = std::max<qsizetype>(0, pos - excess);
            input.remove(cut, pos - cut);
            pos = int(cut);
        }
        return Acceptable;
    }

private:
    const int *m_limit;
    qsizetype m_before = 0;
};

} // namespace

MyInputBox &MyInputBox::instance()
{
    // Created on first use and kept for the whole run (a reachable pointer, never a
    // dangling one: the program deletes it as it quits).
    static QPointer<MyInputBox> box;
    if (!box) {
        box = new MyInputBox;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, box, &QObject::deleteLater);
    }
    return *box;
}

MyInputBox::MyInputBox()
{
    setObjectName(QStringLiteral("MyInputBox"));
    setWindowTitle(QStringLiteral("InputBox"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);

    m_lblPrompt = new QLabel(this);
    m_lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    m_lblPrompt->setWordWrap(true);
    m_lblPrompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblPrompt->setTextFormat(Qt::PlainText);

    m_txtInput = new QLineEdit(this);
    m_txtInput->setObjectName(QStringLiteral("txtInput"));
    keepOnOneLine(m_txtInput);
    m_txtInput->setValidator(new TypingLimit(&m_limitInUse, m_txtInput));
    m_txtInput->setStyle(new StarPasswordStyle);
    m_txtInput->style()->setParent(m_txtInput);
    m_lblPrompt->setBuddy(m_txtInput);

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdButton"));
    m_ok->setProperty("index", 0);
    m_ok->setDefault(true); // Enter presses it
    m_annuler = new QPushButton(QStringLiteral("&Annuler"), this);
    m_annuler->setObjectName(QStringLiteral("cmdButton"));
    m_annuler->setProperty("index", 1);
    // The focused button is the one Enter presses; elsewhere Enter is "&OK".
    m_annuler->setAutoDefault(true);
    connect(m_ok, &QPushButton::clicked, this, [this] { cmdButton_Click(0); });
    connect(m_annuler, &QPushButton::clicked, this, [this] { cmdButton_Click(1); });

    m_lblPrompt->setGeometry(twips(120), twips(120), twips(4095), twips(kPromptHeight));
    m_ok->setGeometry(twips(4300), twips(80), twips(910), twips(615));
    m_annuler->setGeometry(twips(4300), twips(760), twips(910), twips(615));
    setTabOrder(m_txtInput, m_ok);
    setTabOrder(m_ok, m_annuler);
}

void MyInputBox::setAnswers(InputBoxAnswers *answers)
{
    g_answers = answers;
}

void MyInputBox::Display()
{
    if (g_answers) {
        Form_Activate();
        g_answers->answer(*this);
        return;
    }
    exec();
}

void MyInputBox::showEvent(QShowEvent *event)
{
    Form_Activate();
    QDialog::showEvent(event);
    // Selecting once the window is up: a selection made before it is shown does not
    // survive the focus arriving.
    QTimer::singleShot(0, this, [this] {
        m_txtInput->setFocus(Qt::OtherFocusReason);
        m_txtInput->selectAll();
    });
}

void MyInputBox::Form_Activate()
{
    int height = twips(kHeight);
    int entryTop = twips(kEntryTop);
    const int promptHeight = twips(kPromptHeight);

    m_txtInput->setEchoMode(m_passwordProtect ? QLineEdit::Password : QLineEdit::Normal);
    m_lblPrompt->setText(m_prompt);
    m_txtInput->setAccessibleName(m_prompt);
    setWindowTitle(m_title);
    m_limitInUse = 0;
    m_txtInput->setText(m_default);
    m_limitInUse = std::exchange(m_typingLimit, 0); // for this use only

    // The label keeps its width and takes the height its wrapped text needs; a prompt
    // taller than its place pushes the entry box and the bottom of the window down.
    const int needed = m_lblPrompt->heightForWidth(twips(4095));
    const int labelHeight = std::max(promptHeight, needed);
    m_lblPrompt->setGeometry(twips(120), twips(120), twips(4095), labelHeight);
    if (labelHeight > promptHeight) {
        height += labelHeight - promptHeight;
        entryTop += labelHeight - promptHeight;
    }
    const int entryHeight = std::max(twips(285), m_txtInput->sizeHint().height());
    m_txtInput->setGeometry(twips(120), entryTop, twips(5090), entryHeight);
    setFixedSize(twips(kWidth), std::max(height, entryTop + entryHeight + twips(120)));

    m_txtInput->setFocus(Qt::OtherFocusReason);
    m_txtInput->selectAll();
}

void MyInputBox::cmdButton_Click(int index)
{
    m_buttonClicked = index == 0 ? 1 : 2;
    QDialog::done(m_buttonClicked == 1 ? Accepted : Rejected); // hides the box, ending Display
}

// Escape and the window's close box: the same as "&Annuler".
void MyInputBox::reject()
{
    cmdButton_Click(1);
}
