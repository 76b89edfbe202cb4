#include "AboutBox.h"

#include "Version.h"
#include "gui/platform/Pictures.h"
#include "gui/platform/Widgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent)
{
    setUpFixedWindow(this, QStringLiteral("aboutBox")); // it closes by its own buttons

    auto *picture1 = new QLabel(this);
    picture1->setObjectName(QStringLiteral("medicinePicture"));
    picture1->setPixmap(picturePixmap(Picture::Medicine, 48));
    auto *picture2 = new QLabel(this);
    picture2->setObjectName(QStringLiteral("forecastPicture"));
    picture2->setPixmap(picturePixmap(Picture::Forecast, 48));

    auto *title = new QLabel(QStringLiteral("Vellorin"), this);
    title->setObjectName(QStringLiteral("programName"));
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.8);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    m_version = new QLabel(QStringLiteral("Version"), this);
    m_version->setObjectName(QStringLiteral("version"));
    m_version->setAlignment(Qt::AlignCenter);

    auto *closeButton = new QPushButton(QStringLiteral("&Fermer"), this);
    closeButton->setObjectName(QStringLiteral("close"));
    closeButton->setDefault(true);
    connect(closeButton, &QPushButton::clicked, this, [this] { close_(); });

    auto *grid = new QGridLayout(this);
    grid->addWidget(picture1, 0, 0, 2, 1, Qt::AlignCenter);
    grid->addWidget(title, 0, 1);
    grid->addWidget(m_version, 1, 1);
    grid->addWidget(picture2, 0, 2, 2, 1, Qt::AlignCenter);
    grid->addWidget(closeButton, 2, 1, Qt::AlignCenter);
    grid->setHorizontalSpacing(24);
    grid->setContentsMargins(24, 16, 24, 16);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    load();
}

void AboutBox::load()
{
    setWindowTitle(QStringLiteral("A propos..."));
    m_version->setText(kProgramVersion);
}

void AboutBox::close_()
{
    accept();
}
