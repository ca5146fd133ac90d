#include "barcode/generation/TwoDSymbols.h"

#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/engines/pdf417/pdf417View.h"
#include "barcode/engines/grid/ModuleGrid.h"
#include "barcode/engines/qr/QREncoder.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>

extern "C" {
#include <iec16022/iec16022ecc200.h>
}

namespace {

double Output_Dpi(const BarcodeSettings& s)
{
    return s.Type_draw_2d_flag ? 0.0 : double(Clamp_Dpi(s.USED_DPI_VALUE));
}

} // namespace

const QStringList& QR_Version_Items()
{
    static const QStringList items = [] {
        QStringList l{QStringLiteral("Auto")};
        for (int v = 1; v <= 40; ++v)
            l << QStringLiteral("V%1").arg(v);
        return l;
    }();
    return items;
}

const QStringList& QR_EC_Level_Items()
{
    static const QStringList items{QStringLiteral("L (7%)"), QStringLiteral("M (15%)"),
                                   QStringLiteral("Q (25%)"), QStringLiteral("H (30%)")};
    return items;
}

const QStringList& DM_Format_Items()
{
    static const QStringList items{
        QStringLiteral("Auto"),
        QStringLiteral("C10X10"), QStringLiteral("C12X12"), QStringLiteral("C14X14"),
        QStringLiteral("C16X16"), QStringLiteral("C18X18"), QStringLiteral("C20X20"),
        QStringLiteral("C22X22"), QStringLiteral("C24X24"), QStringLiteral("C26X26"),
        QStringLiteral("C32X32"), QStringLiteral("C36X36"), QStringLiteral("C40X40"),
        QStringLiteral("C44X44"), QStringLiteral("C48X48"), QStringLiteral("C52X52"),
        QStringLiteral("C64X64"), QStringLiteral("C72X72"), QStringLiteral("C80X80"),
        QStringLiteral("C88X88"), QStringLiteral("C96X96"), QStringLiteral("C104X104"),
        QStringLiteral("C120X120"), QStringLiteral("C132X132"), QStringLiteral("C144X144"),
        QStringLiteral("C8X18"), QStringLiteral("C8X32"), QStringLiteral("C12X26"),
        QStringLiteral("C12X36"), QStringLiteral("C16X36"), QStringLiteral("C16X48"),
    };
    return items;
}

const QStringList& DM_Encoding_Items()
{
    static const QStringList items{QStringLiteral("Auto"), QStringLiteral("Ascii"),
                                   QStringLiteral("C40"), QStringLiteral("Text"),
                                   QStringLiteral("Base256")};
    return items;
}

int QR_Min_Size_For_Version(int version)
{
    return std::max(21, 4 * (version - 1) + 21);
}

int Check_And_Set_QR_size_Acc_Version(int version, int size)
{
    return std::max(size, QR_Min_Size_For_Version(version));
}

void DM_Size_From_Format(const QString& item, int& W, int& H)
{
    W = 0;
    H = 0;
    if (item == QLatin1String("Auto") || item.isEmpty())
        return;
    const QString rest = item.mid(1);
    const qsizetype x = rest.indexOf(QLatin1Char('X'));
    if (x < 0)
        return;
    H = rest.left(x).trimmed().toInt();
    W = rest.mid(x + 1).trimmed().toInt();
}

QByteArray DM_Encodation_String(int encoding, int byteCount)
{
    char letter = 0;
    switch (encoding) {
    case 1: letter = 'A'; break;
    case 2: letter = 'C'; break;
    case 3: letter = 'T'; break;
    case 4: letter = 'B'; break;
    default: return {};
    }
    return QByteArray(std::max(0, byteCount), letter);
}

namespace {

// Number of C40 (or Text) values a byte takes: one for the basic set, two
// with a shift, two more for a byte above 127 (upper shift).
int Triplet_Values(unsigned char b, bool text)
{
    int n = 0;
    if (b >= 128) {
        n = 2;
        b = static_cast<unsigned char>(b - 128);
    }
    const bool letter = text ? (b >= 'a' && b <= 'z') : (b >= 'A' && b <= 'Z');
    const bool basic = b == ' ' || (b >= '0' && b <= '9') || letter;
    return n + (basic ? 1 : 2);
}

} // namespace

namespace {

// An encodation the library encodes correctly, from one it was given or
// chose itself (a letter a data byte). Its Base256 it refuses, and its
// EDIFACT loses the last characters of a group that does not end the data
// whole, so both become ASCII. In C40 and Text its upper shift for a byte
// above 127 reads back as another byte, so those bytes go in ASCII (which
// carries them with an upper shift of its own); and each stretch of C40 or
// Text ends on a whole triplet, since a last incomplete one would be padded
// with values that decode as stray characters: the bytes after the last
// whole triplet of a stretch are encoded in ASCII too.
QByteArray Safe_Encodation(QByteArray enc, const QByteArray& data)
{
    for (char& e : enc)
        if (e == 'B' || e == 'E')
            e = 'A';
    qsizetype start = 0;
    auto closeStretch = [&](qsizetype end) {
        if (start >= end)
            return;
        const bool text = enc[start] == 'T';
        int values = 0;
        qsizetype whole = start;
        for (qsizetype i = start; i < end; ++i) {
            values += Triplet_Values(static_cast<unsigned char>(data[i]), text);
            if (values % 3 == 0)
                whole = i + 1;
        }
        for (qsizetype i = whole; i < end; ++i)
            enc[i] = 'A';
    };
    const qsizetype n = std::min(enc.size(), data.size());
    for (qsizetype i = 0; i <= n; ++i) {
        const bool packed = i < n && (enc[i] == 'C' || enc[i] == 'T');
        const bool high = i < n && static_cast<unsigned char>(data[i]) >= 128;
        if (i == n || !packed || high || enc[i] != enc[start] || !(enc[start] == 'C' || enc[start] == 'T')) {
            closeStretch(i);
            if (packed && high)
                enc[i] = 'A';
            start = (packed && !high) ? i : i + 1;
        }
    }
    return enc;
}

} // namespace

QByteArray DM_Encodation_For_Data(int encoding, const QByteArray& data)
{
    return Safe_Encodation(DM_Encodation_String(encoding, int(data.size())), data);
}

namespace {

// The library keeps no promise about running twice at once: one lock for the
// process, as the library's own state is the process's.
std::mutex dmMutex;

struct LibResult {
    unsigned char* grid = nullptr;
    int W = 0, H = 0, len = 0, max = 0, ecc = 0;
};

LibResult Run_Library(int W, int H, const QByteArray& encoding, const QByteArray& data,
                      QByteArray* autoEncoding)
{
    LibResult r;
    r.W = W;
    r.H = H;
    // The library writes a chosen encodation into a buffer of its own when
    // given none; give it a pointer to fill and free what it returns.
    QByteArray enc = encoding;
    enc.append('\0');
    char* const given = encoding.isEmpty() ? nullptr : enc.data();
    char* encPtr = given;
    QByteArray bytes = data;
    r.grid = iec16022ecc200(&r.W, &r.H, &encPtr, int(bytes.size()),
                            reinterpret_cast<unsigned char*>(bytes.data()), &r.len, &r.max, &r.ecc);
    // An encodation the library chose (or rewrote) is its own allocation.
    if (encPtr && encPtr != given) {
        if (autoEncoding)
            *autoEncoding = QByteArray(encPtr);
        std::free(encPtr);
    }
    return r;
}

// Data codewords of the largest symbol (144 x 144).
constexpr double kMaxDataCodewords = 1558.0;

bool Has_High_Bytes(const QByteArray& data)
{
    for (char c : data)
        if (static_cast<unsigned char>(c) >= 128)
            return true;
    return false;
}

// Whether ASCII data could fit the largest symbol in the densest encodation
// (two digits a codeword, three letters in two codewords). The library loses
// the encodation it chose for itself when it then finds no size for it, so
// data that cannot fit is not handed to it with no encodation.
bool Might_Fit(const QByteArray& data)
{
    double codewords = 0.0;
    for (char c : data)
        codewords += (c >= '0' && c <= '9') ? 0.5 : 2.0 / 3.0;
    return codewords <= kMaxDataCodewords;
}

} // namespace

DM_Grid Encode_Data_Matrix(const QString& value, int format, int encoding, QString* diagnostics)
{
    DM_Grid out;
    const QByteArray data = value.toUtf8();
    const QStringList& formats = DM_Format_Items();
    int W = 0, H = 0;
    if (format > 0 && format < formats.size())
        DM_Size_From_Format(formats[format], W, H);
    QByteArray enc = DM_Encodation_For_Data(encoding, data);
    // Left to choose, the library takes an encodation for bytes above 127
    // that it then cannot encode; ASCII carries them with an upper shift.
    if (enc.isEmpty() && Has_High_Bytes(data))
        enc = DM_Encodation_String(1, int(data.size()));

    LibResult r;
    r.W = W;
    r.H = H;
    if (!data.isEmpty() && data.size() <= MAXBARCODE && (!enc.isEmpty() || Might_Fit(data))) {
        std::lock_guard<std::mutex> lock(dmMutex);
        if (enc.isEmpty()) {
            // "Auto" encodation: the library's own choice, made at a size of
            // its own, then made safe (see Safe_Encodation). Asked for a size
            // the data does not fit, the library would also lose the choice.
            QByteArray chosen;
            const LibResult probe = Run_Library(0, 0, QByteArray(), data, &chosen);
            const bool fits = probe.grid != nullptr && !chosen.isEmpty();
            std::free(probe.grid);
            if (fits) {
                enc = Safe_Encodation(chosen, data);
            } else {
                r = probe;
                r.grid = nullptr;
            }
        }
        // W and H 0: the library chooses the size, square or rectangular.
        if (!enc.isEmpty())
            r = Run_Library(W, H, enc, data, nullptr);
    }
    if (!r.grid || r.W <= 0 || r.H <= 0) {
        std::free(r.grid);
        if (diagnostics) {
            *diagnostics = QStringLiteral("No barcode produced\n")
                + QStringLiteral("Size    : %1x%2\n").arg(r.W).arg(r.H)
                + QStringLiteral("Encoded : %1 of %2 bytes with %3 bytes of ecc\n").arg(r.len).arg(r.max).arg(r.ecc)
                + QStringLiteral("Barcode : %1\n").arg(QString::fromUtf8(data))
                + QStringLiteral("Encoding: %1\n").arg(QString::fromLatin1(enc));
        }
        return out;
    }
    out.W = r.W;
    out.H = r.H;
    out.cells.assign(r.grid, r.grid + size_t(r.W) * size_t(r.H));
    std::free(r.grid);
    return out;
}

PtImage Create_Data_Matrix_Image(const DM_Grid& grid, int module, bool border, double dpi,
                                 QString* refused)
{
    if (grid.isNull() || grid.W <= 0 || grid.H <= 0)
        return {};
    module = std::clamp(module, kDmModuleMin, kDmModuleMax);
    const double extra = border ? 2.0 : 0.0;
    const QSizeF points(grid.W * double(module) + extra, grid.H * double(module) + extra);
    // A one-module light border; grid row 0 is the bottom row of the symbol.
    ModuleGrid modules(grid.W, grid.H);
    for (int y = 0; y < grid.H; ++y)
        for (int x = 0; x < grid.W; ++x)
            modules.set(x, grid.H - 1 - y, grid.dark(x, y));
    const ModuleGrid framed = modules.withBorder(1);
    // Whole pixels a module, alike, at the resolution asked; one pixel a
    // module for a draft.
    dpi = dpi > 0.0 ? double(Clamp_Dpi(int(dpi))) : 72.0 * framed.columns / points.width();
    ModuleColours colours;
    colours.margin = colours.light;
    return Module_Grid_Image(framed, points, QRectF(QPointF(0, 0), points), dpi, colours, refused);
}

PtImage Draw_QR_Barcode(const QString& value, const BarcodeSettings& s, QString* reason)
{
    if (value.isEmpty())
        return {};
    const int version = s.QR_Version_Val <= 0 || s.QR_Version_Val > 40 ? -1 : s.QR_Version_Val;
    const int side = std::clamp(s.qr_size, kQrSizeMin, kQrSizeMax);
    return QR_Symbol_Image(value, std::clamp(s.QR_EC_Level_Val, 0, 3), version, side, s, reason);
}

PtImage Draw_DataMatrix_Barcode(const QString& value, const BarcodeSettings& s,
                                QString* diagnostics, QString* reason)
{
    QString why;
    const DM_Grid grid = Encode_Data_Matrix(value, s.dm_format, s.dm_encoding, &why);
    if (grid.isNull()) {
        if (!why.isEmpty())
            qInfo().noquote() << why;
        if (diagnostics)
            *diagnostics = why;
        if (reason && !value.isEmpty())
            *reason = s.dm_format > 0 ? QStringLiteral("The value does not fit the chosen Data Matrix size.")
                                      : QStringLiteral("The value is too long for the largest Data Matrix symbol.");
        return {};
    }
    return Create_Data_Matrix_Image(grid, s.dm_module, s.dm_frame_border, Output_Dpi(s), reason);
}

PtImage Draw_PDF_417_Barcode(const QString& value, const BarcodeSettings& s, QString* reason)
{
    if (value.isEmpty())
        return {};
    pdf417View view(QSizeF(std::clamp(s.pdf_width, kPdfWidthMin, kPdfWidthMax),
                           std::clamp(s.pdf_height, kPdfHeightMin, kPdfHeightMax)));
    if (s.pdf_ec_level != view.getErrorLevel())
        view.setErrorLevel(s.pdf_ec_level);
    if (view.drawWithText(value, s) != pdf417View::ImageReady) {
        if (reason) {
            *reason = view.refusedReason();
            if (reason->isEmpty()) {
                bool latin1 = true;
                for (QChar c : value)
                    latin1 = latin1 && c.unicode() <= 0xff;
                *reason = latin1 ? QStringLiteral("The value is too long for a PDF417 symbol.")
                                 : QStringLiteral("PDF417 takes Latin-1 characters only.");
            }
        }
        return {};
    }
    return view.getImage();
}
