#include "print/PrinterList.h"

#include "core/util/SharedServices.h"
#include "platform/Numbers.h"
#include "print/SheetLayout.h"

#include "platform/MessageSink.h"

#include <QComboBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

QStringList Printer_Names()
{
    if (const auto provider = Current_Shared_Services().printerNames)
        return provider();
    QStringList names = QPrinterInfo::availablePrinterNames();
    const QString def = QPrinterInfo::defaultPrinterName();
    if (!def.isEmpty() && names.removeAll(def) > 0)
        names.prepend(def);
    return names;
}

void Set_Printer_Names_Provider(std::function<QStringList()> p)
{
    Change_Shared_Services([&](Shared_Services& s) { s.printerNames = std::move(p); });
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

namespace {

// Points in one unit of a page layout (a Didot point is 0.376 mm, a Cicero
// twelve of them).
double Points_Per_Unit(QPageLayout::Unit unit)
{
    constexpr double mm = 72.0 / 25.4;
    switch (unit) {
    case QPageLayout::Millimeter: return mm;
    case QPageLayout::Point: return 1.0;
    case QPageLayout::Inch: return 72.0;
    case QPageLayout::Pica: return 12.0;
    case QPageLayout::Didot: return 0.376 * mm;
    case QPageLayout::Cicero: return 12 * 0.376 * mm;
    }
    return 1.0;
}

// The dialog lists a printer's papers under the printer's own names and opens
// on the printer's default paper, whatever paper it is given: its paper list
// is put on the paper of the settings (the same name first, else the same
// size), so that OK alone keeps it.
void Show_Paper_Of(QPageSetupDialog& dialog, const QPageSize& paper)
{
    auto* papers = dialog.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
    if (!papers || !paper.isValid())
        return;
    const auto sizeAt = [&](int i) { return papers->itemData(i).value<QPageSize>(); };
    if (sizeAt(papers->currentIndex()).isValid() && sizeAt(papers->currentIndex()).key() == paper.key())
        return;
    int same = -1;
    for (int i = 0; i < papers->count(); ++i) {
        const QPageSize s = sizeAt(i);
        if (!s.isValid() || !s.isEquivalentTo(paper))
            continue;
        if (s.key() == paper.key()) {
            same = i;
            break;
        }
        if (same < 0)
            same = i;
    }
    if (same >= 0)
        papers->setCurrentIndex(same);
}

} // namespace

bool Run_Page_Setup(QWidget* parent, PrintInfo& info)
{
    PrintInfo native = info;
    native.jobDisposition = QStringLiteral("spool");
    const std::unique_ptr<QPrinter> printer = Make_Printer(native);
    printer->setPageMargins(info.pageLayout.margins(QPageLayout::Millimeter), QPageLayout::Millimeter);
    QPageSetupDialog dialog(printer.get(), parent);
    Show_Paper_Of(dialog, info.pageLayout.pageSize());
    if (Run_Modal_Dialog(dialog) != QDialog::Accepted)
        return false;

    const QPageLayout chosen = printer->pageLayout();
    // A standard paper under its standard name; any other as it was chosen.
    QPageSize paper = chosen.pageSize();
    if (paper.id() != QPageSize::Custom)
        paper = QPageSize(paper.id());
    QPageLayout layout(paper, chosen.orientation(), QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    layout.setMinimumMargins(QMarginsF(0, 0, 0, 0));
    // In the dialog's own unit, made points here: QPageLayout gives points
    // rounded to whole ones, and 20 mm would come back as 20.11 mm.
    const QMarginsF typed = chosen.margins() * Points_Per_Unit(chosen.units());
    const QMarginsF least = Printer_Page_Layout(info.printerName, layout).margins(QPageLayout::Point);
    layout.setMargins(QMarginsF(std::max(typed.left(), least.left()), std::max(typed.top(), least.top()),
                                std::max(typed.right(), least.right()), std::max(typed.bottom(), least.bottom())));
    info.pageLayout = layout;
    return true;
}
