#include "ScanSupport.h"

#include "barcode/generation/BarcodeRoad.h"
#include "common/TestSupport.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

namespace scan {

unsigned Sweep_Seed()
{
    static const unsigned seed = [] {
        const QByteArray env = qgetenv("ZL_SCAN_SEED");
        unsigned s = 20240611u;
        if (env == "clock")
            s = unsigned(QDateTime::currentMSecsSinceEpoch() & 0x7fffffff);
        else if (!env.isEmpty())
            s = env.toUInt();
        std::fprintf(stderr, "scan sweep seed %u (replay with ZL_SCAN_SEED=%u)\n", s, s);
        return s;
    }();
    return seed;
}

int Sweep_Count(int fallback)
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("ZL_SCAN_COUNT", &ok);
    return ok && n > 0 ? n : fallback;
}

int Sweep_Jobs()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("ZL_JOBS", &ok);
    return ok && n > 0 ? std::min(n, 3) : 2;
}

const std::vector<int>& Sweep_Dpis()
{
    static const std::vector<int> dpis{72, 150, 300, 600};
    return dpis;
}

QByteArray Rng::From(const QByteArray& alphabet, int length)
{
    QByteArray s;
    s.reserve(length);
    for (int i = 0; i < length; ++i)
        s.append(alphabet[Int(0, int(alphabet.size()) - 1)]);
    return s;
}

QByteArray Range(int from, int to)
{
    QByteArray a;
    for (int c = from; c <= to; ++c)
        a.append(char(c));
    return a;
}

namespace {

// Modulo-10 check digit of the retail codes: weights 3, 1, 3, ... from the
// rightmost digit.
char Retail_Check(const QByteArray& digits)
{
    int sum = 0;
    int w = 3;
    for (qsizetype i = digits.size(); i-- > 0; w = 4 - w)
        sum += w * (digits[i] - '0');
    return char('0' + (10 - sum % 10) % 10);
}

// The UPC-A digits (without check) a UPC-E value stands for.
QByteArray UPCE_Expanded(const QByteArray& e)
{
    const QByteArray d = e.mid(1, 6);   // d1..d6 at 0..5
    const QByteArray s = e.left(1);
    switch (d[5]) {
    case '0': case '1': case '2': return s + d.mid(0, 2) + d[5] + "0000" + d.mid(2, 3);
    case '3': return s + d.mid(0, 3) + "00000" + d.mid(3, 2);
    case '4': return s + d.mid(0, 4) + "00000" + d[4];
    default: return s + d.mid(0, 5) + "0000" + d[5];
    }
}

// A UPC-E value that has a UPC-E form: the digit before the suppressed zeros
// is one no shorter form takes.
QByteArray Random_UPCE(Rng& rng)
{
    QByteArray e = QByteArray::number(rng.Int(0, 1)) + rng.Digits(6);
    const char last = e[6];
    if (last == '3')
        e[3] = char('3' + rng.Int(0, 6));
    else if (last == '4')
        e[4] = char('1' + rng.Int(0, 8));
    else if (last >= '5')
        e[5] = char('1' + rng.Int(0, 8));
    return e;
}

SweepValue Same(const QByteArray& v)
{
    return {QString::fromLatin1(v), v, 0};
}

QByteArray Digits_Padded(const QByteArray& v)
{
    return v.size() % 2 ? "0" + v : v;
}

// Pieces of text that exercise the 2D encoders' modes.
QString Random_Text(Rng& rng, int maxLen, bool unicode)
{
    static const std::vector<QString> wide{QStringLiteral("\u00e9"), QStringLiteral("\u00fc"),
                                           QStringLiteral("\u4e2d\u6587"), QStringLiteral("\u20ac"),
                                           QStringLiteral("\U0001F600"), QStringLiteral("\u00df")};
    QString s;
    const int len = rng.Int(1, maxLen);
    while (s.size() < len) {
        switch (rng.Int(0, unicode ? 4 : 3)) {
        case 0: s += QString::fromLatin1(rng.Digits(rng.Int(1, 12))); break;
        case 1: s += QString::fromLatin1(rng.From("ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:", rng.Int(1, 10))); break;
        case 2: s += QString::fromLatin1(rng.From(Range(32, 126), rng.Int(1, 10))); break;
        case 3: s += QString::fromLatin1(rng.From("abcdefghijklmnopqrstuvwxyz", rng.Int(1, 8))); break;
        default: s += rng.Pick(wide); break;
        }
    }
    return s;
}

} // namespace

std::vector<SweepValue> Random_Values(const QString& type, Rng& rng, int count)
{
    std::vector<SweepValue> out;
    const QByteArray code39 = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    while (int(out.size()) < count) {
        const int i = int(out.size());
        if (type == QLatin1String("Code 39")) {
            // Lower case is written in upper case.
            QByteArray v = rng.From(code39 + "abcxyz", rng.Int(1, 20));
            out.push_back({QString::fromLatin1(v), v.toUpper(), 0});
        } else if (type == QLatin1String("Extended Code 39")) {
            out.push_back(Same(rng.From(Range(0, 127), rng.Int(1, 14))));
        } else if (type == QLatin1String("Codabar")) {
            // zbarimg reads no Codabar symbol of fewer than four characters.
            const QByteArray ends = "ABCD";
            QByteArray v = ends[rng.Int(0, 3)] + rng.From("0123456789-$:/.+", rng.Int(2, 16)) + ends[rng.Int(0, 3)];
            out.push_back(Same(v));
        } else if (type == QLatin1String("Interleaved 2 of 5")) {
            // An odd length is read with the '0' the symbol puts in front.
            const QByteArray v = rng.Digits(rng.Int(6, 30));
            out.push_back({QString::fromLatin1(v), Digits_Padded(v), 0});
        } else if (type == QLatin1String("Code 128")) {
            QByteArray v;
            switch (i % 5) {
            case 0: v = rng.Digits(2 * rng.Int(1, 12)); break;
            case 1: v = rng.Digits(2 * rng.Int(0, 10) + 1); break;
            case 2: v = rng.From(Range(32, 127), rng.Int(1, 20)); break;
            case 3: v = rng.From(Range(0, 95), rng.Int(0, 14)) + "\t" + rng.From(Range(32, 95), rng.Int(0, 4)); break;
            default: v = rng.From("ABCDEFGHIJ0123456789 abcdefghij", rng.Int(1, 20)); break;
            }
            out.push_back(Same(v));
        } else if (type == QLatin1String("Code 128 SET A")) {
            QByteArray v = rng.From(Range(0, 95), rng.Int(1, 18));
            if (rng.Chance(30))
                v.insert(rng.Int(0, int(v.size())), '\t');
            out.push_back(Same(v));
        } else if (type == QLatin1String("Code 128 SET B")) {
            out.push_back(Same(rng.From(Range(32, 127), rng.Int(1, 18))));
        } else if (type == QLatin1String("Code 128 SET C")) {
            const QByteArray v = rng.Digits(rng.Int(1, 30));
            out.push_back({QString::fromLatin1(v), Digits_Padded(v), 0});
        } else if (type == QLatin1String("UPCA")) {
            QByteArray v = rng.Digits(11);
            const QByteArray full = v + Retail_Check(v);
            out.push_back({QString::fromLatin1(rng.Chance(25) ? full : v), full, 0});
        } else if (type == QLatin1String("UPCE")) {
            const QByteArray v = Random_UPCE(rng);
            out.push_back({QString::fromLatin1(v), v + Retail_Check(UPCE_Expanded(v)), 0});
        } else if (type == QLatin1String("EAN-13")) {
            const QByteArray v = rng.Digits(12);
            out.push_back({QString::fromLatin1(v), v + Retail_Check(v), 0});
        } else if (type == QLatin1String("EAN-8")) {
            const QByteArray v = rng.Digits(7);
            const QByteArray full = v + Retail_Check(v);
            out.push_back({QString::fromLatin1(rng.Chance(25) ? full : v), full, 0});
        } else if (type == QLatin1String("QR Code")) {
            const QString v = Random_Text(rng, 60, true);
            out.push_back({v, v.toUtf8(), 0});
        } else if (type == QLatin1String("PDF417")) {
            QByteArray v = rng.Chance(30) ? rng.From(Range(160, 255) + Range(32, 126), rng.Int(1, 40))
                                          : Random_Text(rng, 60, false).toLatin1();
            out.push_back({QString::fromLatin1(v), v, 0});
        } else if (type == QLatin1String("DataMatrix")) {
            // Every encodation, with text beyond ASCII in each (the emoji's
            // UTF-8 form holds the byte 0x80).
            const QString v = Random_Text(rng, 50, true);
            out.push_back({v, v.toUtf8(), i % 5});
        } else {
            ADD_FAILURE_AT(__FILE__, __LINE__) << "no generator for " << type.toStdString();
            break;
        }
    }
    return out;
}

BarcodeSettings Sweep_Settings(const QString& type, bool texts, int dpi)
{
    BarcodeSettings s;
    Set_Barcode_Type(s, type);
    s.unit = 1;              // centimetres
    s.bar_height = 0.6f;     // small bars: small images
    s.hide_value = !texts;
    s.hide_header = !texts;
    s.hide_footer = !texts;
    s.HeaderText = QStringLiteral("HEADER");
    s.FooterText = QStringLiteral("FOOTER");
    s.USED_DPI_VALUE = dpi;   // 2D symbols keep their default sizes
    return s;
}

QImage Render_Through_Road(const BarcodeSettings& s, const QString& value, int dpi)
{
    const BarcodeMakeResult r = Make_Barcode(s, value, s.HeaderText, s.FooterText);
    if (r.image.isNull())
        return {};
    const QImage pixels = r.image.toImage(dpi);
    if (pixels.isNull())
        return {};
    QImage flat(pixels.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter p(&flat);
        p.drawImage(0, 0, pixels);
    }
    return flat.convertToFormat(QImage::Format_Grayscale8);
}

void Parallel_For(int n, int jobs, const std::function<void(int)>& fn)
{
    std::atomic<int> next{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < std::max(1, jobs); ++t)
        threads.emplace_back([&] {
            for (int i = next++; i < n; i = next++)
                fn(i);
        });
    for (std::thread& t : threads)
        t.join();
}

namespace {

// Splits the files into batches and runs `one` on each, `jobs` at a time.
Readings Batched(const QStringList& files, int jobs, int batchSize,
                 const std::function<Readings(const QStringList&)>& one)
{
    std::vector<QStringList> batches;
    for (qsizetype i = 0; i < files.size(); i += batchSize)
        batches.push_back(files.mid(i, batchSize));
    Readings all;
    std::mutex m;
    Parallel_For(int(batches.size()), jobs, [&](int b) {
        Readings r = one(batches[size_t(b)]);
        std::lock_guard<std::mutex> lock(m);
        all.insert(r.begin(), r.end());
    });
    return all;
}

QByteArray From_Hex_Line(const QByteArray& hex)
{
    QByteArray bytes;
    for (const QByteArray& h : hex.simplified().split(' '))
        if (!h.isEmpty())
            bytes.append(char(h.toInt(nullptr, 16)));
    return bytes;
}

} // namespace

namespace {

// One ZXingReader run over some files. False when the reader did not end
// normally (it can stop on an internal check while comparing its results).
bool ZXing_Run(const QStringList& files, const QString& format, Readings& r)
{
    // One block a file: "File: <path>" (when several are given), then
    // "Bytes: <hex>" for a symbol found. Rotated and downscaled passes are
    // left out: a user's scanner reads a symbol the right way up, and the
    // reader's check for repeated results can trip on them.
    const testsupport::ToolResult t = testsupport::Run_Tool(
        QStringLiteral("ZXingReader"), QStringList{"-norotate", "-noscale", "-format", format} + files);
    QString current = files.size() == 1 ? files.front() : QString();
    for (const QByteArray& line : t.out.split('\n')) {
        if (line.startsWith("File:")) {
            const QString name = QString::fromLocal8Bit(line.mid(5).trimmed());
            current.clear();
            for (const QString& f : files)
                if (f == name || f.endsWith(QLatin1Char('/') + name))
                    current = f;
        } else if (line.startsWith("Bytes:") && !current.isEmpty() && !r.count(current)) {
            r[current] = From_Hex_Line(line.mid(6));
        }
    }
    return t.exitCode == 0;
}

} // namespace

Readings ZXing_Read(const QStringList& files, const QString& format, int jobs)
{
    return Batched(files, jobs, 40, [&](const QStringList& batch) {
        Readings r;
        if (!ZXing_Run(batch, format, r)) {
            r.clear();
            for (const QString& f : batch)
                ZXing_Run({f}, format, r);
        }
        return r;
    });
}

Readings Zbar_Read(const QStringList& files, int jobs)
{
    return Batched(files, jobs, 40, [&](const QStringList& batch) {
        Readings r;
        // One file at a time keeps each text with its file; zbarimg is quick.
        for (const QString& f : batch) {
            const testsupport::ToolResult t =
                testsupport::Run_Tool(QStringLiteral("zbarimg"), {"-q", "--raw", "-Sbinary", f});
            if (t.exitCode != 0)
                continue;
            QByteArray out = t.out;
            if (out.endsWith('\n'))
                out.chop(1);
            r[f] = out;
        }
        return r;
    });
}

Readings Dmtx_Read(const QStringList& files, int jobs)
{
    return Batched(files, jobs, 20, [&](const QStringList& batch) {
        Readings r;
        for (const QString& f : batch) {
            // Where it finds nothing it looks again at the image shrunk by its
            // own option: it misses some symbols of many pixels a module
            // (rectangles above all) that it reads at a lower resolution.
            for (const QStringList& extra : {QStringList{}, QStringList{"-S", "2"}, QStringList{"-S", "4"}}) {
                const testsupport::ToolResult t = testsupport::Run_Tool(
                    QStringLiteral("dmtxread"), QStringList{"-N1", "-m", "4000"} + extra + QStringList{f});
                if (t.exitCode == 0 && !t.out.isEmpty()) {
                    r[f] = t.out;
                    break;
                }
            }
        }
        return r;
    });
}

std::string Show(const QByteArray& bytes)
{
    std::string s;
    for (char c : bytes) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 32 && u < 127 && u != '\\') {
            s += c;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", u);
            s += buf;
        }
    }
    return s;
}

} // namespace scan
