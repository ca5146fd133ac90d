#include "print/PrinterList.h"

#include "platform/Numbers.h"
#include "print/SheetLayout.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {
// Test seam: the printer names tests give every window in place of the system's.
std::function<QStringList()>& provider()
{
    static std::function<QStringList()> p;
    return p;
}
} // namespace

QStringList Printer_Names()
{
    if (provider())
        return provider()();
    QStringList names = QPrinterInfo::availablePrinterNames();
    const QString def = QPrinterInfo::defaultPrinterName();
    if (!def.isEmpty() && names.removeAll(def) > 0)
        names.prepend(def);
    return names;
}

void Set_Printer_Names_Provider(std::function<QStringList()> p)
{
    provider() = std::move(p);
}

QPageLayout Printer_Page_Layout(const QString& printerName, const QPageLayout& wanted)
{
    QPageLayout layout(wanted.pageSize(), wanted.orientation(), QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    if (printerName.isEmpty())
        return layout;
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (info.isNull())
        return layout;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageSize(wanted.pageSize());
    printer.setPageOrientation(wanted.orientation());
    const QPageLayout real = printer.pageLayout();
    const QMarginsF m = real.minimumMargins();
    layout.setMinimumMargins(QMarginsF(0, 0, 0, 0));
    layout.setMargins(QMarginsF(std::max(0.0, m.left()), std::max(0.0, m.top()),
                                std::max(0.0, m.right()), std::max(0.0, m.bottom())));
    return layout;
}

QString Paper_Name_Of(const QPageLayout& layout)
{
    const QRectF mm = layout.fullRect(QPageLayout::Millimeter);
    const QString name = Find_Papaer_Name_From_Size(Format_Fixed_C(mm.width(), 2),
                                                    Format_Fixed_C(mm.height(), 2));
    return name.isEmpty() ? layout.pageSize().name() : name;
}

std::unique_ptr<QPrinter> Make_Printer(const PrintInfo& info)
{
    std::unique_ptr<QPrinter> printer;
    if (info.jobDisposition == QLatin1String("save")) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(info.savePath);
    } else {
        const QPrinterInfo pi = info.printerName.isEmpty() ? QPrinterInfo::defaultPrinter()
                                                           : QPrinterInfo::printerInfo(info.printerName);
        printer = pi.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                              : std::make_unique<QPrinter>(pi, QPrinter::HighResolution);
    }
    printer->setFullPage(true);
    QPageLayout layout(info.pageLayout.pageSize(), info.pageLayout.orientation(),
                       QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    layout.setMinimumMargins(QMarginsF(0, 0, 0, 0));
    if (!printer->setPageLayout(layout)) {
        printer->setPageSize(layout.pageSize());
        printer->setPageOrientation(layout.orientation());
    }
    printer->setCreator(QStringLiteral("Zorv Label"));
    return printer;
}
