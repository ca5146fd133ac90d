// A keystroke in the barcode value field: encode, lay out, draw and show the
// preview. Goals: within one frame (16 ms) for every linear symbology with a
// short value; under 50 ms for a Code 128 value of 5,000 characters.
#include "BenchWindow.h"
#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/panes/BarcodePreview.h"
#include "barcode/generation/panes/SymbologyPane.h"
#include "mainwindow/LMNWindowController.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <benchmark/benchmark.h>


namespace {

LMNWindowController& window() { return Bench_Window(); }

// One typed character: the field changes, the road encodes and lays out the
// symbol, and the preview is painted on the screen.
void Keystroke(BarcodeModeView& w, QLineEdit* field, const QString& text)
{
    field->setText(text);
    emit field->textEdited(text);
    w.preview()->imageView()->repaint();
    QApplication::processEvents();
}

void Choose(BarcodeModeView& w, QLineEdit* field, const Symbology& s, const QString& value)
{
    field->setText(value);
    w.symbologyPane()->chooseType(s.name());
    QApplication::processEvents();
}

void BM_KeystrokeToPreview(benchmark::State& state)
{
    BarcodeModeView& w = *window().barcodeModeView();
    const Symbology& s = *Symbology_At(int(state.range(0)));
    auto* field = w.findChild<QLineEdit*>("dataText");
    Choose(w, field, s, s.sampleValue());
    const QString a = s.sampleValue();
    for (auto _ : state)
        Keystroke(w, field, a);
    state.SetLabel(w.Preview_Is_Blank() ? std::string(s.title) + " (blank)" : s.title);
}
// The 19 linear and postal symbologies come first in the table.
BENCHMARK(BM_KeystrokeToPreview)->DenseRange(0, 18)->Unit(benchmark::kMillisecond);

// Typing at the end of a Code 128 value of 5,000 characters: goal under 50 ms
// from the keystroke to the painted preview.
void BM_KeystrokeLongCode128(benchmark::State& state)
{
    BarcodeModeView& w = *window().barcodeModeView();
    auto* field = w.findChild<QLineEdit*>("dataText");
    QString value;
    for (int i = 0; value.size() < state.range(0); ++i)
        value += QStringLiteral("Zorv-%1 ").arg(i);
    value.truncate(state.range(0) - 1);
    Choose(w, field, Symbology_Of(SymbologyId::Code128), value);
    int n = 0;
    for (auto _ : state)
        Keystroke(w, field, value + QLatin1Char(char('a' + n++ % 26)));
    state.SetLabel(w.Preview_Is_Blank() ? "blank" : "Code 128");
}
BENCHMARK(BM_KeystrokeLongCode128)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Close_Bench_Window();
    return 0;
}
