#pragma once

#include <QDialog>

#include <functional>

class LineList;
class MaskedDateBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

// The window in which one medicine is entered ("Ajout"), changed ("Modif"), renewed
// ("Renouveler") or given a new quantity ("MAJ"). The medicine worked on is the line at
// the current position of the list window's line list; the save writes it back there
// and to the stock file.
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

class MedicineEditor final : public QDialog
{
    Q_OBJECT

public:
    // `added` is told the position in `list1` of a medicine the editor adds, so that the
    // list's table can show it.
    using Added = std::function<void(qsizetype position)>;
    MedicineEditor(LineList &lines, Added added, QWidget *parent = nullptr);
    ~MedicineEditor() override;

    // Set by the list window before showing the editor; emptied when the editor closes.
    EditorMode mode() const { return m_mode; }
    void setMode(EditorMode mode) { m_mode = mode; }

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
    QString dateText() const;

    void save();
    void cancel();
    // A box's code read by a scanner: its expiry date into the date box, and in "Ajout"
    // the medicine it was last saved as.
    void boxScanned(const QString &code);
    // The medicine saved: the product code scanned for it is remembered.
    void rememberScannedCode();

    LineList &m_lines;
    Added m_added;
    EditorMode m_mode = EditorMode::None;
    bool m_activated = false;
    QWidget *m_firstEntry = nullptr;
    QString m_scannedGtin;

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
