#include "data/barcodelist/ListTransfer.h"

#include "core/canvas/LMNZoomingScrollView.h"
#include "core/util/FileChoosers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "data/barcodelist/BarcodeListFiles.h"
#include "data/barcodelist/ListDialogs.h"
#include "data/series/SeriesJob.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QObject>
#include <QPixmap>
#include <QWidget>

#include <algorithm>

Barcode_List_Transfer::Barcode_List_Transfer(BarcodeListModel& list, QWidget* host, std::function<QImage()> banner)
    : m_list(list), m_host(host), m_banner(std::move(banner))
{
}

bool Barcode_List_Transfer::Import_List_Button()
{
    const QString path = chooseImportFile
                             ? chooseImportFile()
                             : Choose_Open_File(m_host, QObject::tr("Import List"),
                                                QObject::tr("Lists (*.txt *.TXT *.rtf *.RTF *.csv *.CSV)"));
    if (path.isEmpty())
        return false;
    return Load_text_file_Func(path);
}

namespace {

// The worker's part of the text import: reads the file into the placer,
// reporting its bytes as progress. False when the file does not open.
bool Load_text_file_Thread(const QString& path, List_File_Reader& reader, List_Import_Placer& placer,
                           Series_Progress& job)
{
    if (!reader.open(path))
        return false;
    job.total = std::max<qint64>(1, reader.bytesTotal());
    Import_List_Lines(reader, placer, job);
    return true;
}

} // namespace

bool Barcode_List_Transfer::Load_text_file_Func(const QString& startPath)
{
    prev_list_item_barcode = m_list.count();
    Import_From_Txt_File* box = Import_From_Txt_File::defaultInstance();
    if (box->Open_Wnd(startPath) != 1)
        return false;
    const QString path = box->path();
    const List_Import_Options options = box->options();
    if (options.overwrite_text_load_row)
        prev_list_item_barcode = 0;

    List_File_Reader reader;
    List_Import_Placer placer(m_list, options);
    bool opened = false;
    Run_Series_Job(m_host ? m_host->window() : nullptr, QObject::tr("Importing the list..."),
                   [&](Series_Progress& job) { opened = Load_text_file_Thread(path, reader, placer, job); });
    if (listChanged)
        listChanged();
    if (!opened) {
        Show_MessageBox(List_File_Invalid_Message + QLatin1Char('\n') + reader.error());
        return false;
    }
    QString notes = List_Import_Notes(reader, placer);
    if (!reader.error().isEmpty())
        notes = reader.error() + (notes.isEmpty() ? QString() : QLatin1Char('\n') + notes);
    if (placer.placed() == 0) {
        Show_MessageBox(List_File_Invalid_Message + (notes.isEmpty() ? QString() : QLatin1Char('\n') + notes));
        return false;
    }
    if (!notes.isEmpty())
        Show_MessageBox(notes);
    return true;
}

bool Barcode_List_Transfer::Excel_List_Button()
{
    const QString path = chooseExcelFile ? chooseExcelFile()
                                         : Choose_Open_File(m_host, QObject::tr("Import from a Spreadsheet"),
                                                            QObject::tr("Spreadsheets (*.xlsx *.XLSX)"));
    if (path.isEmpty())
        return false;
    prev_list_item_barcode = m_list.count();
    Import_Excel_Barcode* window = Import_Excel_Barcode::defaultInstance();
    window->setList(&m_list);
    window->Open_excel_Wnd(path);
    return true;
}

bool Barcode_List_Transfer::Create_List_Button()
{
    Generate_List_Barcode* window = Generate_List_Barcode::defaultInstance();
    window->setList(&m_list);
    window->Open_Wnd();
    return true;
}

QString Barcode_List_Transfer::Export_list_method_2()
{
    if (chooseExportFile)
        return chooseExportFile();
    QFileDialog panel(m_host, QObject::tr("Export List"));
    panel.setObjectName(QStringLiteral("Export_List_Panel"));
    panel.setOption(QFileDialog::DontUseNativeDialog, true);
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.setFileMode(QFileDialog::AnyFile);
    // Under the panel: the format chooser, which rewrites the extension of
    // the name typed, and the window's banner.
    auto* accessoryVC = new AccessoryViewController(&panel);
    accessoryVC->setObjectName(QStringLiteral("accessoryVC"));
    accessoryVC->placeIn(&panel);
    auto* banner = new Repeat_Image(&panel);
    banner->setObjectName(QStringLiteral("export_banner"));
    if (m_banner)
        banner->setBannerImage(QPixmap::fromImage(m_banner()));
    banner->setFixedHeight(12);
    if (auto* grid = qobject_cast<QGridLayout*>(panel.layout()))
        grid->addWidget(banner, grid->rowCount(), 0, 1, grid->columnCount());
    panel.selectFile(QObject::tr("Barcode List"));
    accessoryVC->selectFormat();
    const QString chosen = Run_Chooser(panel);
    if (m_host)
        m_host->window()->raise();
    return chosen;
}

void Barcode_List_Transfer::Export_List_Button()
{
    if (m_list.isEmpty()) {
        Show_MessageBox(QStringLiteral("List is empty."));
        return;
    }
    const QString chosen = Export_list_method_2();
    if (chosen.isEmpty())
        return;
    const QString path = List_Export_Path(chosen, nullptr);
    bool ok = false;
    QString error;
    {
        const Please_Wait_While sheet;
        ok = Export_Barcode_List(path, m_list.rows(), &error);
    }
    if (!ok) {
        Show_NSLog_Message(error);
        Show_MessageBox(QStringLiteral("Error in file accessing."));
        return;
    }
    if (exported)
        exported(path, QStringLiteral("Record has been exported successfully."));
}
