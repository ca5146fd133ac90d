// Every barcode scans: random values of every symbology a decoder here reads
// go through the road the window uses, are written as pixels at 72, 150, 300
// and 600 DPI with the texts shown and hidden, and must be read back exactly,
// as a user's scanner would read them.
//
// The values come from our own generator with a fixed seed; ZL_SCAN_SEED
// ("clock" or a number) and ZL_SCAN_COUNT change the run (the slow label runs
// it with a seed from the clock).
#include "ScanSupport.h"

#include "common/TestSupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <mutex>

namespace {

using namespace scan;

enum class Decoder { ZXing, Zbar, Dmtx };

struct SweepSpec {
    QString type;
    Decoder decoder;
    QString zxingFormat;
    // What the reader's bytes stand for (for full-ASCII Code 39).
    QByteArray (*fromReading)(const QByteArray&) = nullptr;
    // Images below this resolution are given to the reader at three times
    // their size, pixel for pixel (0: never). dmtxread misses many symbols of
    // two pixels a module (ZXingReader reads those same images); a scanner
    // looking at the printed picture sees it larger than its pixels.
    int enlargeBelowDpi = 0;
};

struct Image {
    int value;
    int dpi;
    bool texts;
    QString path;
};

unsigned Type_Seed(const QString& type)
{
    return Sweep_Seed() ^ unsigned(qHash(type));
}

void Sweep(const std::vector<SweepSpec>& specs, const std::vector<SweepValue>& given = {})
{
    for (const Decoder d : {Decoder::ZXing, Decoder::Zbar, Decoder::Dmtx}) {
        const char* tool = d == Decoder::ZXing ? "ZXingReader" : d == Decoder::Zbar ? "zbarimg" : "dmtxread";
        bool used = false;
        for (const SweepSpec& s : specs)
            used = used || s.decoder == d;
        if (used) {
            ASSERT_TRUE(testsupport::Tool_Available(QString::fromLatin1(tool))) << tool << " is needed";
        }
    }
    const int jobs = Sweep_Jobs();
    for (const SweepSpec& spec : specs) {
        SCOPED_TRACE(spec.type.toStdString());
        QElapsedTimer timer;
        timer.start();
        Rng rng(Type_Seed(spec.type));
        const std::vector<SweepValue> values = given.empty() ? Random_Values(spec.type, rng, Sweep_Count(200)) : given;
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        if (qEnvironmentVariableIsSet("ZL_SCAN_KEEP")) {   // to look at the images of a failure
            dir.setAutoRemove(false);
            std::fprintf(stderr, "images kept in %s\n", qPrintable(dir.path()));
        }
        std::vector<Image> images;
        for (int v = 0; v < int(values.size()); ++v)
            for (int dpi : Sweep_Dpis())
                for (bool texts : {true, false})
                    images.push_back({v, dpi, texts,
                                      dir.filePath(QStringLiteral("%1-%2-%3.png").arg(v).arg(dpi).arg(texts ? "t" : "n"))});

        std::mutex m;
        std::vector<std::string> notMade;
        Parallel_For(int(images.size()), jobs, [&](int i) {
            const Image& im = images[size_t(i)];
            const SweepValue& sv = values[size_t(im.value)];
            BarcodeSettings s = Sweep_Settings(spec.type, im.texts, im.dpi);
            s.dm_encoding = sv.dmEncoding;
            QImage pixels = Render_Through_Road(s, sv.typed, im.dpi);
            if (!pixels.isNull() && im.dpi < spec.enlargeBelowDpi)
                pixels = pixels.scaled(pixels.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            if (pixels.isNull() || !pixels.save(im.path, "PNG")) {
                std::lock_guard<std::mutex> lock(m);
                notMade.push_back(Show(sv.typed.toUtf8()));
            }
        });
        for (const std::string& v : notMade)
            ADD_FAILURE() << "no image for " << v;
        const qint64 renderMs = timer.elapsed();

        QStringList files;
        for (const Image& im : images)
            files << im.path;
        Readings read;
        switch (spec.decoder) {
        case Decoder::ZXing: read = ZXing_Read(files, spec.zxingFormat, jobs); break;
        case Decoder::Zbar: read = Zbar_Read(files, jobs); break;
        case Decoder::Dmtx: read = Dmtx_Read(files, jobs); break;
        }

        // Failures by resolution and texts, with a few of the values.
        std::map<std::pair<int, bool>, std::vector<std::string>> failed;
        for (const Image& im : images) {
            const SweepValue& sv = values[size_t(im.value)];
            const auto it = read.find(im.path);
            QByteArray got = it == read.end() ? QByteArray() : it->second;
            if (spec.fromReading && it != read.end())
                got = spec.fromReading(got);
            if (it == read.end() || got != sv.expected) {
                std::string what = "[" + Show(sv.expected) + "]";
                if (sv.dmEncoding)
                    what += " encodation " + std::to_string(sv.dmEncoding);
                what += it == read.end() ? " not read" : " read as [" + Show(got) + "]";
                failed[{im.dpi, im.texts}].push_back(what);
            }
        }
        for (const auto& [key, list] : failed) {
            std::string examples;
            for (size_t i = 0; i < list.size() && i < 6; ++i)
                examples += "\n    " + list[i];
            ADD_FAILURE() << spec.type.toStdString() << " at " << key.first << " DPI, texts "
                          << (key.second ? "on" : "off") << ": " << list.size() << " of " << values.size()
                          << " not read back" << examples;
        }
        std::fprintf(stderr, "%s: %zu images, rendered in %.1f s, read in %.1f s\n",
                     qPrintable(spec.type), images.size(), renderMs / 1000.0,
                     (timer.elapsed() - renderMs) / 1000.0);
    }
}

TEST(ScanSweep, Code39AndExtended)
{
    Sweep({{QStringLiteral("Code 39"), Decoder::ZXing, QStringLiteral("Code39")},
           {QStringLiteral("Extended Code 39"), Decoder::ZXing, QStringLiteral("Code39"), &From_Full_Ascii}});
}

TEST(ScanSweep, Codabar)
{
    Sweep({{QStringLiteral("Codabar"), Decoder::Zbar, QString()}});
}

TEST(ScanSweep, InterleavedTwoOfFive)
{
    Sweep({{QStringLiteral("Interleaved 2 of 5"), Decoder::ZXing, QStringLiteral("ITF")}});
}

TEST(ScanSweep, Code128EverySet)
{
    Sweep({{QStringLiteral("Code 128"), Decoder::ZXing, QStringLiteral("Code128")},
           {QStringLiteral("Code 128 SET A"), Decoder::ZXing, QStringLiteral("Code128")},
           {QStringLiteral("Code 128 SET B"), Decoder::ZXing, QStringLiteral("Code128")},
           {QStringLiteral("Code 128 SET C"), Decoder::ZXing, QStringLiteral("Code128")}});
}

TEST(ScanSweep, UPCAndEAN)
{
    Sweep({{QStringLiteral("UPCA"), Decoder::ZXing, QStringLiteral("UPC-A")},
           {QStringLiteral("UPCE"), Decoder::ZXing, QStringLiteral("UPC-E")},
           {QStringLiteral("EAN-13"), Decoder::ZXing, QStringLiteral("EAN-13")},
           {QStringLiteral("EAN-8"), Decoder::ZXing, QStringLiteral("EAN-8")}});
}

TEST(ScanSweep, QRCode)
{
    Sweep({{QStringLiteral("QR Code"), Decoder::ZXing, QStringLiteral("QRCode")}});
}

TEST(ScanSweep, PDF417)
{
    Sweep({{QStringLiteral("PDF417"), Decoder::ZXing, QStringLiteral("PDF417")}});
}

TEST(ScanSweep, DataMatrixBothReaders)
{
    Sweep({{QStringLiteral("DataMatrix"), Decoder::ZXing, QStringLiteral("DataMatrix")},
           {QStringLiteral("DataMatrix"), Decoder::Dmtx, QString(), nullptr, 100}});
}

// Encodations the Data Matrix library gets wrong: C40 and Text with bytes
// above 127 (its upper shift there reads back as other bytes, 0x80 inside the
// emoji's UTF-8 form above all), and its own choice of EDIFACT for a value
// whose last group is not whole (the last character read back as another).
TEST(ScanSweep, DataMatrixEncodationsTheLibraryGetsWrong)
{
    std::vector<SweepValue> values;
    for (const QString& v : {QStringLiteral("{;I[[i\\,CF+:%ATU"), QStringLiteral("ABC,DEF+:%ATUV")})
        values.push_back({v, v.toUtf8(), 0});
    for (int encoding : {2, 3})
        for (const QString& v : {QStringLiteral("\U0001F600"), QStringLiteral("AB\U0001F600CD"),
                                 QStringLiteral("\u0080"), QStringLiteral("LABEL \u00e9\u00e9 42"),
                                 QStringLiteral("x\U0001F600\U0001F600yz0747403")})
            values.push_back({v, v.toUtf8(), encoding});
    Sweep({{QStringLiteral("DataMatrix"), Decoder::ZXing, QStringLiteral("DataMatrix")},
           {QStringLiteral("DataMatrix"), Decoder::Dmtx, QString(), nullptr, 100}},
          values);
}

} // namespace
