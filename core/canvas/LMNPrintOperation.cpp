#include "core/canvas/LMNPrintOperation.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

LMNPrintOperation::LMNPrintOperation(std::unique_ptr<LMNRenderingView> view, const PrintInfo& info)
    : printInfo(info), m_view(std::move(view))
{
}

void LMNPrintOperation::addPrintSettings(const QVariantMap& settings)
{
    for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
        const QString& key = it.key();
        if (key == QLatin1String("printerName"))
            printInfo.printerName = it.value().toString();
        else if (key == QLatin1String("jobDisposition"))
            printInfo.jobDisposition = it.value().toString();
        else if (key == QLatin1String("savePath"))
            printInfo.savePath = it.value().toString();
        else if (key == QLatin1String("copies"))
            copies = std::clamp(it.value().toInt(), 1, 999);
    }
}

bool LMNPrintOperation::runOperation(QString* error)
{
    // A PDF file when the settings say "save", else the printer they name
    // (the default printer when they name none).
    const bool toFile = printInfo.jobDisposition == QLatin1String("save");
    QPrinterInfo target;
    if (!toFile) {
        target = printInfo.printerName.isEmpty() ? QPrinterInfo::defaultPrinter()
                                                 : QPrinterInfo::printerInfo(printInfo.printerName);
        if (target.isNull()) {
            if (error)
                *error = QStringLiteral("No printer found.");
            return false;
        }
    } else if (printInfo.savePath.isEmpty()) {
        if (error)
            *error = QStringLiteral("No file was given to print into.");
        return false;
    }
    QPrinter printer(target, QPrinter::HighResolution);
    if (toFile) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printInfo.savePath);
    }
    printer.setFullPage(true);
    printer.setPageLayout(printInfo.pageLayout);
    return runOperationOn(printer, error);
}

bool LMNPrintOperation::runOperationOn(QPrinter& printer, QString* error)
{
    printer.setDocName(jobTitle());
    printer.setCreator(QStringLiteral("Zorv Label"));
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error)
            *error = QStringLiteral("The printer did not take the job.");
        return false;
    }
    // Points on the page: the view's origin at the printable area's corner.
    const double scale = printer.resolution() / 72.0;
    const QPointF origin = printer.pageLayout().paintRect(QPageLayout::Point).topLeft();
    const QRectF bounds = m_view->bounds();
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0 && !printer.newPage())
            break;
        painter.save();
        painter.scale(scale, scale);
        painter.translate(origin);
        painter.setClipRect(bounds);
        m_view->drawRect(painter, bounds);
        painter.restore();
    }
    return painter.end();
}
