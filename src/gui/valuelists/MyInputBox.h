#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class MyInputBox;

// Where the box's answers come from when no one is there to type them: a test installs
// one, and `Display` then hands it the prepared box instead of showing it.
class InputBoxAnswers
{
public:
    virtual ~InputBoxAnswers() = default;
    // Types into box.txtInput() and presses a button with box.cmdButton_Click.
    virtual void answer(MyInputBox &box) = 0;
};

// The program's box for asking one line of text: a prompt, an entry box, "&OK" and
// "&Annuler". There is one box for the whole run; a button hides it, so that the caller
// reads its state after `Display` returns. Every setting but the typing limit stays from one
// use to the next.
class MyInputBox final : public QDialog
{
    Q_OBJECT

public:
    static MyInputBox &instance();

    // Shows the box modally; returns once a button (or the window's close box, which
    // counts as "&Annuler") has hidden it.
    void Display();

    // 1 for "&OK", 2 for "&Annuler"; 0 before the first answer.
    short ButtonClicked() const { return m_buttonClicked; }
    void setPasswordProtect(bool on) { m_passwordProtect = on; }
    QString Prompt() const { return m_prompt; }
    void setPrompt(const QString &prompt) { m_prompt = prompt; }
    QString Title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    QString Default() const { return m_default; }
    void setDefault(const QString &text) { m_default = text; }
    // How many characters may be typed, for the next use only (0: no limit). A longer
    // default is shown whole and may be shortened, never lengthened.
    void setTypingLimit(int characters) { m_typingLimit = characters; }

    QLineEdit *txtInput() const { return m_txtInput; }

    // Button 0 is "&OK", button 1 "&Annuler".
    void cmdButton_Click(int index);

    // The seam: nullptr shows the box to the user.
    static void setAnswers(InputBoxAnswers *answers);

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    MyInputBox();
    void Form_Activate();

    short m_buttonClicked = 0;
    bool m_passwordProtect = false;
    QString m_prompt;
    QString m_title;
    QString m_default;
    int m_typingLimit = 0;
    int m_limitInUse = 0;
    QLabel *m_lblPrompt = nullptr;
    QLineEdit *m_txtInput = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_annuler = nullptr;
};
