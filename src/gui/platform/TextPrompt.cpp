#include "TextPrompt.h"

#include "OneLineGuard.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QValidator>

#include <algorithm>

namespace {

TextPromptAnswers *g_answers = nullptr;

// The box's layout, in pixels: the prompt takes 81 in height before it pushes the entry box
// down.
constexpr int kWidth = 357;
constexpr int kHeight = 157;
constexpr int kMargin = 8;
constexpr int kPromptWidth = 273;
constexpr int kPromptHeight = 81;
constexpr int kEntryTop = 100;
constexpr int kEntryWidth = 339;
constexpr int kEntryHeight = 19;
constexpr int kButtonLeft = 287;
constexpr QSize kButton(61, 41);

// The typing limit: text may grow up to it, or shrink from beyond it; what a paste or a
// drop would bring past it is left out, as a text box's maximum length does.
class TypingLimit final : public QValidator
{
public:
    TypingLimit(int limit, QLineEdit *edit)
        : QValidator(edit)
        , m_limit(limit)
        , m_before(edit->text().size())
    {
        // The text as it stood before the change being judged.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { m_before = text.size(); });
    }
    State validate(QString &input, int &pos) const override
    {
        const qsizetype allowed = std::max<qsizetype>(m_limit, m_before);
        if (m_limit > 0 && input.size() > allowed) {
            const qsizetype excess = input.size() - allowed;
            const qsizetype cut = std::max<qsizetype>(0, pos - excess);
            input.remove(cut, pos - cut);
            pos = int(cut);
        }
        return Acceptable;
    }

private:
    int m_limit;
    qsizetype m_before;
};

} // namespace

TextPrompt::TextPrompt(const TextRequest &request, QWidget *parent)
    : QDialog(parent)
    , m_typingLimit(request.typingLimit)
{
    setObjectName(QStringLiteral("textPrompt"));
    setWindowTitle(request.title);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);

    m_prompt = new QLabel(request.prompt, this);
    m_prompt->setObjectName(QStringLiteral("prompt"));
    m_prompt->setWordWrap(true);
    m_prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_prompt->setTextFormat(Qt::PlainText);

    m_entry = new QLineEdit(request.defaultText, this);
    m_entry->setObjectName(QStringLiteral("entry"));
    m_entry->setAccessibleName(request.prompt);
    keepOnOneLine(m_entry);
    m_entry->setValidator(new TypingLimit(m_typingLimit, m_entry));
    m_prompt->setBuddy(m_entry);

    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true); // Enter presses it
    auto *cancel = new QPushButton(QStringLiteral("&Annuler"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    // The focused button is the one Enter presses; elsewhere Enter is "&OK".
    cancel->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { press(Button::Ok); });
    connect(cancel, &QPushButton::clicked, this, [this] { press(Button::Cancel); });
    ok->setGeometry(QRect(QPoint(kButtonLeft, 5), kButton));
    cancel->setGeometry(QRect(QPoint(kButtonLeft, 51), kButton));
    setTabOrder(m_entry, ok);
    setTabOrder(ok, cancel);

    // The label keeps its width and takes the height its wrapped text needs; a prompt
    // taller than its place pushes the entry box and the bottom of the window down.
    const int promptHeight = std::max(kPromptHeight, m_prompt->heightForWidth(kPromptWidth));
    m_prompt->setGeometry(kMargin, kMargin, kPromptWidth, promptHeight);
    const int entryTop = kEntryTop + promptHeight - kPromptHeight;
    const int entryHeight = std::max(kEntryHeight, m_entry->sizeHint().height());
    m_entry->setGeometry(kMargin, entryTop, kEntryWidth, entryHeight);
    setFixedSize(kWidth, std::max(kHeight + promptHeight - kPromptHeight, entryTop + entryHeight + kMargin));
    m_entry->setFocus(Qt::OtherFocusReason);
    m_entry->selectAll();
}

std::optional<QString> TextPrompt::ask(const TextRequest &request, QString *leftTyped)
{
    TextPrompt box(request);
    if (g_answers)
        g_answers->answer(box);
    else
        box.exec();
    if (box.result() == Accepted)
        return box.entry()->text();
    if (leftTyped)
        *leftTyped = box.entry()->text();
    return std::nullopt;
}

void TextPrompt::setAnswers(TextPromptAnswers *answers)
{
    g_answers = answers;
}

void TextPrompt::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Selecting once the window is up: a selection made before it is shown does not
    // survive the focus arriving.
    QTimer::singleShot(0, this, [this] {
        m_entry->setFocus(Qt::OtherFocusReason);
        m_entry->selectAll();
    });
}

void TextPrompt::press(Button button)
{
    QDialog::done(button == Button::Ok ? Accepted : Rejected);
}

// Escape and the window's close box: the same as "&Annuler".
void TextPrompt::reject()
{
    press(Button::Cancel);
}
