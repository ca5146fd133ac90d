#pragma once
// What the scan sweep and the bar measurements share: the seed, random values
// of every symbology from our own generator, rendering through the road as
// the window and the exports do, and decoders run in parallel over batches of
// image files.
#include "common/TestSupport.h"
#include "core/util/BarcodeSettings.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <random>
#include <vector>

namespace scan {

// The seed of a run: ZL_SCAN_SEED as a number, "clock" for one taken from the
// clock, or the fixed seed when unset. The seed used is printed, so a failure
// of a clock-seeded run can be replayed.
unsigned Sweep_Seed();

// Values per symbology: ZL_SCAN_COUNT, or `fallback`.
int Sweep_Count(int fallback);

// Parallel jobs for rendering and decoding: ZL_JOBS when set (at most 3),
// else 2.
int Sweep_Jobs();

// The resolutions and text settings every value is rendered at.
const std::vector<int>& Sweep_Dpis();

class Rng {
public:
    explicit Rng(unsigned seed) : m_gen(seed) {}
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_gen); }
    bool Chance(int percent) { return Int(1, 100) <= percent; }
    QByteArray From(const QByteArray& alphabet, int length);
    QByteArray Digits(int length) { return From("0123456789", length); }
    template <typename T>
    const T& Pick(const std::vector<T>& v) { return v[size_t(Int(0, int(v.size()) - 1))]; }

private:
    std::mt19937 m_gen;
};

// Bytes from..to inclusive.
QByteArray Range(int from, int to);

// One value of a sweep: what is typed (as Latin-1 bytes for the linear
// symbologies, UTF-8 for the 2D ones) and the bytes a reader must return.
struct SweepValue {
    QString typed;
    QByteArray expected;
    int dmEncoding = 0;   // Data Matrix encodation position ("Auto" first)
};

// Random values a symbology accepts, with what a reader returns for each.
// Written from the symbologies' rules, not from the encoders.
std::vector<SweepValue> Random_Values(const QString& type, Rng& rng, int count);

// Settings for a sweep image: small bars, texts (caption, header and footer)
// shown or hidden, 2D images made at `dpi`.
BarcodeSettings Sweep_Settings(const QString& type, bool texts, int dpi);

// The image the road makes of the value, in pixels at `dpi` as the image
// exports write it, on white. Null when the road made nothing.
QImage Render_Through_Road(const BarcodeSettings& s, const QString& value, int dpi);

// Runs `fn(i)` for i in [0, n) on `jobs` threads.
void Parallel_For(int n, int jobs, const std::function<void(int)>& fn);

// What a decoder read from each file, by file path; a file it read nothing
// from is missing. Each runs the decoder over the files in `jobs` parallel
// batches.
using Readings = std::map<QString, QByteArray>;
// ZXingReader, exact bytes. `format` is a ZXing format name.
Readings ZXing_Read(const QStringList& files, const QString& format, int jobs);
// zbarimg, raw text of one symbol a file.
Readings Zbar_Read(const QStringList& files, int jobs);
// dmtxread, one file a call (it tells no file names apart); a file it
// reads nothing from is tried again with its shrink option.
Readings Dmtx_Read(const QStringList& files, int jobs);

using testsupport::From_Full_Ascii;

// A value as a test message shows it: printable ASCII as is, other bytes as \xNN.
std::string Show(const QByteArray& bytes);

} // namespace scan
