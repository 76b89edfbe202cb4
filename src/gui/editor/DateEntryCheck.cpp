#include "DateEntryCheck.h"

#include "core/stock/DateCheck.h"
#include "gui/platform/MessageBox.h"

namespace {

QString formatMessage(const QString &example)
{
    return QStringLiteral("Date invalide\r\nLa date doit avoir le format JJ/MM/AAAA\r\n") + example;
}

} // namespace

Check checkTypedDate(const QString &text)
{
    QString message;
    switch (checkDate(text)) {
    case DateFault::None:
        return Check::Passed;
    case DateFault::NothingTyped:
    case DateFault::MissingSlash:
        message = formatMessage(QStringLiteral("Exemple: 07/02/2001"));
        break;
    case DateFault::Incomplete:
        message = QStringLiteral("Date invalide\r\nLa date est incomplète !");
        break;
    case DateFault::Empty:
        message = QStringLiteral("Date invalide\r\nAucune date saisie !");
        break;
    case DateFault::YearBefore1800:
        message = formatMessage(QStringLiteral("Exemple: 07/02/2003"));
        break;
    case DateFault::NoSuchDay:
        message = formatMessage(QStringLiteral("Exemple: 07/02/2002"));
        break;
    }
    Platform::message(message, QStringLiteral("Erreur"), MsgIcon::Information);
    return Check::Refused;
}
