#include "FormPharma.h"

#include "StockTableModel.h"
#include "core/platform/Today.h"
#include "core/scan/BoxCode.h"
#include "core/scan/ProductCodes.h"
#include "core/stock/StockRules.h"
#include "core/store/StockFile.h"
#include "gui/editor/FormMedic.h"
#include "gui/export/TableExport.h"
#include "gui/forecast/FormAvance.h"
#include "gui/platform/KeyRules.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/ReportListView.h"
#include "gui/platform/ScanDetector.h"
#include "gui/platform/Widgets.h"
#include "gui/reports/Impression.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Column widths of the table, in twips; the index column stays hidden.
constexpr std::array<int, StockTableModel::ColumnCount> kColumnWidths = {4200, 1400, 1400, 1120,
                                                                         1400, 1120, 0};

QGroupBox *frame(const QString &name, const QString &caption, QWidget *parent)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

FormPharma::FormPharma(QWidget *parent)
    : QDialog(parent)
{
    ignoreEscape(this); // the window closes by its own buttons
    setObjectName(QStringLiteral("FormPharma"));
    setWindowTitle(QStringLiteral("Form1"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    buildControls();
    connectControls();
    setFixedSize(sizeHint().expandedTo(QSize(twips(13080), twips(7965))));
    Form_Load();
    ScanDetector::acceptScans(this, [this](const QString &code) { boxScanned(code); });
    addExportMenu(m_listView1, [this] {
        return (m_check1->isChecked() ? QStringLiteral("Indispensables, liste ") : QStringLiteral("Liste ")) +
               m_filtre1->currentText();
    });
}

FormPharma::~FormPharma() = default;

void FormPharma::buildControls()
{
    m_model = new StockTableModel(&m_list1, this);
    m_listView1 = new ReportListView(this);
    m_listView1->setObjectName(QStringLiteral("ListView1"));
    m_listView1->setAccessibleName(QStringLiteral("Médicaments"));
    m_listView1->setModel(m_model);
    m_listView1->setMinimumSize(twips(11295), twips(6615));
    setColumnWidths();

    m_frame1 = frame(QStringLiteral("Frame1"), QStringLiteral("Médicament"), this);
    m_ajout = makePictureButton(QStringLiteral("ajout"), QStringLiteral("Ajouter"), Picture::Add, m_frame1);
    m_modifier =
        makePictureButton(QStringLiteral("Modifier"), QStringLiteral("Modifier"), Picture::Edit, m_frame1);
    m_supprimer = makePictureButton(QStringLiteral("Supprimer"), QStringLiteral("Supprimer"), Picture::Delete,
                                    m_frame1);
    auto *frame1Layout = new QVBoxLayout(m_frame1);
    frame1Layout->addWidget(m_ajout);
    frame1Layout->addWidget(m_modifier);
    frame1Layout->addWidget(m_supprimer);

    m_frame2 = frame(QStringLiteral("Frame2"), QStringLiteral("Mise à jour"), this);
    m_majqte =
        makePictureButton(QStringLiteral("majqte"), QStringLiteral("Quantité"), Picture::Quantity, m_frame2);
    m_renouveler = makePictureButton(QStringLiteral("renouveler"), QStringLiteral("Renouveler"),
                                     Picture::Renew, m_frame2);
    auto *frame2Layout = new QVBoxLayout(m_frame2);
    frame2Layout->addWidget(m_majqte);
    frame2Layout->addWidget(m_renouveler);

    m_frame4 = frame(QStringLiteral("Frame4"), QStringLiteral("Prévisions"), this);
    m_avance = makePictureButton(QStringLiteral("avance"), QStringLiteral("Date limite"), Picture::Forecast,
                                 m_frame4);
    m_commande =
        makePictureButton(QStringLiteral("commande"), QStringLiteral("Commande"), Picture::Order, m_frame4);
    auto *frame4Layout = new QVBoxLayout(m_frame4);
    frame4Layout->addWidget(m_avance);
    frame4Layout->addWidget(m_commande);

    m_frame3 = frame(QStringLiteral("Frame3"), QStringLiteral("Sélection"), this);
    m_filtre1 = new QComboBox(m_frame3);
    m_filtre1->setObjectName(QStringLiteral("filtre1"));
    m_filtre1->setAccessibleName(QStringLiteral("Sélection"));
    m_filtre1->setEditable(false); // the text is always one of the filter names
    KeyRules::discardTypedText(m_filtre1);
    m_filtre1->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_check1 = new QCheckBox(QStringLiteral("Indispensable"), m_frame3);
    m_check1->setObjectName(QStringLiteral("Check1"));
    m_impression = makePictureButton(QStringLiteral("Impression"), QStringLiteral("Impression"),
                                     Picture::Print, m_frame3);
    auto *frame3Layout = new QGridLayout(m_frame3);
    frame3Layout->addWidget(m_filtre1, 0, 0);
    frame3Layout->addWidget(m_check1, 1, 0);
    frame3Layout->addWidget(m_impression, 0, 1, 2, 1);

    m_frame5 = frame(QStringLiteral("Frame5"), QStringLiteral("Tri par"), this);
    auto *frame5Layout = new QHBoxLayout(m_frame5);
    const std::array<QString, 3> triCaptions = {QStringLiteral("Médicament"), QStringLiteral("Voie d'admin."),
                                                QStringLiteral("Présentation")};
    const std::array<Picture, 3> triPictures = {Picture::SortName, Picture::SortRoute,
                                                Picture::SortPresentation};
    for (std::size_t i = 0; i < m_tri.size(); ++i) {
        m_tri[i] = makePictureButton(QStringLiteral("tri"), triCaptions[i], triPictures[i], m_frame5);
        m_tri[i]->setProperty("index", int(i));
        frame5Layout->addWidget(m_tri[i]);
    }

    m_frame6 = frame(QStringLiteral("Frame6"), QStringLiteral("Aide"), this);
    m_aide = makePictureButton(QStringLiteral("aide"), QString(), Picture::Help, m_frame6);
    m_aide->setAccessibleName(QStringLiteral("Aide"));
    m_aide->setToolTip(QStringLiteral("Aide"));
    auto *frame6Layout = new QVBoxLayout(m_frame6);
    frame6Layout->addWidget(m_aide);

    m_fermer = makePictureButton(QStringLiteral("Fermer"), QStringLiteral("Fermer"), Picture::Close, this);

    auto *right = new QVBoxLayout;
    right->addWidget(m_frame1);
    right->addWidget(m_frame2);
    right->addWidget(m_frame4);
    right->addStretch();

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_frame3, 3);
    bottom->addWidget(m_frame5, 4);
    bottom->addWidget(m_frame6, 1);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_listView1, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->addLayout(bottom, 1, 0);
    grid->addWidget(m_fermer, 1, 1, Qt::AlignBottom);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);

    // Tab order: the table, the commands beside it, then the selection and the sort.
    QWidget *order[] = {m_listView1, m_ajout,    m_modifier, m_supprimer, m_majqte,     m_renouveler,
                        m_avance,    m_commande, m_filtre1,  m_check1,    m_impression, m_tri[0],
                        m_tri[1],    m_tri[2],   m_aide,     m_fermer};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void FormPharma::connectControls()
{
    connect(m_filtre1, &QComboBox::activated, this, [this] { filtre1_Click(); });
    connect(m_check1, &QCheckBox::clicked, this, [this] { Check1_Click(); });
    for (std::size_t i = 0; i < m_tri.size(); ++i)
        connect(m_tri[i], &QToolButton::clicked, this, [this, i] { tri_Click(int(i)); });
    connect(m_listView1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { ListView1_ColumnClick(column); });
    connect(m_listView1, &ReportListView::rowChosen, this, [this](int row) { ListView1_ItemClick(row); });

    connect(m_ajout, &QToolButton::clicked, this, [this] { ajout_Click(); });
    connect(m_modifier, &QToolButton::clicked, this, [this] { Modifier_Click(); });
    connect(m_supprimer, &QToolButton::clicked, this, [this] { Supprimer_Click(); });
    connect(m_majqte, &QToolButton::clicked, this, [this] { majqte_Click(); });
    connect(m_renouveler, &QToolButton::clicked, this, [this] { renouveler_Click(); });
    connect(m_avance, &QToolButton::clicked, this, [this] { avance_Click(); });
    connect(m_impression, &QToolButton::clicked, this, [this] { Impression_Click(); });
    connect(m_commande, &QToolButton::clicked, this, [this] { commande_Click(); });
    connect(m_aide, &QToolButton::clicked, this, [this] { aide_Click(); });
    connect(m_fermer, &QToolButton::clicked, this, [this] { Fermer_Click(); });
}

// Every refill lays the columns out afresh, the index column hidden.
void FormPharma::setColumnWidths()
{
    for (int column = 0; column < StockTableModel::ColumnCount; ++column)
        m_listView1->setColumnWidth(column, twips(kColumnWidths[std::size_t(column)]));
    m_listView1->setColumnHidden(StockTableModel::Index, true);
}

void FormPharma::Form_Load()
{
    combos();
    m_filtre1->setCurrentIndex(0);
    filtre1_Click();
}

void FormPharma::Form_Activate()
{
    trialpha();
}

void FormPharma::combos()
{
    m_filtre1->clear();
    m_filtre1->addItems(StockRules::filterNames());
}

void FormPharma::trialpha()
{
    QString error;
    QStringList lines = lit_pharmacie(&error);
    m_list1.setLines(std::move(lines));
    if (m_list1.count() > 0)
        m_list1.sort();

    const StockRules::Filter filter = StockRules::filterNamed(m_filtre1->currentText());
    const bool indispensableOnly = m_check1->isChecked();
    const QDate today = Platform::today();
    m_model->beginRefill();
    for (qsizetype i = 0; i < m_list1.count(); ++i) {
        if (StockRules::passes(recordView(m_list1.at(i)), filter, indispensableOnly, today))
            m_model->appendPosition(i);
    }
    m_model->endRefill();
    setColumnWidths();

    if (!error.isEmpty())
        Platform::showError(error);
}

void FormPharma::setCaption(bool withTotal)
{
    QString caption = m_check1->isChecked() ? QStringLiteral("Médicaments 'indispensables': Liste ")
                                            : QStringLiteral("Médicaments: Liste ");
    caption += m_filtre1->currentText();
    if (withTotal)
        caption += QStringLiteral(" / Total: ") + QString::number(m_model->rowCount());
    setWindowTitle(caption);
}

void FormPharma::filtre1_Click()
{
    trialpha();
    setCaption(true);
}

void FormPharma::Check1_Click()
{
    trialpha();
    setCaption(false);
}

void FormPharma::tri_Click(int index)
{
    m_model->setSortColumn(index);
}

void FormPharma::ListView1_ColumnClick(int column)
{
    if (m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString() == QLatin1String("Index"))
        m_listView1->setColumnHidden(column, true);
}

void FormPharma::ListView1_ItemClick(int row)
{
    m_list1.setCurrentPosition(m_model->positionAt(row));
}

// The commands that work on the chosen medicine first make sure there is one.
bool FormPharma::medicineChosen()
{
    if (m_list1.hasCurrent())
        return true;
    Platform::message(QStringLiteral("Aucun médicament sélectionné !"), QStringLiteral("Erreur"),
                      MsgIcon::Exclamation);
    return false;
}

void FormPharma::openEditor(EditorMode mode)
{
    FormMedic editor(
        m_list1, [this](qsizetype position) { m_model->appendPosition(position); }, this);
    editor.setMode(mode);
    editor.exec();
    // The editor has closed: this window is the active one again, and has the keyboard, even
    // when a message shown as the editor closed left no window active.
    activateWindow();
    Form_Activate();
}

void FormPharma::ajout_Click()
{
    openEditor(EditorMode::Add);
}

void FormPharma::Modifier_Click()
{
    if (medicineChosen())
        openEditor(EditorMode::Change);
}

void FormPharma::majqte_Click()
{
    if (medicineChosen())
        openEditor(EditorMode::Quantity);
}

void FormPharma::renouveler_Click()
{
    if (!medicineChosen())
        return;
    // Asked only of a medicine whose expiry date is known and still to come; one without
    // a calendar date opens straight away, to be given one.
    const std::optional<int> jours = jours_restants(decompose_enreg(m_list1.currentLine()));
    if (jours && *jours > 0 &&
        Platform::message(QStringLiteral("Confirmer ?"),
                          QStringLiteral("Ce médicament n'est pas encore périmé !"), MsgIcon::Exclamation,
                          MsgButtons::YesNo) == MsgAnswer::No)
        return;
    openEditor(EditorMode::Renew);
}

void FormPharma::Supprimer_Click()
{
    if (!medicineChosen())
        return;
    const QString nom = decompose_enreg(m_list1.currentLine()).nom;
    if (Platform::message(QStringLiteral("Confirmer la suppression du médicament:\n\r\n\r") + nom,
                          QStringLiteral("Suppression"), MsgIcon::Question,
                          MsgButtons::YesNo) == MsgAnswer::No)
        return;
    m_list1.removeCurrent();
    QString error;
    if (!ecrit_pharmacie(m_list1.lines(), &error))
        Platform::showError(error);
    trialpha();
}

void FormPharma::avance_Click()
{
    FormAvance forecast(this);
    forecast.exec();
    Form_Activate();
}

ListSnapshot FormPharma::snapshot() const
{
    ListSnapshot list{m_filtre1->currentText(), m_check1->isChecked(), {}};
    const int count = m_model->rowCount();
    list.rows.reserve(count);
    for (int row = 0; row < count; ++row) {
        const auto text = [&](int column) {
            return m_model->text(row, column);
        };
        list.rows.append({text(StockTableModel::Nom), text(StockTableModel::Forme),
                          text(StockTableModel::Type), text(StockTableModel::Dat),
                          text(StockTableModel::Qte)});
    }
    return list;
}

void FormPharma::Impression_Click()
{
    imprime_liste(askPreview(), snapshot());
}

void FormPharma::commande_Click()
{
    imprime_commande(askPreview(), snapshot());
}

void FormPharma::aide_Click()
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

void FormPharma::Fermer_Click()
{
    accept();
}

void FormPharma::boxScanned(const QString &code)
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
    if (!medicine) {
        Platform::message(
            QStringLiteral("Le code %1 n'est pas encore connu. Lisez-le une fois dans la fiche du "
                           "médicament (Ajout, Modifier ou Renouveler) : il sera reconnu dès "
                           "qu'elle est enregistrée.")
                .arg(reading.code->gtin),
            title, MsgIcon::Information);
        return;
    }
    // Of two lines of one medicine, the one dated as the box; else the one the code was
    // saved from.
    const QString boxDate = reading.code->expiry.toString(QStringLiteral("dd/MM/yyyy"));
    qsizetype found = -1;
    int rank = 0;
    for (qsizetype i = 0; i < m_list1.count() && rank < 3; ++i) {
        const EnregView e = recordView(m_list1.at(i));
        if (e.nom != medicine->nom || e.formemedic != medicine->formemedic ||
            e.typemedic != medicine->typemedic)
            continue;
        const QStringView dat = Enreg::trimBlanks(e.dat);
        const int r = dat == boxDate ? 3 : (!medicine->dat.isEmpty() && dat == medicine->dat) ? 2 : 1;
        if (r > rank)
            found = i, rank = r;
    }
    if (found < 0) {
        Platform::message(QStringLiteral("Le code %1 est celui de « %2 », qui n'est plus dans le stock.")
                              .arg(reading.code->gtin, medicine->nom),
                          title, MsgIcon::Information);
        return;
    }
    // Found again by its text once the list is read anew.
    const QString line = m_list1.at(found);
    const auto rowOf = [&] {
        for (int row = 0; row < m_model->rowCount(); ++row) {
            if (m_list1.at(m_model->positionAt(row)) == line)
                return row;
        }
        return -1;
    };
    int row = rowOf();
    if (row < 0) {
        // Hidden by the list shown: the whole list then.
        m_filtre1->setCurrentIndex(0);
        m_check1->setChecked(false);
        filtre1_Click();
        row = rowOf();
    }
    m_listView1->setCurrentIndex(m_model->index(row, 0));
    m_listView1->scrollTo(m_model->index(row, 0));
    ListView1_ItemClick(row);
}
