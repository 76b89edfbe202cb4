#include "ReportPrinter.h"

#include "MessageBox.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Seam.h"
#include "core/platform/Today.h"
#include "core/store/DurableFile.h"
#include "gui/reports/ReportRenderer.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolBar>

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

void savePdf(const ReportTemplate &layout, const ReportPage &page, QWidget *parent)
{
    const QString suggested = ReportPrinter::fallbackPdfPath(page.report);
    const QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Enregistrer en PDF"), suggested,
                                                      QStringLiteral("Documents PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    // Drawn in memory, then written whole: a full disk leaves no cut document.
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&document);
        writer.setTitle(page.report);
        applyPageLayout(writer, layout);
        QPainter painter(&writer);
        paintReportPage(painter, writer, layout, page);
    }
    QString error;
    if (!DurableFile::write(path, document.data(), {}, &error))
        Platform::showError(error);
}

} // namespace

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
    const QDir dir(Platform::programDirectory());
    QString path = dir.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2).pdf").arg(base).arg(n));
    return path;
}

void ReportPrinter::begin(const QString &report, const ReportTemplate &layout)
{
    m_report = report;
    m_layout = layout;
    m_pdfPath.clear();
    m_failure.clear();
}

void ReportPrinter::preview(const ReportPage &page)
{
    NormalPointer pointer;
    QPrinter printer(QPrinter::HighResolution);
    applyPageLayout(printer, m_layout);
    printer.setDocName(page.report);
    QPrintPreviewDialog dialog(&printer, activeWindow());
    dialog.setWindowTitle(
        QStringLiteral("Aperçu avant impression - %1 - page %2").arg(page.report).arg(page.number));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this, &page](QPrinter *target) {
        QPainter painter(target);
        paintReportPage(painter, *target, m_layout, page);
    });
    if (auto *toolbar = dialog.findChild<QToolBar *>()) {
        toolbar->addSeparator();
        QAction *save = toolbar->addAction(QStringLiteral("Enregistrer en PDF…"));
        save->setObjectName(QStringLiteral("savePdf"));
        QObject::connect(save, &QAction::triggered, &dialog,
                         [this, &page, &dialog] { savePdf(m_layout, page, &dialog); });
    }
    dialog.exec();
}

void ReportPrinter::print(const ReportPage &page)
{
    if (!m_failure.isEmpty())
        return;
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (!printerInfo.isNull()) {
        QPrinter printer(printerInfo, QPrinter::HighResolution);
        applyPageLayout(printer, m_layout);
        printer.setCopyCount(1);
        printer.setDocName(QStringLiteral("%1 - page %2").arg(page.report).arg(page.number));
        QPainter painter;
        if (!painter.begin(&printer)) {
            m_failure =
                QStringLiteral("L'imprimante %1 n'a pas accepté le document.").arg(printerInfo.printerName());
            return;
        }
        paintReportPage(painter, printer, m_layout, page);
        if (!painter.end())
            m_failure = QStringLiteral("L'impression sur %1 a échoué.").arg(printerInfo.printerName());
        return;
    }
    // No printer: the pages go to one PDF file, said at the end.
    if (!m_pdf) {
        m_pdfPath = fallbackPdfPath(m_report);
        m_pdfDocument = std::make_unique<QBuffer>();
        m_pdfDocument->open(QIODevice::WriteOnly);
        m_pdf = std::make_unique<QPdfWriter>(m_pdfDocument.get());
        m_pdf->setTitle(m_report);
        m_pdf->setCreator(QStringLiteral("Vellorin"));
        applyPageLayout(*m_pdf, m_layout);
        m_pdfPainter = std::make_unique<QPainter>();
        m_pdfPainter->begin(m_pdf.get());
    } else {
        m_pdf->newPage();
    }
    paintReportPage(*m_pdfPainter, *m_pdf, m_layout, page);
}

void ReportPrinter::finish()
{
    if (m_pdfPainter) {
        m_pdfPainter->end();
        m_pdfPainter.reset();
        m_pdf.reset();
        // Drawn in memory, then written whole, never over another file.
        QString error;
        const bool written = DurableFile::write(m_pdfPath, m_pdfDocument->data(),
                                                {DurableFile::Existing::MustNotExist, {}}, &error);
        m_pdfDocument.reset();
        NormalPointer pointer;
        if (written) {
            Platform::message(
                QStringLiteral("Aucune imprimante n'est installée : le document a été enregistré "
                               "dans le fichier\r\n%1")
                    .arg(QDir::toNativeSeparators(m_pdfPath)),
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
