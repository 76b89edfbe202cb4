#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QToolButton;

// Converts a stock file of an older layout: the user gives the number of fields of both
// layouts, then describes the map field by field through the input box.
class ConversionWindow final : public QDialog
{
    Q_OBJECT

public:
    explicit ConversionWindow(QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Answer
    {
        bool cancelled = false;
        QString text;
    };

    void load();
    void save();
    void close_();

    Answer ask(const QString &prompt, const QString &title);
    // Annuler during the field map: confirmed, the whole conversion ends.
    bool confirmsAbandon();
    void refuse(const QString &why);

    QLineEdit *m_oldCount = nullptr;
    QLineEdit *m_newCount = nullptr;
    QLabel *m_info = nullptr;
    QToolButton *m_save = nullptr;
    QToolButton *m_close = nullptr;
};
