#pragma once

#include "core/platform/KeyClock.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Today.h"
#include "core/reports/ReportOutput.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/TextPrompt.h"
#include "gui/reports/ReportPrinter.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

Q_DECLARE_METATYPE(MsgAnswer)

class QWidget;

// Today is 6 December 2026, 9 o'clock, in every test that does not move it.
struct FixedToday final : TodaySource
{
    QDate today() const override { return date; }
    QDateTime now() const override { return {date, time}; }
    QDate date{2026, 12, 6};
    QTime time{9, 0};
};

// Keys come a second apart, as a person types, unless a test sets the pace of a scanner.
struct PacedKeys final : KeyClock
{
    qint64 now() override { return time += step; }
    qint64 step = 1000;
    qint64 time = 0;
};

// A file's whole content, written (its folder made if need be) or read; a file that cannot
// be read reads empty.
void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// A fresh, empty program directory, removed with the test.
class TemporaryProgramDirectory final : public ProgramDirectory
{
public:
    QString path() const override { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const { writeFile(file(name), bytes); }
    QByteArray read(const QString &name) const { return readFile(file(name)); }
    bool exists(const QString &name) const { return QFile::exists(file(name)); }

private:
    QTemporaryDir m_dir;
};

// Answers the program's questions from a queue (No once it is empty) and keeps every box
// shown.
class ScriptedMessageBoxes final : public MessageBoxes
{
public:
    MsgAnswer ask(const MessageRequest &request) override;

    void queue(MsgAnswer answer) { m_answers.append(answer); }
    const QList<MessageRequest> &shown() const { return m_shown; }
    const MessageRequest &last() const { return m_shown.last(); }

private:
    QList<MsgAnswer> m_answers;
    QList<MessageRequest> m_shown;
};

// Answers the program's input box from a queue, without showing it, and keeps the default
// text of each question. An answer is the text typed over the default and whether
// "&Annuler" closed the box; with the queue empty, "&Annuler".
class ScriptedTextPrompt final : public TextPromptAnswers
{
public:
    ScriptedTextPrompt() { TextPrompt::setAnswers(this); }
    ~ScriptedTextPrompt() override { TextPrompt::setAnswers(nullptr); }
    void answer(TextPrompt &box) override;

    void queue(const QString &text, bool cancel = false) { m_answers.append({text, cancel}); }
    QStringList asked;

private:
    QList<std::pair<QString, bool>> m_answers;
};

// Keeps every page a report previews or prints, as the sheet stood at that moment.
class RecordingReportOutput final : public ReportOutput
{
public:
    struct Output
    {
        bool preview = false;
        ReportPage page;
        bool busyPointer = false; // the hourglass was showing
    };

    void begin(const QString &, const ReportTemplate &, const ReportReplay &) override {}
    void preview(const ReportPage &page) override { record(page, true); }
    void print(const ReportPage &page) override { record(page, false); }
    void finish() override { ++finished; }

    QList<Output> pages;
    int finished = 0;

private:
    void record(const ReportPage &page, bool preview);
};

// Every seam replaced for the life of one test: a temporary program directory, a fixed
// today and scripted message boxes.
class TestSeams
{
public:
    TestSeams();
    ~TestSeams();
    TestSeams(const TestSeams &) = delete;
    TestSeams &operator=(const TestSeams &) = delete;

    TemporaryProgramDirectory directory;
    FixedToday today;
    ScriptedMessageBoxes messages;
    RecordingReportOutput reports;
    PacedKeys keys;

    // Lays the report template that comes with the program into the directory.
    void installTemplate();
};

// A shown box as "title | icon | buttons", e.g. "Erreur | exclamation | OK".
QString boxOf(const MessageRequest &request);

// Windows-1252 bytes of text written in this source file (UTF-8).
QByteArray cp1252(const QString &text);

// Types text into a widget key by key, letters outside ASCII included.
void typeText(QWidget *widget, const QString &text);

// Keys as a small script: "Enter", "Tab", "Backtab", "Backspace", "Delete", "End", "Down",
// "Up", "Alt+Down", "Escape", "Paste:<text>" (through the clipboard), "Pick:<entry>" (a
// click on an entry of the open list), "Wheel" (a notch down), "IME:<text>" (a dead key's or
// an input method's text); anything else is typed as it stands. While a list
// is open, keys go to it.
void press(QWidget *widget, const QStringList &keys);

// A stock line as the program writes it, taken orally as tablets. Today is 06/12/2026.
QString medicine(const QString &name, const QString &expiry = "01/01/2030", const QString &quantity = "10",
                 const QString &threshold = "5", const QString &indispensable = "0");
// "Médicament 001" to "Médicament <count>", all alike.
QStringList medicines(int count, const QString &expiry = "01/01/2030");
// The bytes of a stock file holding these lines.
QByteArray fileOf(const QStringList &lines);

// Runs `action` on the next modal window that opens (message boxes aside), once it is
// shown; arm it before the click that opens the window. Gives up after five seconds.
// The watch returned can be deleted to give up earlier, when the window may not open.
QObject *whenModalOpens(std::function<void(QWidget *)> action);
