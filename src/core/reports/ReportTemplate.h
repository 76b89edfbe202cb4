#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// What a printed report takes from its template rather than from the program: the page,
// the fonts, and for each sheet the columns' headings (row 4) and widths, and any fixed
// cells. The template is a JSON file beside the program, "Impression.json", read at every
// report and never written.

inline const QString kTemplateFileName = QStringLiteral("Impression.json");
inline constexpr int kReportColumns = 6; // A to F
inline const QStringList kPageSizes = {QStringLiteral("A3"), QStringLiteral("A4"), QStringLiteral("A5"),
                                       QStringLiteral("Letter"), QStringLiteral("Legal")};

struct ReportFont
{
    QString family;
    double pointSize = 10;
    bool bold = false;
    bool italic = false;
};

struct ReportColumn
{
    QString heading;
    double widthMm = 20;
    QString align = QStringLiteral("gauche"); // "gauche", "centre" or "droite"
};

struct ReportSheetTemplate
{
    std::array<ReportColumn, kReportColumns> columns;
    QMap<QString, QString> fixedCells; // address -> text, e.g. "E50" -> "Total :"
};

struct ReportTemplate
{
    QString pageSize = QStringLiteral("A4");
    bool landscape = false;
    std::array<double, 4> marginsMm = {15, 15, 15, 15}; // left, top, right, bottom
    ReportFont titleFont;
    ReportFont headingFont;
    ReportFont textFont;
    QString footer; // "{page}" is replaced by the page's number
    QMap<QString, ReportSheetTemplate> sheets;

    // Nothing, and a message for the user in `error`, when the file is missing or broken.
    static std::optional<ReportTemplate> load(const QString &path, QString *error);
    // The message that refuses the template for a reason: "Le modèle d'impression ... <why>."
    static QString refusal(const QString &why);
};
