#include "Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kGreen(0x2e, 0x8b, 0x57);
const QColor kRed(0xc0, 0x39, 0x2b);
const QColor kBlue(0x2c, 0x6f, 0xbb);
const QColor kGrey(0x5f, 0x63, 0x68);
const QColor kAmber(0xe0, 0x8e, 0x0b);

// Everything is drawn on a 32 x 32 grid and scaled.
void cross(QPainter &p, QPointF c, qreal arm, qreal thick, const QColor &color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRect(QRectF(c.x() - thick / 2, c.y() - arm, thick, 2 * arm));
    p.drawRect(QRectF(c.x() - arm, c.y() - thick / 2, 2 * arm, thick));
}

void box(QPainter &p)
{
    p.setPen(QPen(kGrey, 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(4, 7, 24, 20), 3, 3);
    cross(p, {16, 17}, 6, 4, kRed);
}

void badge(QPainter &p, const QColor &color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(17, 17, 14, 14));
}

void page(QPainter &p)
{
    p.setPen(QPen(kGrey, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 3, 18, 24));
    p.setPen(QPen(kGrey, 1));
    for (int y = 9; y <= 21; y += 4)
        p.drawLine(QPointF(10, y), QPointF(22, y));
}

void letters(QPainter &p, const QString &text, const QColor &color, int pixel = 13)
{
    QFont f = p.font();
    f.setPixelSize(pixel);
    f.setBold(true);
    p.setFont(f);
    p.setPen(color);
    p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, text);
}

void draw(QPainter &p, Picture picture)
{
    switch (picture) {
    case Picture::Medicine:
        box(p);
        break;
    case Picture::Add:
        box(p);
        badge(p, kGreen);
        cross(p, {24, 24}, 5, 2.5, Qt::white);
        break;
    case Picture::Edit:
        box(p);
        p.setPen(QPen(kBlue, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(29, 13), QPointF(17, 27));
        break;
    case Picture::Delete:
        box(p);
        badge(p, kRed);
        p.setPen(QPen(Qt::white, 2.5));
        p.drawLine(QPointF(20.5, 20.5), QPointF(27.5, 27.5));
        p.drawLine(QPointF(27.5, 20.5), QPointF(20.5, 27.5));
        break;
    case Picture::Quantity:
        p.setPen(QPen(kGrey, 1.5));
        p.setBrush(Qt::white);
        for (int i = 0; i < 3; ++i)
            p.drawRoundedRect(QRectF(5 + 3 * i, 5 + 6 * i, 18, 10), 2, 2);
        letters(p, QStringLiteral("123"), kBlue, 9);
        break;
    case Picture::Renew: {
        p.setPen(QPen(kGreen, 3));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6, 6, 20, 20), 30 * 16, 270 * 16);
        QPainterPath head;
        head.moveTo(26, 4);
        head.lineTo(27, 14);
        head.lineTo(18, 11);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPath(head);
        break;
    }
    case Picture::Forecast:
        p.setPen(QPen(kGrey, 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 7, 24, 21));
        p.setBrush(kRed);
        p.drawRect(QRectF(4, 7, 24, 6));
        p.setPen(QPen(kGrey, 1));
        for (int x = 8; x <= 24; x += 5)
            for (int y = 17; y <= 25; y += 4)
                p.drawPoint(QPointF(x, y));
        break;
    case Picture::Order: {
        p.setPen(QPen(kGrey, 2));
        p.setBrush(Qt::NoBrush);
        QPainterPath cart;
        cart.moveTo(3, 6);
        cart.lineTo(8, 6);
        cart.lineTo(11, 20);
        cart.lineTo(26, 20);
        cart.lineTo(28, 10);
        cart.lineTo(9, 10);
        p.drawPath(cart);
        p.setBrush(kGrey);
        p.drawEllipse(QRectF(11, 23, 4, 4));
        p.drawEllipse(QRectF(22, 23, 4, 4));
        break;
    }
    case Picture::Close:
    case Picture::Quit:
        p.setPen(QPen(kGrey, 1.5));
        p.setBrush(QColor(0xf3, 0xe9, 0xd2));
        p.drawRect(QRectF(5, 4, 14, 24));
        p.setPen(QPen(picture == Picture::Quit ? kRed : kBlue, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 16), QPointF(28, 16));
        p.drawLine(QPointF(28, 16), QPointF(23, 11));
        p.drawLine(QPointF(28, 16), QPointF(23, 21));
        break;
    case Picture::Print:
        p.setPen(QPen(kGrey, 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(0xd5, 0xd8, 0xdc));
        p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 19, 14, 10));
        break;
    case Picture::Help:
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(3, 3, 26, 26));
        letters(p, QStringLiteral("?"), Qt::white, 18);
        break;
    case Picture::About:
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(3, 3, 26, 26));
        letters(p, QStringLiteral("i"), Qt::white, 18);
        break;
    case Picture::SortName:
    case Picture::SortRoute:
    case Picture::SortPresentation:
        page(p);
        p.setPen(QPen(kBlue, 2.5));
        p.drawLine(QPointF(27, 8), QPointF(27, 28));
        p.drawLine(QPointF(27, 28), QPointF(24, 24));
        p.drawLine(QPointF(27, 28), QPointF(30, 24));
        break;
    case Picture::Settings:
        p.setPen(QPen(kGrey, 4, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 4; ++i) {
            p.save();
            p.translate(16, 16);
            p.rotate(45.0 * i);
            p.drawLine(QPointF(0, -13), QPointF(0, 13));
            p.restore();
        }
        p.setPen(Qt::NoPen);
        p.setBrush(kGrey);
        p.drawEllipse(QRectF(6, 6, 20, 20));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(12, 12, 8, 8));
        break;
    case Picture::Validate:
        p.setPen(QPen(kGreen, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(6, 17), QPointF(13, 24), QPointF(26, 8)}));
        break;
    case Picture::Cancel:
        p.setPen(QPen(kRed, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(24, 24));
        p.drawLine(QPointF(24, 8), QPointF(8, 24));
        break;
    }
    if (picture == Picture::SortRoute || picture == Picture::SortPresentation)
        letters(p, picture == Picture::SortRoute ? QStringLiteral("V") : QStringLiteral("P"), kRed, 11);
    if (picture == Picture::SortName)
        letters(p, QStringLiteral("A"), kRed, 11);
}

} // namespace

QPixmap picturePixmap(Picture picture, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p, picture);
    return pixmap;
}

QIcon pictureIcon(Picture picture)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(picturePixmap(picture, size));
    return icon;
}
