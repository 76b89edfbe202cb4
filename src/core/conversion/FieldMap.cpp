#include "FieldMap.h"

#include "core/stock/Numbers.h"

std::optional<qsizetype> verif_saisie(const QString &answer)
{
    const qsizetype last = answer.lastIndexOf(QLatin1Char(':'));
    return last < 0 ? std::nullopt : std::optional<qsizetype>(last + 1);
}

std::optional<StartLength> readStartLength(const QString &answer)
{
    const qsizetype colon = answer.lastIndexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    return StartLength{numericValue(QStringView(answer).left(colon)),
                       numericValue(QStringView(answer).mid(colon + 1))};
}

std::optional<QString> convertFields(QStringView record, const QList<OldField> &fields,
                                     int *fieldThatDoesNotFit)
{
    QString out;
    for (int i = 0; i < fields.size(); ++i) {
        const OldField &f = fields.at(i);
        const qsizetype from = f.start - 1;
        QStringView text;
        if (from >= 0 && from < record.size() && f.length > 0)
            text = record.sliced(from, std::min<qsizetype>(f.length, record.size() - from));
        if (text.size() > f.newLength) {
            // Only blanks may be dropped to fit the new width.
            qsizetype end = text.size();
            while (end > f.newLength && text[end - 1] == QLatin1Char(' '))
                --end;
            if (end > f.newLength) {
                if (fieldThatDoesNotFit)
                    *fieldThatDoesNotFit = i;
                return std::nullopt;
            }
            text = text.left(f.newLength);
        }
        out.append(text);
        out.append(QString(f.newLength - text.size(), QLatin1Char(' ')));
    }
    return out;
}

QString addedSuffix(const QList<AddedField> &fields)
{
    QString suffix;
    for (const AddedField &f : fields) {
        suffix.append(f.value);
        if (f.length > f.value.size())
            suffix.append(QString(f.length - f.value.size(), QLatin1Char(' ')));
    }
    return suffix;
}
