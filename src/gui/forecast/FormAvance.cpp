#include "FormAvance.h"

#include "ForecastModel.h"
#include "core/platform/Today.h"
#include "core/stock/StockRules.h"
#include "core/store/StockFile.h"
#include "gui/export/TableExport.h"
#include "gui/platform/KeyRules.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/ReportListView.h"
#include "gui/platform/Widgets.h"
#include "gui/reports/Impression.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QShowEvent>

FormAvance::FormAvance(QWidget *parent)
    : QDialog(parent)
{
    ignoreEscape(this); // the window closes by its own buttons
    setObjectName(QStringLiteral("FormAvance"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    m_model = new ForecastModel(this);
    m_listView1 = new ReportListView(this);
    m_listView1->setObjectName(QStringLiteral("ListView1"));
    m_listView1->setAccessibleName(QStringLiteral("Médicaments"));
    m_listView1->setModel(m_model);
    m_listView1->setMinimumSize(twips(4200 + 2800) + 24, 320);

    auto *label1 = new QLabel(QStringLiteral("Médicament(s) périmé()s dans: "), this);
    label1->setObjectName(QStringLiteral("Label1"));
    addExportMenu(m_listView1, [this] { return QStringLiteral("Périmés dans ") + m_filtre->currentText(); });
    m_filtre = new QComboBox(this);
    m_filtre->setObjectName(QStringLiteral("filtre"));
    m_filtre->setEditable(false); // a horizon is picked from the list, never typed
    KeyRules::discardTypedText(m_filtre);
    m_filtre->setMinimumContentsLength(8);
    label1->setBuddy(m_filtre);
    m_filtre->setAccessibleName(label1->text());

    m_impression =
        makePictureButton(QStringLiteral("Impression"), QStringLiteral("Impression"), Picture::Print, this);
    m_fermer = makePictureButton(QStringLiteral("fermer"), QStringLiteral("Fermer"), Picture::Close, this);

    connect(m_filtre, &QComboBox::activated, this, [this] { filtre_Click(); });
    connect(m_impression, &QToolButton::clicked, this, [this] { Impression_Click(); });
    connect(m_fermer, &QToolButton::clicked, this, [this] { Fermer_Click(); });

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_listView1, 0, 0, 1, 5);
    grid->addWidget(label1, 1, 0);
    grid->addWidget(m_filtre, 1, 1);
    grid->setColumnStretch(2, 1);
    grid->addWidget(m_impression, 1, 3);
    grid->addWidget(m_fermer, 1, 4);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

FormAvance::~FormAvance() = default;

void FormAvance::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        Form_Activate();
    }
}

void FormAvance::Form_Activate()
{
    setWindowTitle(QStringLiteral("Gestion prévisionnelle des dates limites d'utilisation"));
    m_model->clear();
    m_filtre->clear();
    m_filtre->addItems({QStringLiteral("1 mois"), QStringLiteral("2 mois"), QStringLiteral("3 mois"),
                        QStringLiteral("6 mois")});
    m_filtre->setCurrentIndex(-1); // no horizon shows until one is picked
    m_filtre->setFocus();
}

void FormAvance::filtre_Click()
{
    const int horizon = StockRules::horizonDays(m_filtre->currentText());
    QString error;
    const QStringList lines = lit_pharmacie(&error);
    const QDate today = Platform::today();
    QList<ForecastModel::Row> rows;
    for (const QString &line : lines) {
        const EnregView e = recordView(line);
        const std::optional<int> jours = jours_restants(e.dat, today);
        if (!StockRules::withinHorizon(jours, horizon))
            continue;
        QString date = e.dat.toString();
        if (StockRules::isExpired(jours))
            date += QStringLiteral(" Déjà périmé.");
        rows.append({e.nom.toString(), date});
    }
    m_model->setRows(std::move(rows));
    m_listView1->setColumnWidth(0, twips(4200));
    m_listView1->setColumnWidth(1, twips(2800));
    if (!error.isEmpty())
        Platform::showError(error);
}

void FormAvance::Impression_Click()
{
    imprime_avance(askPreview(), m_filtre->currentText());
}

void FormAvance::Fermer_Click()
{
    accept();
}
