#include "barcode/engines/qr/QREncoder.h"

#include "barcode/engines/qr/QR_Encode.h"
#include "barcode/engines/grid/ModuleGrid.h"
#include "core/util/BarcodeSettings.h"
#include "platform/MessageSink.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>

// ---------------------------------------------------------------------------
// DataMatrix
// ---------------------------------------------------------------------------

DataMatrix::DataMatrix(int64_t n)
    : _dimension(std::clamp<int64_t>(n, 0, qr::MAX_MODULESIZE)),
      _data(size_t(_dimension * _dimension), 0)
{
}

void DataMatrix::set(bool value, int64_t x, int64_t y)
{
    if (x < 0 || y < 0 || x >= _dimension || y >= _dimension)
        return;
    _data[size_t(y * _dimension + x)] = value ? 1 : 0;
}

bool DataMatrix::valueAt(int64_t x, int64_t y) const
{
    if (x < 0 || y < 0 || x >= _dimension || y >= _dimension)
        return false;
    return _data[size_t(y * _dimension + x)] != 0;
}

QString DataMatrix::description() const
{
    QString out;
    out.reserve(int((_dimension + 1) * _dimension));
    for (int64_t y = 0; y < _dimension; ++y) {
        for (int64_t x = 0; x < _dimension; ++x)
            out += QLatin1Char(valueAt(x, y) ? '1' : '0');
        out += QLatin1Char('\n');
    }
    return out;
}

// ---------------------------------------------------------------------------
// Encryption
// ---------------------------------------------------------------------------

namespace {

constexpr int kKeyLength = 32;

// The key: the passphrase's UTF-8 bytes, zero-filled to 32 bytes.
bool MakeKey(const QString& passphrase, unsigned char key[kKeyLength])
{
    const QByteArray bytes = passphrase.toUtf8();
    if (bytes.size() > kKeyLength) {
        Log_Message(QStringLiteral("invalid passphrase exception: passphrase too long: %1")
                        .arg(qulonglong(bytes.size())));
        return false;
    }
    std::memset(key, 0, kKeyLength);
    std::memcpy(key, bytes.constData(), size_t(bytes.size()));
    return true;
}

std::optional<QByteArray> RunCipher(const QByteArray& input, const unsigned char key[kKeyLength], bool encrypt)
{
    const unsigned char iv[16] = {};
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    if (ctx == nullptr)
        return std::nullopt;
    QByteArray out(input.size() + 16, '\0');
    int len1 = 0, len2 = 0;
    const bool ok =
        EVP_CipherInit_ex(ctx, EVP_aes_256_cbc(), nullptr, key, iv, encrypt ? 1 : 0) == 1
        && EVP_CIPHER_CTX_set_padding(ctx, 1) == 1
        && EVP_CipherUpdate(ctx, reinterpret_cast<unsigned char*>(out.data()), &len1,
                            reinterpret_cast<const unsigned char*>(input.constData()), int(input.size())) == 1
        && EVP_CipherFinal_ex(ctx, reinterpret_cast<unsigned char*>(out.data()) + len1, &len2) == 1;
    EVP_CIPHER_CTX_free(ctx);
    if (!ok)
        return std::nullopt;
    out.resize(len1 + len2);
    return out;
}

} // namespace

std::optional<QByteArray> QREncoder::AESEncryptString(const QString& text, const QString& passphrase)
{
    unsigned char key[kKeyLength];
    if (!MakeKey(passphrase, key))
        return std::nullopt;
    return RunCipher(text.toUtf8(), key, true);
}

std::optional<QString> QREncoder::AESDecryptString(const QByteArray& data, const QString& passphrase)
{
    unsigned char key[kKeyLength];
    if (!MakeKey(passphrase, key))
        return std::nullopt;
    const std::optional<QByteArray> plain = RunCipher(data, key, false);
    if (!plain)
        return std::nullopt;
    return QString::fromUtf8(*plain);
}

// ---------------------------------------------------------------------------
// Encoding
// ---------------------------------------------------------------------------

namespace {

std::unique_ptr<DataMatrix> EncodeToGrid(int level, int version, const char* bytes, int64_t length, int mask)
{
    try {
        auto encoder = std::make_unique<CQR_Encode>();
        if (!encoder->EncodeData(level, version, true, mask, bytes, length))
            return nullptr;
        const int64_t size = encoder->m_nSymbleSize;
        auto grid = std::make_unique<DataMatrix>(size);
        for (int64_t x = 0; x < size; ++x)
            for (int64_t y = 0; y < size; ++y)
                grid->set(encoder->m_byModuleData[x][y] == 1, x, y);
        return grid;
    } catch (const std::exception& e) {
        Log_Message(QString::fromUtf8(e.what()));
        return nullptr;
    }
}

} // namespace

std::unique_ptr<DataMatrix> QREncoder::encodeCStringWithECLevel(int level, int version, const char* cstring)
{
    if (cstring == nullptr)
        return nullptr;
    return EncodeToGrid(level, version, cstring, 0, -1);
}

std::unique_ptr<DataMatrix> QREncoder::encodeBytesWithECLevel(int level, int version, const QByteArray& bytes,
                                                              int mask)
{
    if (bytes.isEmpty())
        return nullptr;
    return EncodeToGrid(level, version, bytes.constData(), bytes.size(), mask);
}

std::unique_ptr<DataMatrix> QREncoder::encodeWithECLevel_version_string_AESPassphrase(
    int level, int version, const QString& string, const QString& passphrase)
{
    const std::optional<QByteArray> cipher = AESEncryptString(string, passphrase);
    if (!cipher)
        return nullptr;
    // The cipher text may hold zero bytes: encode all of it by length.
    return encodeBytesWithECLevel(level, version, *cipher);
}

std::unique_ptr<DataMatrix> QREncoder::encodeWithECLevel_version_string(int level, int version,
                                                                        const QString& string)
{
    const QByteArray utf8 = string.toUtf8();
    return encodeCStringWithECLevel(level, version, utf8.constData());
}

uint32_t QREncoder::hexadecimalValueOfAnNSColor(const QColor& colour)
{
    const QColor c = colour.toRgb();
    auto channel = [](float f) { return uint32_t(std::clamp(int(f * 255.0f), 0, 255)); };
    return (channel(c.alphaF()) << 24) | (channel(c.redF()) << 16) | (channel(c.greenF()) << 8)
         | channel(c.blueF());
}

// ---------------------------------------------------------------------------
// Rendering
// ---------------------------------------------------------------------------

PtImage Render_QR_Grid(const DataMatrix& matrix, int imageDimension, double dpi, QString* refused)
{
    const int n = int(matrix.dimension());
    if (n <= 0 || imageDimension < 1)
        return {};
    // Too small for one point a module: one point a module, no margin.
    const int side = std::max(imageDimension, n);
    // The layout in points: whole points a module, centred, the odd point
    // on the right and at the bottom.
    const int s = side / n;
    const int m = (side - s * n) / 2;

    // At a resolution every module takes the same whole number of pixels.
    if (dpi > 0.0)
        dpi = std::clamp(dpi, 72.0, 2400.0);
    ModuleGrid grid(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            grid.set(x, y, matrix.valueAt(x, y));
    return Module_Grid_Image(grid, QSizeF(side, side), QRectF(m, m, double(s) * n, double(s) * n), dpi,
                             ModuleColours{}, refused);
}

PtImage QREncoder::renderDataMatrix(const DataMatrix* matrix, int imageDimension, double dpi)
{
    if (matrix == nullptr)
        return {};
    try {
        return Render_QR_Grid(*matrix, imageDimension, dpi);
    } catch (const std::exception& e) {
        MessageRequest request;
        request.kind = MessageKind::Warning;
        request.text = QString::fromUtf8(e.what());
        request.buttons = {QStringLiteral("OK")};
        Raise_Message(request);
        return {};
    }
}

PtImage QR_Symbol_Image(const QString& value, int level, int version, int imageDimension,
                        const BarcodeSettings& settings, QString* refused)
{
    const std::unique_ptr<DataMatrix> grid = QREncoder::encodeWithECLevel_version_string(level, version, value);
    if (!grid) {
        if (refused)
            *refused = value.isEmpty() ? QString()
                                       : QStringLiteral("The value is too long for the largest QR Code symbol at this error correction level.");
        return {};
    }
    try {
        const double dpi = settings.Type_draw_2d_flag ? 0.0 : double(settings.USED_DPI_VALUE);
        return Render_QR_Grid(*grid, imageDimension, dpi, refused);
    } catch (const std::exception& e) {
        Log_Message(QString::fromUtf8(e.what()));
        return {};
    }
}
