#include "ReportPrinter.h"

#include "ReportRenderer.h"
#include "core/files/DurableFile.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Seam.h"
#include "core/platform/Today.h"
#include "gui/platform/FileDialogs.h"
#include "gui/platform/MessageBox.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStandardPaths>
#include <QToolBar>

#include <unistd.h>

namespace {

QWidget *activeWindow()
{
    QWidget *w = QApplication::activeModalWidget();
    return w ? w : QApplication::activeWindow();
}

// The busy pointer of a report run gives way while the user looks at a preview.
class NormalPointer
{
public:
    NormalPointer()
    {
        while (QApplication::overrideCursor()) {
            QApplication::restoreOverrideCursor();
            ++m_restored;
        }
    }
    ~NormalPointer()
    {
        for (int i = 0; i < m_restored; ++i)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }

private:
    int m_restored = 0;
};

// The folder a report's PDF goes to when it does not go to a printer, and whether it is
// the user's documents because the program's directory cannot be written.
std::pair<QString, bool> pdfFolder()
{
    const QString program = Platform::programDirectory();
    if (::access(QFile::encodeName(program).constData(), W_OK) == 0)
        return {program, false};
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    QDir().mkpath(documents);
    return {documents, true};
}

} // namespace

// The pages of a report drawn into one PDF document in memory, to be written whole.
class PdfDocument final : public ReportOutput
{
public:
    void begin(const QString &report, const ReportTemplate &layout, const ReportReplay &) override
    {
        m_report = report;
        m_template = layout;
    }
    void preview(const ReportPage &page) override { print(page); }
    void print(const ReportPage &page) override
    {
        if (!m_writer) {
            m_buffer.open(QIODevice::WriteOnly);
            m_writer = std::make_unique<QPdfWriter>(&m_buffer);
            m_writer->setTitle(m_report);
            m_writer->setCreator(QStringLiteral("Vellorin"));
            applyPageLayout(*m_writer, m_template);
            m_layout = std::make_unique<ReportLayout>(m_template, *m_writer);
            m_painter.begin(m_writer.get());
        } else {
            m_writer->newPage();
        }
        m_layout->paint(m_painter, page);
    }
    void finish() override
    {
        if (m_painter.isActive())
            m_painter.end();
    }
    bool isEmpty() const { return !m_writer; }
    QByteArray bytes()
    {
        finish();
        return m_buffer.data();
    }

private:
    QString m_report;
    ReportTemplate m_template;
    QBuffer m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<ReportLayout> m_layout;
    QPainter m_painter;
};

namespace Platform {

ReportOutput &reportOutput()
{
    return Seam<ReportOutput, ReportPrinter>::get();
}

void setReportOutput(ReportOutput *output)
{
    Seam<ReportOutput, ReportPrinter>::set(output);
}

} // namespace Platform

ReportPrinter::ReportPrinter() = default;
ReportPrinter::~ReportPrinter() = default;

QString ReportPrinter::fallbackPdfPath(const QString &report)
{
    QString name = report;
    for (QChar bad : {u':', u'/', u'\\', u'*', u'?', u'"', u'<', u'>', u'|'})
        name.replace(bad, QLatin1Char(' '));
    name = name.simplified();
    const QString base =
        QStringLiteral("%1 %2").arg(name, Platform::today().toString(QStringLiteral("yyyy-MM-dd")));
    const QDir dir(pdfFolder().first);
    QString path = dir.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2).pdf").arg(base).arg(n));
    return path;
}

void ReportPrinter::begin(const QString &report, const ReportTemplate &layout, const ReportReplay &replay)
{
    m_report = report;
    m_layout = layout;
    m_replay = replay;
    m_destination.reset();
    m_printerName.clear();
    m_printerLayout.reset();
    m_pdf.reset();
    m_failure.clear();
}

void ReportPrinter::preview(const ReportPage &page)
{
    NormalPointer pointer;
    QPrinter printer(QPrinter::HighResolution);
    applyPageLayout(printer, m_layout);
    printer.setDocName(page.report);
    QPrintPreviewDialog dialog(&printer, activeWindow());
    const QString counter = QStringLiteral("page %1 sur %2").arg(page.number).arg(page.pageCount);
    dialog.setWindowTitle(QStringLiteral("Aperçu avant impression - %1 - %2").arg(page.report, counter));
    std::unique_ptr<ReportLayout> layout;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter *target) {
        if (!layout || layout->dpi() != target->logicalDpiY())
            layout = std::make_unique<ReportLayout>(m_layout, *target);
        QPainter painter(target);
        layout->paint(painter, page);
    });
    if (auto *toolbar = dialog.findChild<QToolBar *>()) {
        // One page is shown at a time: the dialog's own counter would say "1 / 1".
        for (QAction *action : toolbar->actions()) {
            QWidget *widget = toolbar->widgetForAction(action);
            if (qobject_cast<QLineEdit *>(widget) || qobject_cast<QLabel *>(widget))
                action->setVisible(false);
        }
        toolbar->addSeparator();
        auto *label = new QLabel(counter, toolbar);
        label->setObjectName(QStringLiteral("pageCounter"));
        label->setContentsMargins(6, 0, 6, 0);
        toolbar->addWidget(label);
        toolbar->addSeparator();
        QAction *save = toolbar->addAction(QStringLiteral("Enregistrer en PDF…"));
        save->setObjectName(QStringLiteral("savePdf"));
        QObject::connect(save, &QAction::triggered, &dialog, [this, &page] { savePdf(page.report); });
    }
    // Large enough to read a page: most of the screen, the page as wide as the window.
    if (const QScreen *screen = dialog.screen()) {
        const QRect room = screen->availableGeometry();
        dialog.resize(room.width() * 4 / 5, room.height() * 9 / 10);
        dialog.move(room.center() - dialog.rect().center());
    }
    if (auto *view = dialog.findChild<QPrintPreviewWidget *>())
        view->fitToWidth();
    dialog.exec();
}

void ReportPrinter::savePdf(const QString &report)
{
    QWidget *parent = activeWindow();
    const QString path = askSaveFileName(parent, QStringLiteral("Enregistrer en PDF"),
                                         fallbackPdfPath(report), {QStringLiteral("Documents PDF (*.pdf)")});
    if (path.isEmpty())
        return;
    // The whole report made again into one document, drawn in memory, then written whole: a
    // full disk leaves no cut document.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PdfDocument document;
    if (m_replay)
        m_replay(document);
    QString error;
    const bool written =
        DurableFile::writeIntoUserFolder(path, document.bytes(), DurableFile::Existing::Replace, &error);
    QApplication::restoreOverrideCursor();
    if (!written)
        Platform::showError(error);
}

ReportPrinter::Destination ReportPrinter::chooseDestination()
{
    const QPrinterInfo byDefault = QPrinterInfo::defaultPrinter();
    if (!byDefault.isNull()) {
        m_printerName = byDefault.printerName();
        return Destination::Printer;
    }
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty())
        return Destination::Pdf;
    if (printers.size() == 1) {
        m_printerName = printers.first().printerName();
        return Destination::Printer;
    }
    // Several printers and none by default: the user picks one, once for the report.
    NormalPointer pointer;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, activeWindow());
    dialog.setOptions(QAbstractPrintDialog::PrintDialogOptions());
    dialog.setWindowTitle(QStringLiteral("Imprimer - %1").arg(m_report));
    if (dialog.exec() != QDialog::Accepted || printer.printerName().isEmpty())
        return Destination::Cancelled;
    m_printerName = printer.printerName();
    return Destination::Printer;
}

void ReportPrinter::print(const ReportPage &page)
{
    if (!m_failure.isEmpty())
        return;
    if (!m_destination)
        m_destination = chooseDestination();
    switch (*m_destination) {
    case Destination::Printer:
        printOnPaper(page);
        break;
    case Destination::Pdf:
        // No printer: the pages go to one PDF file, said at the end.
        if (!m_pdf) {
            m_pdf = std::make_unique<PdfDocument>();
            m_pdf->begin(m_report, m_layout, {});
        }
        m_pdf->print(page);
        break;
    case Destination::Cancelled:
        break;
    }
}

void ReportPrinter::printOnPaper(const ReportPage &page)
{
    QPrinter printer(QPrinterInfo::printerInfo(m_printerName), QPrinter::HighResolution);
    applyPageLayout(printer, m_layout);
    printer.setCopyCount(1);
    printer.setDocName(QStringLiteral("%1 - page %2").arg(page.report).arg(page.number));
    if (!m_printerLayout || m_printerLayout->dpi() != printer.logicalDpiY())
        m_printerLayout = std::make_unique<ReportLayout>(m_layout, printer);
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_failure = QStringLiteral("L'imprimante %1 n'a pas accepté le document.").arg(m_printerName);
        return;
    }
    m_printerLayout->paint(painter, page);
    if (!painter.end())
        m_failure = QStringLiteral("L'impression sur %1 a échoué.").arg(m_printerName);
}

void ReportPrinter::finish()
{
    if (m_pdf && !m_pdf->isEmpty()) {
        // Drawn in memory, then written whole, never over another file.
        const bool documents = pdfFolder().second;
        const QString path = fallbackPdfPath(m_report);
        QString error;
        const bool written = DurableFile::writeIntoUserFolder(path, m_pdf->bytes(),
                                                              DurableFile::Existing::MustNotExist, &error);
        m_pdf.reset();
        NormalPointer pointer;
        if (written) {
            Platform::message(
                (documents
                     ? QStringLiteral("Aucune imprimante n'est installée et le dossier du programme est "
                                      "en lecture seule : le document a été enregistré dans vos "
                                      "documents, fichier\r\n%1")
                     : QStringLiteral("Aucune imprimante n'est installée : le document a été enregistré "
                                      "dans le fichier\r\n%1"))
                    .arg(QDir::toNativeSeparators(path)),
                QStringLiteral("Information"), MsgIcon::Information);
        } else {
            m_failure = QStringLiteral("Aucune imprimante n'est installée, et le document n'a pas pu être "
                                       "enregistré à la place.\r\n\r\n") +
                        error;
        }
    }
    if (!m_failure.isEmpty()) {
        NormalPointer pointer;
        Platform::showError(m_failure);
        m_failure.clear();
    }
}
