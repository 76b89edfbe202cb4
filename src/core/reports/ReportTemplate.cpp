#include "ReportTemplate.h"

#include "core/files/DurableFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char *const kLetters = "ABCDEF";

// Reads what the template holds, telling precisely what is wrong with it.
class Reader
{
public:
    QString problem;

    ReportFont font(const QJsonObject &fonts, const char *key, double size, bool bold)
    {
        ReportFont f;
        f.pointSize = size;
        f.bold = bold;
        const QJsonValue v = fonts.value(QLatin1String(key));
        if (v.isUndefined())
            return f;
        if (!v.isObject()) {
            fail(QStringLiteral("la police « %1 » doit être un objet").arg(QLatin1String(key)));
            return f;
        }
        const QJsonObject o = v.toObject();
        f.family = o.value(QLatin1String("famille")).toString();
        f.pointSize = o.value(QLatin1String("taille")).toDouble(size);
        f.bold = o.value(QLatin1String("gras")).toBool(bold);
        f.italic = o.value(QLatin1String("italique")).toBool(false);
        if (f.pointSize < 4 || f.pointSize > 72)
            fail(QStringLiteral("la taille de la police « %1 » doit être entre 4 et 72")
                     .arg(QLatin1String(key)));
        return f;
    }

    void fail(const QString &why)
    {
        if (problem.isEmpty())
            problem = why;
    }
};

} // namespace

QString ReportTemplate::refusal(const QString &why)
{
    return QStringLiteral("Le modèle d'impression %1 %2.\r\n\r\nL'impression est annulée.")
        .arg(kTemplateFileName, why);
}

std::optional<ReportTemplate> ReportTemplate::load(const QString &path, QString *error)
{
    const auto refuse = [&](const QString &why) {
        *error = refusal(why);
        return std::nullopt;
    };
    QByteArray bytes;
    bool missing = false;
    QString why;
    if (!DurableFile::read(path, &bytes, &missing, &why))
        return refuse(QStringLiteral("ne peut pas être lu : %1").arg(why));
    if (missing)
        return refuse(QStringLiteral("est introuvable dans le dossier du programme"));
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError)
        return refuse(
            QStringLiteral("est mal formé (%1, caractère %2)").arg(parse.errorString()).arg(parse.offset));
    if (!doc.isObject())
        return refuse(QStringLiteral("est mal formé (un objet JSON est attendu)"));
    const QJsonObject root = doc.object();

    Reader reader;
    ReportTemplate t;
    const QJsonObject page = root.value(QLatin1String("page")).toObject();
    t.pageSize = page.value(QLatin1String("format")).toString(QStringLiteral("A4"));
    if (!kPageSizes.contains(t.pageSize, Qt::CaseInsensitive))
        reader.fail(QStringLiteral("a un format « %1 » inconnu (%2)")
                        .arg(t.pageSize, kPageSizes.join(QStringLiteral(", "))));
    const QString orientation = page.value(QLatin1String("orientation")).toString(QStringLiteral("portrait"));
    if (orientation != QLatin1String("portrait") && orientation != QLatin1String("paysage"))
        reader.fail(
            QStringLiteral("a une orientation « %1 » inconnue (portrait ou paysage)").arg(orientation));
    t.landscape = orientation == QLatin1String("paysage");
    const QJsonArray margins = page.value(QLatin1String("marges_mm")).toArray();
    if (!margins.isEmpty()) {
        if (margins.size() != 4)
            reader.fail(QStringLiteral("doit donner quatre marges (gauche, haut, droite, bas)"));
        for (int i = 0; i < 4 && i < margins.size(); ++i)
            t.marginsMm[std::size_t(i)] = margins.at(i).toDouble(-1);
        for (double m : t.marginsMm) {
            if (m < 0 || m > 60)
                reader.fail(QStringLiteral("a une marge hors de 0 à 60 mm"));
        }
    }
    t.footer = page.value(QLatin1String("pied_de_page")).toString();

    const QJsonObject fonts = root.value(QLatin1String("polices")).toObject();
    t.titleFont = reader.font(fonts, "titre", 13, true);
    t.headingFont = reader.font(fonts, "entetes", 9, true);
    t.textFont = reader.font(fonts, "texte", 9, false);

    const QJsonObject sheets = root.value(QLatin1String("feuilles")).toObject();
    for (const char *sheetName : {"Liste", "Commande"}) {
        const QJsonValue value = sheets.value(QLatin1String(sheetName));
        if (!value.isObject()) {
            reader.fail(QStringLiteral("n'a pas de feuille « %1 »").arg(QLatin1String(sheetName)));
            continue;
        }
        const QJsonObject sheet = value.toObject();
        ReportSheetTemplate s;
        const QJsonObject columns = sheet.value(QLatin1String("colonnes")).toObject();
        for (int c = 0; c < kReportColumns; ++c) {
            const QString letter = QString(QLatin1Char(kLetters[c]));
            const QJsonObject col = columns.value(letter).toObject();
            if (col.isEmpty()) {
                reader.fail(QStringLiteral("n'a pas de colonne %1 dans la feuille « %2 »")
                                .arg(letter, QLatin1String(sheetName)));
                continue;
            }
            ReportColumn &rc = s.columns[std::size_t(c)];
            rc.heading = col.value(QLatin1String("entete")).toString();
            rc.widthMm = col.value(QLatin1String("largeur_mm")).toDouble(-1);
            rc.align = col.value(QLatin1String("alignement")).toString(QStringLiteral("gauche"));
            if (rc.widthMm <= 0 || rc.widthMm > 300)
                reader.fail(QStringLiteral(
                                "donne à la colonne %1 de la feuille « %2 » une largeur hors de 1 à 300 mm")
                                .arg(letter, QLatin1String(sheetName)));
        }
        const QJsonObject fixed = sheet.value(QLatin1String("cellules")).toObject();
        for (auto it = fixed.begin(); it != fixed.end(); ++it)
            s.fixedCells.insert(it.key(), it.value().toString());
        t.sheets.insert(QLatin1String(sheetName), s);
    }
    if (!reader.problem.isEmpty())
        return refuse(reader.problem);
    return t;
}
