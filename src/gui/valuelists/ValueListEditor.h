#pragma once

#include "core/valuelists/ValueListFile.h"

#include <QDialog>

class QListWidget;
class QListWidgetItem;
class QToolButton;

// The editor of one value list: routes of administration (mode "Forme") or presentations
// (mode "Type"). The list shows the file's entries sorted; new and changed entries are
// asked through the program's input box.
class ValueListEditor final : public QDialog
{
    Q_OBJECT

public:
    explicit ValueListEditor(QWidget *parent = nullptr);

    // Set by the caller before the window is shown.
    ValueList mode() const { return m_mode; }
    void setMode(ValueList mode) { m_mode = mode; }

    QListWidget *lines() const { return m_lines; }

    // The window becomes active: the list is read again from its file and sorted.
    void activated();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString fileName() const;
    // The noun of the list, taken from the caption: "Voie d'administration" or "Présentation".
    QString noun() const;
    QListWidgetItem *chosenEntry();
    bool askEntry(const QString &prompt, const QString &title, const QString &defaultText, QString *entry);

    void addEntry();
    void change();
    void remove();
    void close_();

    ValueList m_mode = ValueList::Routes;
    QListWidget *m_lines = nullptr;
    QToolButton *m_add = nullptr;
    QToolButton *m_change = nullptr;
    QToolButton *m_remove = nullptr;
    QToolButton *m_close = nullptr;
};
