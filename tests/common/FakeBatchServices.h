#pragma once
// A test double of the main window as the batch jobs see it. Header-only.
//
//   FakeBatchServices batch;             // becomes Batch_Services until destroyed
//   batch.rowImage = [](int row) { ... };
//   batch.state.list = {...};
// Every operation answers from the public members and counts its calls.
#include "core/util/BatchServices.h"

#include "core/util/BarcodeSettings.h"

#include <QSizeF>

#include <algorithm>

#include <functional>
#include <mutex>

class FakeBatchServices : public BatchServices {
public:
    FakeBatchServices() : m_previous(Batch_Services) { Batch_Services = this; }
    ~FakeBatchServices() override
    {
        if (Batch_Services == this) Batch_Services = m_previous;
    }

    // What the fake answers.
    BarcodeModeState state;
    std::function<PtImage(int)> rowImage;           // barcode rows
    std::function<PtImage(int)> cardImage;          // designing-mode rows
    std::function<int(int)> printQuantity;          // default: list "PQ", else 1
    int barcodeRows = 0;                            // barcode-mode rows of the count
    Batch_Row_Count designCount{true};              // the count of designing mode
    // Designing mode's count: `rows` rows of bound series, of the spreadsheet or both.
    void designRows(int rows, bool series = true, bool excel = false)
    {
        designCount = Batch_Row_Count{true};
        designCount.Use_Data_Sheet_Values = series;
        designCount.Use_Excel_Binding_Values = excel;
        designCount.Data_table_rows = series ? rows : 0;
        designCount.Excel_table_rows = excel ? rows : 0;
        designCount = designCount.only(true, true);
    }
    QStringList seriesNames;                        // series table columns
    QList<QStringList> seriesColumns;               // series table, column by column
    QSizeF cardSize{144, 72};
    QString libraryChoice;
    QWidget* host = nullptr;
    bool saveResult = true;
    PtImage invalidImage;                           // Invalid_Barcode_Data_Image
    bool typedValueValid = true;                    // Check_And_Validat_Barcode
    std::function<bool(int)> rowValid;              // default: rowImage gives an image
    int selectedRow = 0;                            // Selected_Barcode_Row

    // What the fake saw.
    mutable std::mutex mutex;
    int backups = 0, restores = 0, sideResets = 0, firstRowFills = 0;
    mutable int counts = 0;
    int validations = 0, redraws2d = 0, listFocus = 0;
    QList<int> imageRows, cardRows, selections;
    QList<QSizeF> canvasSizes;
    QStringList savedPaths, openedSeries;

    PtImage Get_Image_From_List_Val(int row) override
    {
        PtImage image = rowImage ? rowImage(row) : PtImage();
        std::lock_guard lock(mutex);
        imageRows << row;
        m_invalid = image.isNull();
        return image;
    }
    bool Invalid_Barcode_Image() const override { return m_invalid; }
    int Get_PQ_Count_Of_Index(int row) const override
    {
        if (printQuantity) return printQuantity(row);
        if (!state.listFeeds || state.seriesFeeds) return 1;
        if (row < 0 || row >= state.list.size()) return 0;
        return state.list[row].value(QStringLiteral("PQ")).trimmed().toInt();
    }
    int Count_Valid_Labels(bool withPQ, int start, int end, int cap) const override
    {
        int n = 0;
        for (int r = std::max(0, start); r < end && n < cap; ++r)
            if (const_cast<FakeBatchServices*>(this)->Check_Barcode_Value_is_Valid_in_Series(r))
                n += withPQ ? Get_PQ_Count_Of_Index(r) : 1;
        return std::min(n, cap);
    }
    void Select_First_Value_For_Barcode_Setting_Mode() override {}
    BarcodeModeState Barcode_Mode_State() const override { return state; }
    PtImage Invalid_Barcode_Data_Image() const override { return invalidImage; }

    bool Check_And_Validat_Barcode(bool, bool) override
    {
        ++validations;
        return typedValueValid;
    }
    void Draw_2d_barcode_again_for_manual() override { ++redraws2d; }
    bool Check_Barcode_Value_is_Valid_in_Series(int row) override
    {
        if (rowValid) return rowValid(row);
        return rowImage && !rowImage(row).isNull();
    }
    int Selected_Barcode_Row() const override { return selectedRow; }
    void Select_Valid_Value_For_Barcode_Setting_Mode(int row) override
    {
        selections << row;
        selectedRow = row;
    }
    void Focus_Barcode_List() override { ++listFocus; }

    PtImage Set_data_table_value_to_card(int row, const QString&, bool) override
    {
        PtImage image = cardImage ? cardImage(row) : PtImage();
        std::lock_guard lock(mutex);
        cardRows << row;
        return image;
    }
    Batch_Row_Count Check_Series_Or_Excel_Use_or_not() const override
    {
        ++counts;
        if (Barcode_Setting_Or_Designing_Mode != 0)
            return designCount;
        Batch_Row_Count c;
        c.Use_Data_Sheet_Values = state.dataSource && (state.valueChecked || state.headerChecked || state.footerChecked);
        c.seriesFeeds = c.Use_Data_Sheet_Values && state.seriesFeeds;
        c.Total_Barcode_Label_wd_Batch = barcodeRows;
        c.Total_Batch_Excel_Card = std::max(1, barcodeRows);
        c.Total_Label_Wd_PQ = 0;
        for (int r = 0; r < barcodeRows; ++r)
            c.Total_Label_Wd_PQ += c.Use_Data_Sheet_Values ? Get_PQ_Count_Of_Index(r) : 1;
        return c;
    }
    int Get_Data_SetIndex_According_Name(const QString& name) const override
    {
        for (int i = 0; i < seriesNames.size(); ++i)
            if (seriesNames[i].compare(name, Qt::CaseInsensitive) == 0) return i;
        return -1;
    }
    QString Get_sel_row_col_value_of_dataset(int row, int col) const override
    {
        if (col < 0 || col >= seriesColumns.size()) return {};
        const QStringList& c = seriesColumns[col];
        return row >= 0 && row < c.size() ? c[row] : QString();
    }
    void Open_Series_Value_Box(const QString& name) override { openedSeries << name; }
    void Select_first_row_value_for_design() override { ++firstRowFills; }

    void Set_Front_Back_Value_To_Print_Export_Mail() override { ++backups; }
    void Create_Card_Design_Again() override { ++restores; }
    void Set_Graphic_Array_According_Side() override { ++sideResets; }

    bool Save_project_file(const QString& path, bool, const QString&) override
    {
        savedPaths << path;
        return saveResult;
    }
    QSizeF Card_Size() const override { return cardSize; }
    void SetDocumentCanvasSize(QSizeF points) override
    {
        canvasSizes << points;
        cardSize = points;
    }
    QString Open_Image_Library_Window(const QString&) override { return libraryChoice; }
    QWidget* Batch_Host_Window() const override { return host; }

private:
    BatchServices* m_previous;
    bool m_invalid = false;
};
