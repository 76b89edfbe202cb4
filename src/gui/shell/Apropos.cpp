#include "Apropos.h"

#include "General.h"
#include "gui/platform/Pictures.h"
#include "gui/platform/Widgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

Apropos::Apropos(QWidget *parent)
    : QDialog(parent)
{
    ignoreEscape(this); // the window closes by its own buttons
    setObjectName(QStringLiteral("apropos"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    auto *picture1 = new QLabel(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setPixmap(picturePixmap(Picture::Medicine, 48));
    auto *picture2 = new QLabel(this);
    picture2->setObjectName(QStringLiteral("Picture2"));
    picture2->setPixmap(picturePixmap(Picture::Forecast, 48));

    auto *label1 = new QLabel(QStringLiteral("Vellorin"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    QFont big = label1->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.8);
    label1->setFont(big);
    label1->setAlignment(Qt::AlignCenter);

    m_versionProgramme = new QLabel(QStringLiteral("Version"), this);
    m_versionProgramme->setObjectName(QStringLiteral("VersionProgramme"));
    m_versionProgramme->setAlignment(Qt::AlignCenter);

    auto *fermer = new QPushButton(QStringLiteral("&Fermer"), this);
    fermer->setObjectName(QStringLiteral("Fermer"));
    fermer->setDefault(true);
    connect(fermer, &QPushButton::clicked, this, [this] { Fermer_Click(); });

    auto *grid = new QGridLayout(this);
    grid->addWidget(picture1, 0, 0, 2, 1, Qt::AlignCenter);
    grid->addWidget(label1, 0, 1);
    grid->addWidget(m_versionProgramme, 1, 1);
    grid->addWidget(picture2, 0, 2, 2, 1, Qt::AlignCenter);
    grid->addWidget(fermer, 2, 1, Qt::AlignCenter);
    grid->setHorizontalSpacing(24);
    grid->setContentsMargins(24, 16, 24, 16);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

void Apropos::Form_Load()
{
    setWindowTitle(QStringLiteral("A propos..."));
    m_versionProgramme->setText(VersionLogiciel);
}

void Apropos::Fermer_Click()
{
    accept();
}
