#pragma once
// Barcode pictures made through the off-screen barcode view: vector pictures
// sized in points (bars stay bars at any resolution), and the PDF data of a
// barcode. Each works on the calling thread from the settings value given.
#include "barcode/engines/view/ZBBarcodeOffscreenView.h"

#include <QByteArray>

class ZBBarcode;

// The picture of a linear or postal symbol; null when it cannot be made
// (an empty frame).
PtImage imageFromBarcode(const ZBBarcode& barcode, const BarcodeSettings& settings);
PtImage imageFromBarcode(const LinearSymbol& symbol, const BarcodeSettings& settings);

// A ready 2D image framed with the settings' header and footer, in the frame
// `settings.width` x `settings.height`; null for a null image.
PtImage imageFromBarcodeImage(const PtImage& image, const BarcodeSettings& settings);

// The PDF data of a linear symbol over the view's bounds; empty on failure.
QByteArray pdfFromBarcode(const ZBBarcode& barcode, const BarcodeSettings& settings);

// The picture of a view over its bounds; null when the bounds are empty.
PtImage Image_Of_View(const ZBBarcodeOffscreenView& view);
