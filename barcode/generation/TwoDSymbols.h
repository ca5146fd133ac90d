#pragma once
// Two-dimensional symbols of the generation road: the QR Code, PDF417 and
// Data Matrix images made from a value and the 2D settings of a settings
// value, and the lists of the 2D settings controls.
#include "core/util/BarcodeSettings.h"
#include "platform/PtImage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// ---- Ranges of the 2D size controls (the road keeps values within them) ----
constexpr int kQrSizeMin = 21;        // QR image side in points
constexpr int kQrSizeMax = 2000;
constexpr int kPdfWidthMin = 20;      // PDF417 image width and height in points
constexpr int kPdfWidthMax = 2000;
constexpr int kPdfHeightMin = 5;
constexpr int kPdfHeightMax = 1000;
constexpr int kDmModuleMin = 1;       // Data Matrix module size in points
constexpr int kDmModuleMax = 20;
constexpr int kDmSideMin = 10;        // Data Matrix width and height in points
constexpr int kDmSideMax = 2000;

// ---- Lists of the 2D settings controls ("Auto" first) ----
const QStringList& QR_Version_Items();     // "Auto", "V1" ... "V40"
const QStringList& QR_EC_Level_Items();    // position = the encoder's level (L, M, Q, H)
const QStringList& DM_Format_Items();      // "Auto", 24 squares, 6 rectangles
const QStringList& DM_Encoding_Items();    // "Auto", "Ascii", "C40", "Text", "Base256"

// Smallest QR image side in points for a version position (0 "Auto" .. 40):
// 4 x (v - 1) + 21, at least 21.
int QR_Min_Size_For_Version(int version);
// The size field after a version change: raised to that minimum when smaller.
int Check_And_Set_QR_size_Acc_Version(int version, int size);

// Rows (H) and columns (W) of a Data Matrix size item ("C12X26": 12 rows,
// 26 columns); both 0 for "Auto" or an item without "X".
void DM_Size_From_Format(const QString& item, int& W, int& H);
// One encodation letter per data byte for an encodation position ("A", "C",
// "T", "B"); empty for "Auto".
QByteArray DM_Encodation_String(int encoding, int byteCount);
// The encodation given to the library for the data: as above, except that
// C40 and Text end on a whole triplet and encode the bytes after it in ASCII.
QByteArray DM_Encodation_For_Data(int encoding, const QByteArray& data);

// A Data Matrix module grid: W x H bytes, non-zero dark, row 0 at the bottom.
struct DM_Grid {
    int W = 0;
    int H = 0;
    std::vector<unsigned char> cells;
    bool isNull() const { return cells.empty(); }
    bool dark(int x, int y) const { return cells[size_t(y) * size_t(W) + size_t(x)] != 0; }
};

// Encodes the value's UTF-8 bytes at the size and encodation of the settings
// ("Auto" size: the library chooses, square or rectangular). A null grid when
// it does not fit; `diagnostics` then receives the lines that say why.
DM_Grid Encode_Data_Matrix(const QString& value, int format, int encoding,
                           QString* diagnostics = nullptr);

// The image of a grid: one module of light border on every side, dark
// modules black on white, at least `dpi` pixels an inch when `dpi` > 0
// (a whole number of pixels a module), one pixel a module otherwise. Its
// size in points is W x module (+2 with `border`) by H x module (+2); the
// module size is kept within the module control's range. Null, with
// `refused` set, when the image would be too large.
PtImage Create_Data_Matrix_Image(const DM_Grid& grid, int module, bool border, double dpi,
                                 QString* refused = nullptr);

// The 2D symbol images of a value (null when none can be made, `reason` then
// says why); `s.Type_draw_2d_flag` keeps them at screen resolution, else they are
// made at `s.USED_DPI_VALUE`.
PtImage Draw_QR_Barcode(const QString& value, const BarcodeSettings& s, QString* reason = nullptr);
PtImage Draw_PDF_417_Barcode(const QString& value, const BarcodeSettings& s,
                             QString* reason = nullptr);
PtImage Draw_DataMatrix_Barcode(const QString& value, const BarcodeSettings& s,
                                QString* diagnostics = nullptr, QString* reason = nullptr);
