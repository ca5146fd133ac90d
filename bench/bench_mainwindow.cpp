// A keystroke in the barcode value field: encode, lay out, draw and show the
// preview. Goal: within one frame (16 ms) for every linear symbology.
#include "mainwindow/AppLifetime.h"
#include "mainwindow/LMNWindowController.h"
#include "platform/MessageSink.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {
struct Sample { const char* type; const char* value; };
const Sample samples[] = {
    {"Code 39", "ZORV-12345"},           {"Extended Code 39", "Zorv-12345"},
    {"Interleaved 2 of 5", "1234567890"}, {"UPCA", "12345678901"},
    {"PostNet", "12345678901"},           {"Modified Plessey", "1234567890"},
    {"Modified Plessey (Hex)", "12AB34CD"}, {"Industrial 2 of 5", "1234567890"},
    {"EAN-13", "123456789012"},           {"Code 128", "Zorv-12345"},
    {"Code 128 SET A", "ZORV-12345"},     {"Code 128 SET B", "Zorv-12345"},
    {"Code 128 SET C", "1234567890"},     {"Codabar", "A1234567B"},
    {"UPCE", "0123456"},                  {"EAN-8", "1234567"},
    {"Royal Mail Barcode (RM4SCC / CBC)", "ZORV12345"}, {"Planet", "12345678901"},
    {"Japan Post Barcode", "1234567890"},
};

int appArgc = 1;
char name[] = "bench_mainwindow";
char* appArgv[] = {name, nullptr};
std::unique_ptr<QApplication> app;
std::unique_ptr<QTemporaryDir> home;
std::unique_ptr<LMNWindowController> w;

// The window and the application go before main returns: Qt's own globals are
// gone by the time static destructors run.
void Close_Window()
{
    w.reset();
    app.reset();
    home.reset();
}

LMNWindowController& window()
{
    if (!w) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", home->path().toLocal8Bit());
        app = std::make_unique<QApplication>(appArgc, appArgv);
        QApplication::setApplicationName("Zorv Label");
        QApplication::setOrganizationName("Zorv");
        Set_Message_Responder([](const MessageRequest&) { return 0; });
        Terminate_Application_Hook = [](int) {};
        w = std::make_unique<LMNWindowController>();
        w->show();
    }
    return *w;
}

void BM_KeystrokeToPreview(benchmark::State& state)
{
    BarcodeModeView& w = *window().barcodeModeView();
    const Sample& s = samples[state.range(0)];
    w.dataText->setText(QString::fromLatin1(s.value));
    w.barcodeTypePopup->setCurrentIndex(w.barcodeTypePopup->findText(QString::fromLatin1(s.type)));
    w.barcodeTypeChanged();
    const QString a = QString::fromLatin1(s.value);
    for (auto _ : state) {
        // What one typed character does: the field changes and the preview follows.
        w.dataText->setText(a);
        w.controlTextDidChange(w.dataText);
        benchmark::DoNotOptimize(w.Draw_Count());
    }
    state.SetLabel(w.Preview_Is_Blank() ? std::string(s.type) + " (blank)" : s.type);
}
BENCHMARK(BM_KeystrokeToPreview)->DenseRange(0, int(std::size(samples)) - 1)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Close_Window();
    return 0;
}
