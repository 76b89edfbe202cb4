#include "TypedText.h"

namespace TypedText {

bool isLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'\n' || u == u'\r' || u == 0x0B || u == 0x0C || u == 0x85 || u == 0x2028 || u == 0x2029;
}

bool isStorable(QChar c)
{
    const char16_t u = c.unicode();
    return u >= 0x20 && u != 0x7F && !(u >= 0x80 && u <= 0x9F) && u != 0x2028 && u != 0x2029;
}

qsizetype firstUnstorable(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isStorable(text[i]))
            return i;
    }
    return -1;
}

QString nameOf(QChar c)
{
    switch (c.unicode()) {
    case u'\t':
        return QStringLiteral("tabulation");
    case u'\n':
        return QStringLiteral("saut de ligne (LF)");
    case u'\r':
        return QStringLiteral("retour chariot (CR)");
    case 0x0B:
        return QStringLiteral("tabulation verticale");
    case 0x0C:
        return QStringLiteral("saut de page");
    case 0x00:
        return QStringLiteral("caractère nul (NUL)");
    case 0x07:
        return QStringLiteral("signal sonore (BEL)");
    case 0x08:
        return QStringLiteral("retour arrière");
    case 0x1B:
        return QStringLiteral("échappement (ESC)");
    case 0x7F:
        return QStringLiteral("suppression (DEL)");
    case 0x85:
        return QStringLiteral("passage à la ligne (NEL)");
    case 0x2028:
        return QStringLiteral("séparateur de ligne");
    case 0x2029:
        return QStringLiteral("séparateur de paragraphe");
    default:
        return QStringLiteral("caractère de contrôle U+%1")
            .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    }
}

QString refusal(const QString &what, QStringView text)
{
    const qsizetype bad = firstUnstorable(text);
    if (bad < 0)
        return QString();
    QString shown = text.toString();
    for (QChar &c : shown) {
        if (!isStorable(c))
            c = QChar(0xB7); // a middle dot where the character cannot be shown
    }
    return QStringLiteral(
               "%1 « %2 » contient le caractère « %3 », qu'une ligne du fichier ne peut pas contenir.")
        .arg(what, shown.trimmed(), nameOf(text[bad]));
}

QStringView withoutTrailingLineEnd(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && isLineBreak(text[end - 1]))
        --end;
    return text.left(end);
}

} // namespace TypedText
