#pragma once

#include "core/valuelists/ValueListFile.h"

#include <QDialog>

class QListWidget;
class QListWidgetItem;
class QToolButton;

// The editor of one value list: routes of administration (mode "Forme") or presentations
// (mode "Type"). The list shows the file's entries sorted; new and changed entries are
// asked through the program's input box.
class FormCombosPharma final : public QDialog
{
    Q_OBJECT

public:
    explicit FormCombosPharma(QWidget *parent = nullptr);

    // Set by the caller before the window is shown.
    ValueList mode() const { return m_mode; }
    void setMode(ValueList mode) { m_mode = mode; }

    QListWidget *List1() const { return m_list1; }

    // The window becomes active: the list is read again from its file and sorted.
    void Form_Activate();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString fileName() const;
    // The noun of the list, taken from the caption: "Voie d'administration" or "Présentation".
    QString noun() const;
    QListWidgetItem *chosenEntry();
    bool askEntry(const QString &prompt, const QString &title, const QString &defaultText, QString *entry);

    void Nouveau_Click();
    void Modifier_Click();
    void Supprimer_Click();
    void Fermer_Click();

    ValueList m_mode = ValueList::Routes;
    QListWidget *m_list1 = nullptr;
    QToolButton *m_nouveau = nullptr;
    QToolButton *m_modifier = nullptr;
    QToolButton *m_supprimer = nullptr;
    QToolButton *m_fermer = nullptr;
};
