#pragma once

#include "core/medicines/MedicinesDatabase.h"
#include "core/stock/MedicineRecord.h"
#include "core/valuelists/ValueListFile.h"

#include <QDialog>

#include <functional>
#include <optional>

class MaskedDateBox;
class QCheckBox;
class QComboBox;
class QCompleter;
class QLabel;
class QLineEdit;
class QStringListModel;
class QToolButton;

// What the editor is opened for: a new medicine ("Ajout"), a change ("Modif"), a new
// quantity ("MAJ") or a renewal ("Renouveler").
enum class EditorMode
{
    None,
    Add,
    Change,
    Quantity,
    Renew
};

// The window in which one medicine is entered ("Ajout"), changed ("Modif"), renewed
// ("Renouveler") or given a new quantity ("MAJ"). It shows the medicine it is given and
// hands the edited one to `save`, which writes it (the stock's owner does): true once saved;
// false with the reason, which the editor shows, staying open; false without one, nothing.
class MedicineEditor final : public QDialog
{
    Q_OBJECT

public:
    using Save = std::function<bool(const MedicineRecord &record, QString *error)>;
    MedicineEditor(std::optional<MedicineRecord> shown, Save save, QWidget *parent = nullptr);
    ~MedicineEditor() override;

    // Set by the list window before showing the editor; emptied when the editor closes.
    EditorMode mode() const { return m_mode; }
    void setMode(EditorMode mode) { m_mode = mode; }
    // A box's code read before the editor opened, read again once it is open.
    void setOpeningScan(const QString &code) { m_openingScan = code; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Field
    {
        Name,
        Route,
        Presentation,
        Quantity,
        Threshold,
        Expiry
    };

    void buildControls();
    void activated();
    void clearFields();
    void fillLists();
    void showRecord();

    QWidget *fieldWidget(Field field) const;
    bool locked(Field field) const;
    // The key rules of a field; true when the key is discarded.
    bool keyRule(Field field, QWidget *widget, QKeyEvent *event);
    void fieldEntered(Field field);
    void dateLeft();
    bool dateAccepted();

    void save();
    void cancel();
    // A box's code read by a scanner: its expiry date into the date box, and in "Ajout"
    // the medicine it was last saved as.
    void boxScanned(const QString &code);
    // The medicine saved: the product code scanned for it is remembered.
    void rememberScannedCode();
    // The database's names that hold the typed text, offered under the name box in "Ajout".
    void offerNames(const QString &typed);
    void nameChosen(int row);
    // Name, route and presentation from the public medicines database.
    void fillFromDatabase(const Speciality &speciality);
    // The entry of a value list that one of `texts` names, case and accents aside; else, if
    // the user agrees, the first text added to the list; else nothing.
    QString valueListEntry(QComboBox *box, ValueList list, const QStringList &texts);

    std::optional<MedicineRecord> m_shown;
    Save m_saveTo;
    EditorMode m_mode = EditorMode::None;
    bool m_activated = false;
    QWidget *m_firstEntry = nullptr;
    QString m_scannedGtin;
    QString m_openingScan;
    QCompleter *m_completer = nullptr;
    QStringListModel *m_offeredNames = nullptr;
    QList<const Speciality *> m_offered;

    QLineEdit *m_name = nullptr;
    QComboBox *m_route = nullptr;
    QComboBox *m_presentation = nullptr;
    QLineEdit *m_quantity = nullptr;
    QLineEdit *m_threshold = nullptr;
    MaskedDateBox *m_expiry = nullptr;
    QCheckBox *m_indispensable = nullptr;
    QToolButton *m_save = nullptr;
    QToolButton *m_cancel = nullptr;
};
