#include "CalendarExport.h"

#include "core/calendar/ExpiryCalendar.h"
#include "core/files/DurableFile.h"
#include "core/platform/Today.h"
#include "core/stock/StockFile.h"
#include "core/stock/StockRules.h"
#include "gui/platform/FileDialogs.h"
#include "gui/platform/KeyRules.h"
#include "gui/platform/MessageBox.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <libical/ical.h>
namespace {

const QString kTitle = QStringLiteral("Exporter vers l'agenda");

icaltimetype calendarDay(QDate day)
{
    icaltimetype time = icaltime_null_date();
    time.year = day.year();
    time.month = day.month();
    time.day = day.day();
    return time;
}

QString plural(int count, const QString &one, const QString &many)
{
    return (count == 1 ? one : many).arg(count);
}

} // namespace

LeadTimeDialog::LeadTimeDialog(QWidget *parent, const QString &leadTime)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("calendarExportDialog"));
    setWindowTitle(kTitle);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *label = new QLabel(QStringLiteral("Rappel avant chaque date de péremption :"), this);
    m_lead = new QComboBox(this);
    m_lead->setObjectName(QStringLiteral("leadTime"));
    m_lead->addItems(StockRules::horizonNames());
    m_lead->setCurrentIndex(std::max(0, int(StockRules::horizonNames().indexOf(leadTime))));
    KeyRules::discardTypedText(m_lead);
    m_lead->setAccessibleName(label->text());
    label->setBuddy(m_lead);
    auto *save = new QPushButton(QStringLiteral("Exporter..."), this);
    save->setObjectName(QStringLiteral("export"));
    save->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(save, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *choice = new QHBoxLayout;
    choice->addWidget(label);
    choice->addWidget(m_lead);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString LeadTimeDialog::leadTime() const
{
    return m_lead->currentText();
}

QByteArray icsBytes(const ExpiryCalendar &calendar, const QDateTime &stamp)
{
    const auto laidOut = [](icalcomponent *component) {
        char *text = icalcomponent_as_ical_string_r(component);
        QByteArray bytes(text);
        icalmemory_free_buffer(text);
        icalcomponent_free(component);
        return bytes;
    };
    icalcomponent *file = icalcomponent_new_vcalendar();
    icalcomponent_add_property(file, icalproperty_new_version("2.0"));
    icalcomponent_add_property(file,
                               icalproperty_new_prodid("-//Vellorin//Vellorin " VELLORIN_VERSION "//FR"));
    icalcomponent_add_property(file, icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_property(file, icalproperty_new_method(ICAL_METHOD_PUBLISH));
    icalproperty *name = icalproperty_new_x("Péremptions des médicaments");
    icalproperty_set_x_name(name, "X-WR-CALNAME");
    icalcomponent_add_property(file, name);
    // The events are laid out one by one between the calendar's first and last lines: a
    // whole stock in one tree would cost the library twice the time in allocations.
    const QByteArray frame = laidOut(file);
    const qsizetype end = frame.lastIndexOf("END:VCALENDAR");
    QByteArray bytes = frame.left(end);
    bytes.reserve(calendar.events.size() * 600);

    const icaltimetype stamped =
        icaltime_from_timet_with_zone(stamp.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone());
    for (const CalendarEvent &event : calendar.events) {
        const QByteArray summary = event.summary.toUtf8();
        icalcomponent *vevent = icalcomponent_new_vevent();
        icalcomponent_add_property(vevent, icalproperty_new_uid(event.uid.toUtf8().constData()));
        icalcomponent_add_property(vevent, icalproperty_new_dtstamp(stamped));
        icalcomponent_add_property(vevent, icalproperty_new_dtstart(calendarDay(event.day)));
        icalcomponent_add_property(vevent, icalproperty_new_dtend(calendarDay(event.day.addDays(1))));
        icalcomponent_add_property(vevent, icalproperty_new_summary(summary.constData()));
        icalcomponent_add_property(vevent,
                                   icalproperty_new_description(event.description.toUtf8().constData()));
        icalcomponent_add_property(
            vevent, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT)); // a day marked, not taken
        // At 9 o'clock on the day, for the calendars that show alarms.
        icalcomponent *alarm = icalcomponent_new_valarm();
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icaltriggertype trigger = icaltriggertype_from_int(0);
        trigger.duration = icaldurationtype_from_int(9 * 3600);
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_property(alarm, icalproperty_new_description(summary.constData()));
        icalcomponent_add_component(vevent, alarm);
        bytes += laidOut(vevent);
    }
    return bytes + frame.mid(end);
}

void exportToCalendar(QWidget *parent, const QString &leadTime)
{
    QString error;
    const QStringList lines = readStock(&error);
    if (!error.isEmpty()) {
        Platform::showError(error);
        return;
    }
    if (std::none_of(lines.cbegin(), lines.cend(),
                     [](const QString &line) { return expiryDate(recordView(line).expiry).has_value(); })) {
        Platform::message(
            QStringLiteral("Aucun médicament du stock n'a de date de péremption du calendrier : "
                           "il n'y a rien à exporter."),
            kTitle, MsgIcon::Information);
        return;
    }
    LeadTimeDialog dialog(parent, leadTime);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor); // 0.8 s at 32,767 medicines
    const ExpiryCalendar calendar = expiryCalendar(lines, dialog.leadTime());
    const QByteArray bytes = icsBytes(calendar, Platform::now().toUTC());
    QApplication::restoreOverrideCursor();

    const QString suggested = inDocuments(
        QStringLiteral("Péremptions des médicaments %1.ics").arg(Platform::today().toString(Qt::ISODate)));
    QString path = askSaveFileName(parent, kTitle, suggested, {QStringLiteral("Agenda iCalendar (*.ics)")});
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".ics"), Qt::CaseInsensitive))
        path += QStringLiteral(".ics");
    if (!DurableFile::writeIntoUserFolder(path, bytes, DurableFile::Existing::Replace, &error)) {
        Platform::showError(error);
        return;
    }
    QString text = plural(calendar.dated, QStringLiteral("%1 médicament est dans l'agenda « %2 » : "),
                          QStringLiteral("%1 médicaments sont dans l'agenda « %2 », chacun avec "))
                       .arg(QFileInfo(path).fileName()) +
                   QStringLiteral("sa date de péremption et un rappel %1 avant.").arg(dialog.leadTime());
    if (calendar.undated > 0)
        text += QStringLiteral("\r\n\r\n") +
                plural(calendar.undated, QStringLiteral("%1 médicament sans date du calendrier n'y est pas."),
                       QStringLiteral("%1 médicaments sans date du calendrier n'y sont pas."));
    text += QStringLiteral("\r\n\r\nImportez ce fichier dans votre agenda : un export plus récent, importé à "
                           "son tour, met les mêmes événements à jour.");
    Platform::message(text, kTitle, MsgIcon::Information);
}
