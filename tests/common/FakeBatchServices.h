#pragma once
// A test double of the main window as the batch jobs see it. Header-only.
//
//   FakeBatchServices batch;             // becomes App_Services().Batch_Services until destroyed
//   batch.rowImage = [](int row) { ... };
//   batch.list = {...};
// Every operation answers from the public members and counts its calls. The
// rows of a job (Make_Batch_Rows) answer from the same members.
#include "core/util/BatchServices.h"
#include "common/FakeServices.h"

#include "core/util/BarcodeSettings.h"

#include <QSizeF>

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>

class FakeBatchServices : public BatchServices {
public:
    FakeBatchServices() : m_slot(App_Services().Batch_Services, this) {}

    // What the fake answers.
    BarcodeModeState state;
    QList<BarcodeListRow> list;                     // the barcode list ("Value", "Header", "Footer", "PQ")
    std::function<PtImage(int)> rowImage;           // barcode rows
    bool imagesOnAnyThread = false;                 // rowImage may run on workers, several at once
    std::function<PtImage(int)> cardImage;          // designing-mode rows
    std::function<PtImage()> currentImage;          // default: the row past the rows, or card -1
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
    QString startOption = QStringLiteral("T");      // Start_Card_Option
    mutable int mode = 0;                               // Barcode_Setting_Or_Designing_Mode: 1 designing mode
    bool saveResult = true;
    PtImage invalidImage;                           // Invalid_Barcode_Data_Image
    bool typedValueValid = true;                    // Check_And_Validat_Barcode
    std::function<bool(int)> rowValid;              // default: rowImage gives an image
    int selectedRow = 0;                            // Selected_Barcode_Row

    // What the fake saw.
    mutable std::mutex mutex;
    int backups = 0, restores = 0, sideResets = 0, firstRowFills = 0;
    mutable int counts = 0, rowSources = 0;
    int validations = 0, redraws2d = 0, listFocus = 0;
    mutable QList<int> imageRows, cardRows;
    QList<int> selections;
    QList<QSizeF> canvasSizes;
    QStringList savedPaths, openedSeries;

    // ---- What the rows of a job answer ----
    int pqOf(int row) const
    {
        if (printQuantity) return printQuantity(row);
        if (!state.listFeeds || state.seriesFeeds) return 1;
        if (row < 0 || row >= list.size()) return 0;
        return list[row].value(QStringLiteral("PQ")).trimmed().toInt();
    }
    bool validRow(int row) const
    {
        if (rowValid) return rowValid(row);
        return rowImage && !rowImage(row).isNull();
    }
    PtImage barcodeImage(int row) const
    {
        PtImage image = rowImage ? rowImage(row) : PtImage();
        std::lock_guard lock(mutex);
        imageRows << row;
        return image;
    }
    PtImage card(int row) const
    {
        PtImage image = cardImage ? cardImage(row) : PtImage();
        std::lock_guard lock(mutex);
        cardRows << row;
        return image;
    }

    class Rows : public Batch_Row_Source {
    public:
        Rows(const Batch_Row_Count& count, const FakeBatchServices* fake) : Batch_Row_Source(count), m_fake(fake) {}
        Batch_Row_Texts texts(int row) const override
        {
            const BarcodeModeState& s = m_fake->state;
            Batch_Row_Texts t{s.value, s.header, s.footer};
            if (row < 0 || row >= rowCount())
                return {};
            if (m_count.Use_Data_Sheet_Values && row < m_fake->list.size()) {
                const BarcodeListRow& r = m_fake->list[row];
                if (s.valueChecked) t.value = r.value(QStringLiteral("Value"));
                if (s.headerChecked) t.header = r.value(QStringLiteral("Header"));
                if (s.footerChecked) t.footer = r.value(QStringLiteral("Footer"));
            }
            return {t.value.trimmed(), t.header.trimmed(), t.footer.trimmed()};
        }
        QString seriesValue(int row, const QString& series) const override
        {
            const int col = int(m_fake->seriesNames.indexOf(series));
            if (col < 0 || col >= m_fake->seriesColumns.size()) return {};
            const QStringList& c = m_fake->seriesColumns[col];
            return row >= 0 && row < c.size() ? c[row] : QString();
        }
        int printQuantity(int row) const override
        {
            if (row < 0 || row >= rowCount()) return 0;
            return m_count.Use_Data_Sheet_Values ? std::max(1, m_fake->pqOf(row)) : 1;
        }
        PtImage image(int row) const override
        {
            return m_count.designing ? m_fake->card(row) : m_fake->barcodeImage(row);
        }
        PtImage currentImage() const override
        {
            if (m_fake->currentImage) return m_fake->currentImage();
            return m_count.designing ? m_fake->card(-1) : m_fake->barcodeImage(rowCount());
        }
        bool givesImage(int row) const override { return m_fake->validRow(row); }
        bool imagesOnAnyThread() const override { return m_fake->imagesOnAnyThread; }

    private:
        const FakeBatchServices* m_fake;
    };

    // The rows of a job of either mode, whatever the mode flag says.
    Batch_Rows jobRows(bool designing) const
    {
        const int was = mode;
        mode = designing ? 1 : 0;
        Batch_Rows rows = Make_Batch_Rows();
        mode = was;
        return rows;
    }

    // ---- BatchServices ----
    Batch_Row_Count Check_Series_Or_Excel_Use_or_not() const override
    {
        ++counts;
        if (mode != 0)
            return designCount;
        Batch_Row_Count c;
        c.Use_Data_Sheet_Values = state.dataSource && (state.valueChecked || state.headerChecked || state.footerChecked);
        c.seriesFeeds = c.Use_Data_Sheet_Values && state.seriesFeeds;
        c.Total_Barcode_Label_wd_Batch = barcodeRows;
        c.Total_Batch_Excel_Card = std::max(1, barcodeRows);
        c.Total_Label_Wd_PQ = 0;
        for (int r = 0; r < barcodeRows; ++r)
            c.Total_Label_Wd_PQ += c.Use_Data_Sheet_Values ? std::max(1, pqOf(r)) : 1;
        return c;
    }
    Batch_Rows Make_Batch_Rows_Of(bool series, bool excel) const override
    {
        ++rowSources;
        Batch_Row_Count c = Check_Series_Or_Excel_Use_or_not();
        if (c.designing)
            c = c.only(series, excel);
        return std::make_shared<const Rows>(c, this);
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
    int Selected_Barcode_Row() const override { return selectedRow; }
    void Select_Valid_Value_For_Barcode_Setting_Mode(int row) override
    {
        selections << row;
        selectedRow = row;
    }
    void Focus_Barcode_List() override { ++listFocus; }

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
    QWidget* Main_wnd() const override { return host; }
    int Barcode_Setting_Or_Designing_Mode() const override { return mode; }
    QString Start_Card_Option() const override { return startOption; }

private:
    Scoped_Service<BatchServices> m_slot;
};
