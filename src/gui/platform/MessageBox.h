#pragma once

#include <QString>

// Every message and question the program shows goes through this seam, so that tests can
// answer them and read back what was shown.

enum class MsgIcon
{
    Exclamation,
    Question,
    Information,
    Critical
};
enum class MsgButtons
{
    Ok,
    YesNo
};
enum class MsgAnswer
{
    Ok,
    Yes,
    No
};

struct MessageRequest
{
    QString text; // line breaks as the program writes them (CR LF, or LF CR)
    QString title;
    MsgIcon icon = MsgIcon::Information;
    MsgButtons buttons = MsgButtons::Ok;
};

class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual MsgAnswer ask(const MessageRequest &request) = 0;
};

// Modal message boxes of the platform, in French, over the window the user is working in.
class QtMessageBoxes final : public MessageBoxes
{
public:
    MsgAnswer ask(const MessageRequest &request) override;
};

namespace Platform {

MsgAnswer message(const QString &text, const QString &title, MsgIcon icon,
                  MsgButtons buttons = MsgButtons::Ok);

// Shorthand for the many failures reported with the title "Erreur", exclamation icon, OK.
void showError(const QString &text);

// The boxes stay owned by the caller; nullptr goes back to the platform's boxes.
void setMessageBoxes(MessageBoxes *boxes);

} // namespace Platform
