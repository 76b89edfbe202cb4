#include "StockListWindow.h"

#include "StockTableModel.h"
#include "core/medicines/MedicinesCopy.h"
#include "core/platform/Today.h"
#include "core/scan/BoxCode.h"
#include "core/scan/ProductCodes.h"
#include "core/stock/StockFile.h"
#include "core/stock/StockRules.h"
#include "gui/editor/MedicineEditor.h"
#include "gui/export/TableExport.h"
#include "gui/forecast/ExpiryForecastWindow.h"
#include "gui/medicines/MedicineSheet.h"
#include "gui/platform/KeyRules.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/ReportListView.h"
#include "gui/platform/ScanDetector.h"
#include "gui/platform/Widgets.h"
#include "gui/platform/WindowLayout.h"
#include "gui/reports/StockReports.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Column widths of the table, in pixels; the index column stays hidden.
const QList<int> kColumnWidths = {280, 93, 93, 75, 93, 75, 0};

QGroupBox *frame(const QString &name, const QString &caption, QWidget *parent)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

StockListWindow::StockListWindow(QWidget *parent)
    : QDialog(parent)
{
    setUpFixedWindow(this, QStringLiteral("stockListWindow")); // it closes by its own buttons
    buildControls();
    connectControls();
    setFixedSize(sizeHint().expandedTo(QSize(872, 531)));
    keepPlacement(this);
    load();
    ScanDetector::acceptScans(this, [this](const QString &code) { boxScanned(code); });
    // Beyond the first design: what the public medicines database says of the row's medicine.
    auto *sheet = new QAction(QStringLiteral("Fiche du médicament..."), this);
    sheet->setObjectName(QStringLiteral("medicineSheet"));
    connect(sheet, &QAction::triggered, this, [this] {
        const QModelIndex row = m_table->currentIndex();
        if (row.isValid())
            showMedicineSheet(parseRecord(m_stock.at(m_model->positionAt(row.row()))));
        else
            medicineChosen(); // says that none is
    });
    addExportMenu(m_table,
                  [this] {
                      return (m_indispensableOnly->isChecked() ? QStringLiteral("Indispensables, liste ")
                                                               : QStringLiteral("Liste ")) +
                             m_filter->currentText();
                  },
                  {sheet});
}

StockListWindow::~StockListWindow() = default;

void StockListWindow::buildControls()
{
    m_model = new StockTableModel(&m_stock, this);
    m_table = new ReportListView(this);
    m_table->setObjectName(QStringLiteral("stockTable"));
    m_table->setAccessibleName(QStringLiteral("Médicaments"));
    m_table->setModel(m_model);
    m_table->setMinimumSize(753, 441);
    keepColumnWidths(m_table, kColumnWidths); // as the user dragged them, when they did
    m_table->setColumnHidden(StockTableModel::Index, true);

    m_commandsFrame = frame(QStringLiteral("medicineFrame"), QStringLiteral("Médicament"), this);
    m_add =
        makePictureButton(QStringLiteral("add"), QStringLiteral("Ajouter"), Picture::Add, m_commandsFrame);
    m_change = makePictureButton(QStringLiteral("change"), QStringLiteral("Modifier"), Picture::Edit,
                                 m_commandsFrame);
    m_remove = makePictureButton(QStringLiteral("remove"), QStringLiteral("Supprimer"), Picture::Delete,
                                 m_commandsFrame);
    auto *commandsLayout = new QVBoxLayout(m_commandsFrame);
    commandsLayout->addWidget(m_add);
    commandsLayout->addWidget(m_change);
    commandsLayout->addWidget(m_remove);

    m_updateFrame = frame(QStringLiteral("updateFrame"), QStringLiteral("Mise à jour"), this);
    m_newQuantity = makePictureButton(QStringLiteral("newQuantity"), QStringLiteral("Quantité"),
                                      Picture::Quantity, m_updateFrame);
    m_renew = makePictureButton(QStringLiteral("renew"), QStringLiteral("Renouveler"), Picture::Renew,
                                m_updateFrame);
    auto *updateLayout = new QVBoxLayout(m_updateFrame);
    updateLayout->addWidget(m_newQuantity);
    updateLayout->addWidget(m_renew);

    m_forecastFrame = frame(QStringLiteral("forecastFrame"), QStringLiteral("Prévisions"), this);
    m_forecast = makePictureButton(QStringLiteral("forecast"), QStringLiteral("Date limite"),
                                   Picture::Forecast, m_forecastFrame);
    m_order = makePictureButton(QStringLiteral("order"), QStringLiteral("Commande"), Picture::Order,
                                m_forecastFrame);
    auto *forecastLayout = new QVBoxLayout(m_forecastFrame);
    forecastLayout->addWidget(m_forecast);
    forecastLayout->addWidget(m_order);

    m_selectionFrame = frame(QStringLiteral("selectionFrame"), QStringLiteral("Sélection"), this);
    m_filter = new QComboBox(m_selectionFrame);
    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->setAccessibleName(QStringLiteral("Sélection"));
    m_filter->setEditable(false); // the text is always one of the filter names
    KeyRules::discardTypedText(m_filter);
    m_filter->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_indispensableOnly = new QCheckBox(QStringLiteral("Indispensable"), m_selectionFrame);
    m_indispensableOnly->setObjectName(QStringLiteral("indispensableOnly"));
    m_print = makePictureButton(QStringLiteral("print"), QStringLiteral("Impression"), Picture::Print,
                                m_selectionFrame);
    auto *selectionLayout = new QGridLayout(m_selectionFrame);
    selectionLayout->addWidget(m_filter, 0, 0);
    selectionLayout->addWidget(m_indispensableOnly, 1, 0);
    selectionLayout->addWidget(m_print, 0, 1, 2, 1);

    m_sortFrame = frame(QStringLiteral("sortFrame"), QStringLiteral("Tri par"), this);
    auto *sortLayout = new QHBoxLayout(m_sortFrame);
    const std::array<QString, 3> sortCaptions = {
        QStringLiteral("Médicament"), QStringLiteral("Voie d'admin."), QStringLiteral("Présentation")};
    const std::array<QString, 3> sortNames = {QStringLiteral("sortByName"), QStringLiteral("sortByRoute"),
                                              QStringLiteral("sortByPresentation")};
    const std::array<Picture, 3> sortPictures = {Picture::SortName, Picture::SortRoute,
                                                 Picture::SortPresentation};
    for (std::size_t i = 0; i < m_sort.size(); ++i) {
        m_sort[i] = makePictureButton(sortNames[i], sortCaptions[i], sortPictures[i], m_sortFrame);
        sortLayout->addWidget(m_sort[i]);
    }

    m_helpFrame = frame(QStringLiteral("helpFrame"), QStringLiteral("Aide"), this);
    m_help = makePictureButton(QStringLiteral("help"), QString(), Picture::Help, m_helpFrame);
    m_help->setAccessibleName(QStringLiteral("Aide"));
    m_help->setToolTip(QStringLiteral("Aide"));
    auto *helpLayout = new QVBoxLayout(m_helpFrame);
    helpLayout->addWidget(m_help);

    m_close = makePictureButton(QStringLiteral("close"), QStringLiteral("Fermer"), Picture::Close, this);

    auto *right = new QVBoxLayout;
    right->addWidget(m_commandsFrame);
    right->addWidget(m_updateFrame);
    right->addWidget(m_forecastFrame);
    right->addStretch();

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_selectionFrame, 3);
    bottom->addWidget(m_sortFrame, 4);
    bottom->addWidget(m_helpFrame, 1);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_table, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->addLayout(bottom, 1, 0);
    grid->addWidget(m_close, 1, 1, Qt::AlignBottom);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);

    // Tab order: the table, the commands beside it, then the selection and the sort.
    QWidget *order[] = {m_table, m_add,      m_change,  m_remove,  m_newQuantity,
                        m_renew, m_forecast, m_order,   m_filter,  m_indispensableOnly,
                        m_print, m_sort[0],  m_sort[1], m_sort[2], m_help,
                        m_close};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void StockListWindow::connectControls()
{
    connect(m_filter, &QComboBox::activated, this, [this] { filterChosen(); });
    connect(m_indispensableOnly, &QCheckBox::clicked, this, [this] { indispensableToggled(); });
    for (std::size_t i = 0; i < m_sort.size(); ++i)
        connect(m_sort[i], &QToolButton::clicked, this, [this, i] { sortBy(int(i)); });
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { columnClicked(column); });
    connect(m_table, &ReportListView::rowChosen, this, [this](int row) { rowClicked(row); });

    connect(m_add, &QToolButton::clicked, this, [this] { addMedicine(); });
    connect(m_change, &QToolButton::clicked, this, [this] { change(); });
    connect(m_remove, &QToolButton::clicked, this, [this] { remove(); });
    connect(m_newQuantity, &QToolButton::clicked, this, [this] { newQuantity(); });
    connect(m_renew, &QToolButton::clicked, this, [this] { renew(); });
    connect(m_forecast, &QToolButton::clicked, this, [this] { showForecast(); });
    connect(m_print, &QToolButton::clicked, this, [this] { print(); });
    connect(m_order, &QToolButton::clicked, this, [this] { printOrderList(); });
    connect(m_help, &QToolButton::clicked, this, [this] { help(); });
    connect(m_close, &QToolButton::clicked, this, [this] { close_(); });
}

void StockListWindow::load()
{
    fillLists();
    m_filter->setCurrentIndex(0);
    filterChosen();
}

void StockListWindow::activated()
{
    refill();
}

void StockListWindow::fillLists()
{
    m_filter->clear();
    m_filter->addItems(StockRules::filterNames());
}

void StockListWindow::refill()
{
    QString error;
    m_stock.reload(&error);

    const StockRules::Filter filter = StockRules::filterNamed(m_filter->currentText());
    const bool indispensableOnly = m_indispensableOnly->isChecked();
    const QDate today = Platform::today();
    m_model->beginRefill();
    for (qsizetype i = 0; i < m_stock.count(); ++i) {
        if (StockRules::passes(recordView(m_stock.at(i)), filter, indispensableOnly, today))
            m_model->appendPosition(i);
    }
    m_model->endRefill(); // the columns keep their widths, the index column stays hidden

    if (!error.isEmpty())
        Platform::showError(error);
}

void StockListWindow::setCaption(bool withTotal)
{
    QString caption = m_indispensableOnly->isChecked()
                          ? QStringLiteral("Médicaments 'indispensables': Liste ")
                          : QStringLiteral("Médicaments: Liste ");
    caption += m_filter->currentText();
    if (withTotal)
        caption += QStringLiteral(" / Total: ") + QString::number(m_model->rowCount());
    setWindowTitle(caption);
}

void StockListWindow::filterChosen()
{
    refill();
    setCaption(true);
}

void StockListWindow::indispensableToggled()
{
    refill();
    setCaption(false);
}

void StockListWindow::sortBy(int index)
{
    m_model->setSortColumn(index);
}

void StockListWindow::columnClicked(int column)
{
    if (column == StockTableModel::Index)
        m_table->setColumnHidden(column, true);
}

void StockListWindow::rowClicked(int row)
{
    m_stock.setCurrentPosition(m_model->positionAt(row));
}

// The commands that work on the chosen medicine first make sure there is one.
bool StockListWindow::medicineChosen()
{
    if (m_stock.hasCurrent())
        return true;
    Platform::message(QStringLiteral("Aucun médicament sélectionné !"), QStringLiteral("Erreur"),
                      MsgIcon::Exclamation);
    return false;
}

void StockListWindow::openEditor(EditorMode mode, const QString &scanned)
{
    std::optional<MedicineRecord> shown;
    if (mode != EditorMode::Add && m_stock.hasCurrent())
        shown = parseRecord(m_stock.currentLine());
    MedicineEditor editor(
        shown,
        [this, mode](const MedicineRecord &record, QString *error) {
            if (mode != EditorMode::Add)
                return m_stock.replaceCurrent(record, error);
            if (!m_stock.add(record, error))
                return false;
            m_model->appendPosition(m_stock.count() - 1); // shown until the list is filled again
            return true;
        },
        this);
    editor.setMode(mode);
    editor.setOpeningScan(scanned);
    editor.exec();
    // The editor has closed: this window is the active one again, and has the keyboard, even
    // when a message shown as the editor closed left no window active.
    activateWindow();
    activated();
}

void StockListWindow::addMedicine()
{
    openEditor(EditorMode::Add);
}

void StockListWindow::change()
{
    if (medicineChosen())
        openEditor(EditorMode::Change);
}

void StockListWindow::newQuantity()
{
    if (medicineChosen())
        openEditor(EditorMode::Quantity);
}

void StockListWindow::renew()
{
    if (!medicineChosen())
        return;
    // Asked only of a medicine whose expiry date is known and still to come; one without
    // a calendar date opens straight away, to be given one.
    const std::optional<int> daysLeft = daysToExpiry(parseRecord(m_stock.currentLine()));
    if (daysLeft && *daysLeft > 0 &&
        Platform::message(QStringLiteral("Confirmer ?"),
                          QStringLiteral("Ce médicament n'est pas encore périmé !"), MsgIcon::Exclamation,
                          MsgButtons::YesNo) == MsgAnswer::No)
        return;
    openEditor(EditorMode::Renew);
}

void StockListWindow::remove()
{
    if (!medicineChosen())
        return;
    const QString name = parseRecord(m_stock.currentLine()).name;
    if (Platform::message(QStringLiteral("Confirmer la suppression du médicament:\n\r\n\r") + name,
                          QStringLiteral("Suppression"), MsgIcon::Question,
                          MsgButtons::YesNo) == MsgAnswer::No)
        return;
    QString error;
    if (!m_stock.removeCurrent(&error))
        Platform::showError(error);
    refill();
}

void StockListWindow::showForecast()
{
    ExpiryForecastWindow forecast(this);
    forecast.exec();
    activated();
}

ListSnapshot StockListWindow::snapshot() const
{
    ListSnapshot list{m_filter->currentText(), m_indispensableOnly->isChecked(), {}};
    const int count = m_model->rowCount();
    list.rows.reserve(count);
    for (int row = 0; row < count; ++row) {
        const auto text = [&](int column) {
            return m_model->text(row, column);
        };
        list.rows.append({text(StockTableModel::Name), text(StockTableModel::Route),
                          text(StockTableModel::Presentation), text(StockTableModel::Expiry),
                          text(StockTableModel::Quantity)});
    }
    return list;
}

void StockListWindow::print()
{
    printShownList(askPreview(), snapshot());
}

void StockListWindow::printOrderList()
{
    printOrder(askPreview(), snapshot());
}

void StockListWindow::help()
{
    const QString help = QStringLiteral(
        "Vellorin permet de gérer une trousse de pharmacie de médecine générale."
        "\r\n\r\nChaque médicament est défini par:"
        "\r\n    - son nom."
        "\r\n    - sa voie d'administration et sa présentation."
        "\r\n    - sa date limite d'utilisation."
        "\r\n    - sa quantité."
        "\r\n    - son seuil critique (c'est à dire la quantité suffisante nécessaire)."
        "\r\n\r\n    A chaque fois que vous utilisez un médicament de votre trousse,"
        "\r\nil suffit de mettre à jour la quantité."
        "\r\n\r\n    Grâce aux différents filtres de Vellorin vous pourrez savoir,"
        "\r\nquand il faut renouveler tel ou tel médicament,"
        "en fonction:"
        "\r\n    - de sa date limite d'utilisation."
        "\r\n    - d'une quantité insuffisante de ce médicament dans votre trousse."
        "\r\n\r\n    Enfin, vous pouvez planifier le renouvellement de vos médicaments dans le temps,"
        "\r\navec l'aide de la fonction Prévisions 'Date limite'.");
    Platform::message(help, QStringLiteral("Aide - Vellorin"), MsgIcon::Information);
}

void StockListWindow::close_()
{
    accept();
}

void StockListWindow::boxScanned(const QString &code)
{
    const QString title = QStringLiteral("Code de la boîte");
    const BoxCodeReading reading = readBoxCode(code, Platform::today());
    if (!reading.code) {
        Platform::message(reading.problem + QLatin1Char('.'), title, MsgIcon::Exclamation);
        return;
    }
    QString error;
    const std::optional<KnownMedicine> medicine = knownMedicine(reading.code->gtin, &error);
    if (!error.isEmpty()) {
        Platform::showError(error);
        return;
    }
    // Never saved from a box: what the public medicines database says it is.
    const Speciality *speciality = medicine ? nullptr : MedicinesCopy::specialityOfBox(reading.code->gtin);
    if (!medicine && !speciality) {
        Platform::message(
            QStringLiteral("Le code %1 n'est pas encore connu. Lisez-le une fois dans la fiche du "
                           "médicament (Ajout, Modifier ou Renouveler) : il sera reconnu dès "
                           "qu'elle est enregistrée.")
                .arg(reading.code->gtin),
            title, MsgIcon::Information);
        return;
    }
    // The lines of that medicine: as saved from the box, or by the database's name.
    const QString databaseName =
        speciality ? folded(stockName(speciality->name, RecordLayout::kName.width)) : QString();
    const auto isTheMedicine = [&](const MedicineRecordView &e) {
        return medicine ? e.name == medicine->name && e.route == medicine->route &&
                              e.presentation == medicine->presentation
                        : folded(RecordLayout::trimBlanks(e.name)) == databaseName;
    };
    // Of two lines of one medicine, the one dated as the box; else the one the code was
    // saved from.
    const QString boxDate = reading.code->expiry.toString(QStringLiteral("dd/MM/yyyy"));
    const QString savedDate = medicine ? medicine->expiry : QString();
    qsizetype found = -1;
    int rank = 0;
    for (qsizetype i = 0; i < m_stock.count() && rank < 3; ++i) {
        const MedicineRecordView e = recordView(m_stock.at(i));
        if (!isTheMedicine(e))
            continue;
        const QStringView expiry = RecordLayout::trimBlanks(e.expiry);
        const int r = expiry == boxDate ? 3 : (!savedDate.isEmpty() && expiry == savedDate) ? 2 : 1;
        if (r > rank)
            found = i, rank = r;
    }
    if (found < 0 && speciality) {
        if (Platform::message(speciality->name +
                                  QStringLiteral(" : absent du stock.\r\n\r\nL'ajouter au stock ?"),
                              title, MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes)
            openEditor(EditorMode::Add, code);
        return;
    }
    if (found < 0) {
        Platform::message(QStringLiteral("Le code %1 est celui de « %2 », qui n'est plus dans le stock.")
                              .arg(reading.code->gtin, medicine->name),
                          title, MsgIcon::Information);
        return;
    }
    // Found again by its text once the list is read anew.
    const QString line = m_stock.at(found);
    const auto rowOf = [&] {
        for (int row = 0; row < m_model->rowCount(); ++row) {
            if (m_stock.at(m_model->positionAt(row)) == line)
                return row;
        }
        return -1;
    };
    int row = rowOf();
    if (row < 0) {
        // Hidden by the list shown: the whole list then.
        m_filter->setCurrentIndex(0);
        m_indispensableOnly->setChecked(false);
        filterChosen();
        row = rowOf();
    }
    m_table->setCurrentIndex(m_model->index(row, 0));
    m_table->scrollTo(m_model->index(row, 0));
    rowClicked(row);
}
