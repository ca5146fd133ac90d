#pragma once
// The import and export commands of the barcode list: the open and save
// panels, the windows of a text import (options box, then the file read on
// a worker while the rows are placed), of a worksheet import and of the list
// generator, and the writing of the list as text or as a workbook.
//
// It fills and writes the list it is given and knows nothing of the view
// that shows it: a command that placed rows answers true, and its caller
// then shows row 0 and binds the texts again.
#include "barcode/generation/list/BarcodeList.h"

#include <QImage>
#include <QString>

#include <functional>

class QWidget;

class Barcode_List_Transfer {
public:
    // `host`: the widget whose window the panels, the import's progress
    // and the after-export box belong to; `banner`: the picture under the
    // save panel (none when empty).
    Barcode_List_Transfer(BarcodeListModel& list, QWidget* host, std::function<QImage()> banner = {});

    // Told after an import placed its rows, before anything is said (the
    // view shows the rows and the count).
    std::function<void()> listChanged;
    // Told with the file the list was written to and what to say of it (the
    // main window shows its after-export box); nothing is shown when unset.
    std::function<void(const QString& path, const QString& message)> exported;
    // Where the open and save panels answer from (tests put choosers here).
    std::function<QString()> chooseImportFile, chooseExcelFile, chooseExportFile;
    // The row count before an import (0 when it overwrites from the start).
    int prev_list_item_barcode = 0;

    // A text, CSV or RTF file chosen and imported; true when rows were placed.
    bool Import_List_Button();
    // The options box, then the file read on a worker while the rows are
    // placed here; false when nothing was imported (the user was told why).
    bool Load_text_file_Func(const QString& path);
    // A workbook chosen and the worksheet import run; false when no file was
    // chosen.
    bool Excel_List_Button();
    // The list generator run.
    bool Create_List_Button();
    // "List is empty.", or the save panel and the list written as text or as
    // a workbook, then `exported`.
    void Export_List_Button();
    // The save panel of the export; "" when cancelled.
    QString Export_list_method_2();

private:
    BarcodeListModel& m_list;
    QWidget* m_host;
    std::function<QImage()> m_banner;
};
