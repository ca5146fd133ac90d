#pragma once
// The printers the system knows, and print settings made into a printer.
#include "core/util/SharedValues.h"

#include <QStringList>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

// Names of the printers the system lists (the default printer first).
QStringList Printer_Names();
// Tests answer the list themselves; an empty function restores the system's.
void Set_Printer_Names_Provider(std::function<QStringList()> provider);

// The page layout of a printer for a paper and orientation: the printable
// area's margins become the layout's margins. No printer: margins 0.
QPageLayout Printer_Page_Layout(const QString& printerName, const QPageLayout& wanted);

// The name of a paper: the name our paper table gives its size in
// millimetres, else the page size's own name.
QString Paper_Name_Of(const QPageLayout& layout);

// A printer for the print settings: the named printer (PDF output into
// `info.savePath` for the "save" disposition), the paper and orientation of
// the settings, the whole sheet as its page (origin at the paper corner).
std::unique_ptr<QPrinter> Make_Printer(const PrintInfo& info);

// The page set-up dialog on the print settings `info`, over `parent`. It
// opens on their paper, orientation and margins; after OK `info` keeps the
// paper, orientation and margins chosen there (a margin is never smaller
// than the printer can print). False after Cancel, `info` unchanged.
bool Run_Page_Setup(QWidget* parent, PrintInfo& info);
