#pragma once

#include <QDialog>

class QLabel;

// The about box: the program's name and version.
class Apropos final : public QDialog
{
    Q_OBJECT

public:
    explicit Apropos(QWidget *parent = nullptr);

private:
    void Form_Load();
    void Fermer_Click();

    QLabel *m_versionProgramme = nullptr;
};
