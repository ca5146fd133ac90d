// Barcode image export: 1,000 Code 128 barcodes written as 600 DPI PNG files
// by the export job (rows through the batch services, drawn at 600 DPI and
// encoded on every core, written in row order), against the time Qt alone
// takes to write the same 1,000 images, one after the other, in the same run.
// The goal: the job within 1.5 x of Qt alone ("ratio" below).
#include "BenchMain.h"
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/BarcodeRows.h"
#include "core/util/BatchServices.h"
#include "export/ExportJobs.h"
#include "platform/MessageSink.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int Rows = 1000;

QString Value(int row)
{
    return QStringLiteral("ZL-%1").arg(row + 1, 6, 10, QLatin1Char('0'));
}

BarcodeSettings Code128()
{
    BarcodeSettings s;
    Set_Barcode_Type(s, QStringLiteral("Code 128"));
    return s;
}

// The main window as the job sees it: list rows made by the generation road.
class BenchRows : public BatchServices {
public:
    BenchRows() : m_settings(Code128())
    {
        m_state.dataSource = true;
        m_state.valueChecked = true;
        App_Services().Batch_Services = this;
    }
    ~BenchRows() override { App_Services().Batch_Services = nullptr; }
    Batch_Rows Make_Batch_Rows_Of(bool, bool) const override
    {
        std::vector<Batch_Row_Texts> texts;
        for (int r = 0; r < Rows; ++r)
            texts.push_back({Value(r), QString(), QString()});
        return std::make_shared<Barcode_Rows>(Check_Series_Or_Excel_Use_or_not(), m_settings, std::move(texts),
                                              std::vector<int>(Rows, 1), Batch_Row_Texts{Value(0), {}, {}});
    }
    void Select_First_Value_For_Barcode_Setting_Mode() override {}
    BarcodeModeState Barcode_Mode_State() const override { return m_state; }
    PtImage Invalid_Barcode_Data_Image() const override { return {}; }
    bool Check_And_Validat_Barcode(bool, bool) override { return true; }
    void Draw_2d_barcode_again_for_manual() override {}
    int Selected_Barcode_Row() const override { return 0; }
    void Select_Valid_Value_For_Barcode_Setting_Mode(int) override {}
    void Focus_Barcode_List() override {}
    void SetDocumentCanvasSize(QSizeF) override {}
    Batch_Row_Count Check_Series_Or_Excel_Use_or_not() const override
    {
        Batch_Row_Count c;
        c.Use_Data_Sheet_Values = true;
        c.Total_Barcode_Label_wd_Batch = c.Total_Batch_Excel_Card = c.Total_Label_Wd_PQ = Rows;
        return c;
    }
    void Open_Series_Value_Box(const QString&) override {}
    void Select_first_row_value_for_design() override {}
    void Set_Front_Back_Value_To_Print_Export_Mail() override {}
    void Create_Card_Design_Again() override {}
    void Set_Graphic_Array_According_Side() override {}
    bool Save_project_file(const QString&, bool, const QString&) override { return true; }
    QSizeF Card_Size() const override { return {}; }
    QString Open_Image_Library_Window(const QString&) override { return {}; }
    QWidget* Main_wnd() const override { return nullptr; }
    int Barcode_Setting_Or_Designing_Mode() const override { return 0; }
    QString Start_Card_Option() const override { return QStringLiteral("T"); }

private:
    BarcodeSettings m_settings;
    BarcodeModeState m_state;
};

void BM_Export1000PngAgainstQtAlone(benchmark::State& state)
{
    Set_Message_Responder([](const MessageRequest& r) { return r.defaultButton; });
    BenchRows rows;
    // The same images, drawn once beforehand for Qt alone.
    std::vector<QImage> images;
    images.reserve(Rows);
    const BarcodeSettings s = Code128();
    for (int r = 0; r < Rows; ++r)
        images.push_back(Make_Barcode_Image(s, Value(r), QString(), QString()).toImage(600.0));

    double qtMs = 0, jobMs = 0;
    int written = 0;
    for (auto _ : state) {
        QTemporaryDir qtDir, jobDir;
        QElapsedTimer t;
        t.start();
        for (int r = 0; r < Rows; ++r) {
            QImageWriter writer(qtDir.filePath(Value(r) + QStringLiteral(".png")), "png");
            writer.write(images[size_t(r)]);
        }
        qtMs = double(t.nsecsElapsed()) / 1e6;

        BarcodeExportJob job;
        job.rows = rows.Make_Batch_Rows();
        job.destination = jobDir.path();
        job.Total_Label = Rows;
        job.naming.file_name_exported = QStringLiteral("<BV>");
        job.naming.file_path_ext = QStringLiteral("png");
        t.restart();
        const ExportJobReport report = Run_Barcode_Export(job);
        jobMs = double(t.nsecsElapsed()) / 1e6;
        written = report.written;
        state.SetIterationTime(jobMs / 1000.0);
    }
    state.counters["qt_alone_ms"] = qtMs;
    state.counters["job_ms"] = jobMs;
    state.counters["ratio"] = jobMs / qtMs;
    state.counters["files"] = written;
    state.counters["px_per_image"] = images.empty() ? 0 : double(images[0].width()) * images[0].height();
    Set_Message_Responder({});
}
BENCHMARK(BM_Export1000PngAgainstQtAlone)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return Run_Benchmarks_In_Offscreen_App(argc, argv);
}
