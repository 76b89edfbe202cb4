#include "LayoutSettings.h"

#include "ProgramDirectory.h"
#include "core/files/DurableFile.h"

#include <QFile>
#include <QHash>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// The file's own mark: a file without it is another program's, or another version's.
constexpr int kFormat = 1;

struct Layout
{
    QString path;
    QHash<QString, QList<int>> widths;
    QHash<QString, LayoutSettings::Placement> placements;
    bool changed = false;
};

void read(Layout *layout)
{
    // Read as every file of the program is (a pipe or a folder in its place is refused, never
    // waited on), then parsed by the settings library from a copy of its own.
    QByteArray bytes;
    bool missing = false;
    QString ignored;
    if (!DurableFile::read(layout->path, &bytes, &missing, &ignored) || missing || bytes.isEmpty())
        return; // the usual start before any window was closed: no copy made
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("Vellorin.ini"));
    QFile copied(copy);
    if (!copied.open(QIODevice::WriteOnly) || copied.write(bytes) != bytes.size() || !copied.flush())
        return;
    QSettings file(copy, QSettings::IniFormat);
    if (file.status() != QSettings::NoError ||
        file.value(QStringLiteral("Vellorin/format")).toInt() != kFormat)
        return;
    const QStringList groups = file.childGroups();
    for (const QString &group : groups) {
        file.beginGroup(group);
        bool ok = true;
        QList<int> widths;
        const QStringList columns = file.value(QStringLiteral("columns")).toStringList();
        for (const QString &column : columns) {
            const int width = column.trimmed().toInt(&ok);
            ok = ok && width >= 0 && width <= 10000; // a hidden column is 0 wide
            if (!ok)
                break;
            widths << width;
        }
        if (ok && !widths.isEmpty())
            layout->widths.insert(group, widths);
        int place[4] = {};
        int i = 0;
        for (const char *key : {"x", "y", "width", "height"}) {
            place[i++] = file.value(QLatin1String(key)).toString().toInt(&ok);
            if (!ok)
                break;
        }
        if (ok && place[2] > 0 && place[3] > 0)
            layout->placements.insert(group, {QRect(place[0], place[1], place[2], place[3]),
                                              file.value(QStringLiteral("maximized")).toBool()});
        file.endGroup();
    }
}

Layout &current()
{
    static Layout layout;
    static QString directory;
    if (const QString now = Platform::programDirectory(); now != directory || layout.path.isEmpty()) {
        directory = now;
        layout = Layout{Platform::programFile(QStringLiteral("Vellorin.ini")), {}, {}, false};
        read(&layout);
    }
    return layout;
}

// The settings library lays the file out, into a file of its own; the bytes are then written
// as every file of the program is.
QByteArray iniBytes(const Layout &layout)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vellorin.ini"));
    {
        QSettings file(path, QSettings::IniFormat);
        file.setValue(QStringLiteral("Vellorin/format"), kFormat);
        for (auto it = layout.placements.cbegin(); it != layout.placements.cend(); ++it) {
            const QRect &frame = it->frame;
            file.beginGroup(it.key());
            file.setValue(QStringLiteral("x"), frame.x());
            file.setValue(QStringLiteral("y"), frame.y());
            file.setValue(QStringLiteral("width"), frame.width());
            file.setValue(QStringLiteral("height"), frame.height());
            file.setValue(QStringLiteral("maximized"), it->maximized);
            file.endGroup();
        }
        for (auto it = layout.widths.cbegin(); it != layout.widths.cend(); ++it) {
            QStringList columns;
            for (const int width : *it)
                columns << QString::number(width);
            file.setValue(it.key() + QStringLiteral("/columns"), columns);
        }
    }
    QFile written(path);
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

} // namespace

namespace LayoutSettings {

QList<int> columnWidths(const QString &view)
{
    return current().widths.value(view);
}

void setColumnWidths(const QString &view, const QList<int> &widths)
{
    Layout &layout = current();
    if (layout.widths.value(view) != widths) {
        layout.widths.insert(view, widths);
        layout.changed = true;
    }
}

std::optional<Placement> placement(const QString &window)
{
    const Layout &layout = current();
    const auto found = layout.placements.constFind(window);
    return found == layout.placements.cend() ? std::nullopt : std::optional<Placement>(*found);
}

void setPlacement(const QString &window, const Placement &placement)
{
    Layout &layout = current();
    const auto known = layout.placements.constFind(window);
    if (known == layout.placements.cend() || known->frame != placement.frame ||
        known->maximized != placement.maximized) {
        layout.placements.insert(window, placement);
        layout.changed = true;
    }
}

bool save(QString *error)
{
    Layout &layout = current();
    if (!layout.changed)
        return true;
    const QByteArray bytes = iniBytes(layout);
    if (bytes.isEmpty()) {
        *error = QStringLiteral("Les réglages de l'affichage n'ont pas pu être préparés.");
        return false;
    }
    if (!DurableFile::write(layout.path, bytes, {}, error))
        return false;
    layout.changed = false;
    return true;
}

bool reset(QString *error)
{
    Layout &layout = current();
    layout.widths.clear();
    layout.placements.clear();
    if (!QFile::exists(layout.path))
        return true;
    layout.changed = true;
    return save(error);
}

} // namespace LayoutSettings
