#pragma once
// QR Code symbols for the barcode windows: a text becomes a module grid
// (DataMatrix, a square grid of QR modules) and the grid a square symbol image
// with a transparent margin, raised to the output resolution.
#include <QByteArray>
#include <QColor>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/PtImage.h"

struct BarcodeSettings;

// A square grid of QR modules addressed as (x, y): column x, row y; 1 dark.
class DataMatrix {
public:
    explicit DataMatrix(int64_t n);  // n x n light modules, n limited to 0-177

    // Stores a module; positions outside the grid are ignored.
    void set(bool value, int64_t x, int64_t y);
    // A module; false outside the grid.
    bool valueAt(int64_t x, int64_t y) const;
    // One line a row from the top, each the row's modules as "0"/"1" digits
    // from the left, each line ended by "\n".
    QString description() const;
    int64_t dimension() const { return _dimension; }

private:
    int64_t _dimension = 0;
    std::vector<signed char> _data;  // row-major
};

class QREncoder {
public:
    // AES-256-CBC (zero IV, PKCS#7 padding) of the text's UTF-8 bytes with a
    // key of the passphrase's UTF-8 bytes zero-filled to 32. Nothing when the
    // passphrase is longer than 32 bytes or the cipher fails.
    static std::optional<QByteArray> AESEncryptString(const QString& text, const QString& passphrase);
    // The reverse; nothing for a bad passphrase, a wrong key or bad padding.
    static std::optional<QString> AESDecryptString(const QByteArray& data, const QString& passphrase);

    // Encodes NUL-terminated bytes; level 0-3 (L, M, Q, H), version -1 or 0 to
    // choose, 1-40 the smallest wanted (raised when the data needs more).
    // Null when the data is empty, does not fit version 40 or a parameter is
    // out of range.
    static std::unique_ptr<DataMatrix> encodeCStringWithECLevel(int level, int version, const char* cstring);
    // The same for bytes of a given length (zero bytes included).
    static std::unique_ptr<DataMatrix> encodeBytesWithECLevel(int level, int version, const QByteArray& bytes,
                                                              int mask = -1);
    // Encrypts the text with the passphrase and encodes all of the cipher bytes.
    static std::unique_ptr<DataMatrix> encodeWithECLevel_version_string_AESPassphrase(
        int level, int version, const QString& string, const QString& passphrase);
    // Encodes the text's UTF-8 bytes (up to a NUL character).
    static std::unique_ptr<DataMatrix> encodeWithECLevel_version_string(int level, int version,
                                                                        const QString& string);

    // 0xAARRGGBB, each channel times 255 truncated.
    static uint32_t hexadecimalValueOfAnNSColor(const QColor& colour);

    // The symbol image, `imageDimension` points a side, at `dpi` (0 while the
    // user types: one pixel a point); see Render_QR_Grid.
    static PtImage renderDataMatrix(const DataMatrix* matrix, int imageDimension, double dpi);
};

// The symbol image of a grid, `imageDimension` points a side: modules of
// floor(D / n) points, dark opaque black, light opaque white, centred in a
// transparent margin (the odd point on the right and at the bottom). A side
// smaller than the grid gets one point a module and no margin. With `dpi`
// above zero (limited to 72-2400) that layout is made of whole pixels at the
// resolution, else one pixel a point. Null for an empty grid or a side below
// 1; null with `refused` set when the image would be too large.
PtImage Render_QR_Grid(const DataMatrix& matrix, int imageDimension, double dpi,
                       QString* refused = nullptr);

// The QR symbol image of a value for the generation road: level 0-3, version
// -1/0 or 1-40, `imageDimension` the side in points; at settings.USED_DPI_VALUE unless
// the user is typing (settings.Type_draw_2d_flag). Null when the value is empty or
// does not fit (`refused` then says why), so the caller keeps its previous image.
PtImage QR_Symbol_Image(const QString& value, int level, int version, int imageDimension,
                        const BarcodeSettings& settings, QString* refused = nullptr);
