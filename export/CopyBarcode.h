#pragma once
// Copying the current barcode of barcode mode to the clipboard: as PDF (the
// barcode at its size in points, vector where it is drawn so), as a PNG at
// 300 DPI, and as the file "barcode.pdf" in the program's private temporary
// folder for programs that paste files.
#include "platform/PtImage.h"

#include <QString>

class QMimeData;

// The clipboard content for a barcode; `pdfPath` receives the file written
// ("" when it could not be written: the PDF and PNG are still there). Null
// for a null image.
QMimeData* Barcode_Clipboard_Data(const PtImage& barcode, QString* pdfPath = nullptr);

// Puts the barcode on the clipboard and says so. False for a null image.
bool Copy_Barcode_To_Clipboard(const PtImage& barcode);
