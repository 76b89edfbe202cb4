#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QToolButton;

// Converts a stock file of an older layout: the user gives the number of fields of both
// layouts, then describes the map field by field through the input box.
class FormConversion final : public QDialog
{
    Q_OBJECT

public:
    explicit FormConversion(QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Answer
    {
        bool cancelled = false;
        QString text;
    };

    void Form_Load();
    void valider_Click();
    void Fermer_Click();

    Answer ask(const QString &prompt, const QString &title);
    // Annuler during the field map: confirmed, the whole conversion ends.
    bool confirmsAbandon();
    void refuse(const QString &why);

    QLineEdit *m_nbold = nullptr;
    QLineEdit *m_nbnew = nullptr;
    QLabel *m_infos = nullptr;
    QToolButton *m_valider = nullptr;
    QToolButton *m_fermer = nullptr;
};
