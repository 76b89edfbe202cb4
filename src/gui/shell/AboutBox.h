#pragma once

#include <QDialog>

class QLabel;

// The about box: the program's name and version.
class AboutBox final : public QDialog
{
    Q_OBJECT

public:
    explicit AboutBox(QWidget *parent = nullptr);

private:
    void load();
    void close_();

    QLabel *m_version = nullptr;
};
