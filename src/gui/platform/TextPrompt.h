#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class TextPrompt;

// What the input box asks: its title, its prompt, the text it starts with, and how many
// characters may be typed (0: no limit; a longer starting text is shown whole and may be
// shortened, never lengthened).
struct TextRequest
{
    QString title;
    QString prompt;
    QString defaultText;
    int typingLimit = 0;
};

// Where the box's answers come from when no one is there to type them: a test installs
// one, and `ask` then hands it the box, ready, instead of showing it.
class TextPromptAnswers
{
public:
    virtual ~TextPromptAnswers() = default;
    // Types into box.entry() and presses one of its buttons.
    virtual void answer(TextPrompt &box) = 0;
};

// The program's box for asking one line of text: a prompt, an entry box, "&OK" and
// "&Annuler". Each question is a box of its own.
class TextPrompt final : public QDialog
{
    Q_OBJECT

public:
    enum class Button
    {
        Ok,
        Cancel
    };

    // Shows the box modally: the text typed, or nothing when "&Annuler", Escape or the close
    // box ended it; `leftTyped` then receives what stood in the entry box all the same.
    static std::optional<QString> ask(const TextRequest &request, QString *leftTyped = nullptr);

    explicit TextPrompt(const TextRequest &request, QWidget *parent = nullptr);

    QLineEdit *entry() const { return m_entry; }
    void press(Button button);

    // The seam: nullptr shows the box to the user.
    static void setAnswers(TextPromptAnswers *answers);

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    int m_typingLimit = 0;
    QLabel *m_prompt = nullptr;
    QLineEdit *m_entry = nullptr;
};
