#pragma once

#include <QDialog>

class QLabel;

// The copy of the public medicines database in use: its files' date and counts, where to
// download a newer release, and "Importer..." to put one in its place.
class MedicinesWindow final : public QDialog
{
    Q_OBJECT

public:
    explicit MedicinesWindow(QWidget *parent = nullptr);

private:
    void showCopy();
    void importRelease();

    QLabel *m_copy = nullptr;
};
