#pragma once
// The parts of cropping that need no window: output names, free names,
// the resize size, mapping a selection onto the full-resolution picture,
// cutting and writing. Series files are read and written through
// data/SeriesStore.h.
#include "platform/ImageWriter.h"

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>


// The extension written for an item of the output format list (0 JPG,
// 1 BMP, 2 PNG, 3 TIFF), in capitals.
QString Crop_Output_Extension(int formatIndex);

// The picture extensions the wizard lists, compared in lower case.
const QStringList& Allowd_Image_fileTypes();
bool Is_Allowed_Image_File(const QString& path);

// The path of the next output: folder/base.EXT, with "_n" after the base
// when n (the number of names built before) is above 0. A '/' or '\' in the
// base becomes '_', so a name never leads out of the output folder.
QString Crop_Output_Name(const QString& folder, const QString& base, int cropNum, int formatIndex);

// The first free numbered name is Check_Exist_Path_and_Create_New
// (core/util/Helpers.h).

// The size a picture is resized to: W x H, or, keeping the proportions, the
// picture fitted inside W x H (enlarged when both ratios are above 1).
QSizeF Crop_Resize_Size(QSizeF picture, double width, double height, bool keepAspect);

// The rectangle of the full-resolution picture under a rectangle of the
// preview (preview pixels), clipped to the picture; empty when nothing of it
// lies on the picture.
QRect Crop_Full_Rect(const QRectF& previewRect, QSize previewSize, QSize fullSize);

// The format a path's extension names, JPEG for every JPEG spelling; PNG for
// any other.
ImageFileFormat Crop_File_Format(const QString& path);

// Writes the picture atomically in the format of the path's extension,
// transparent areas white in every format but PNG. False with a reason
// when the file could not be written (an existing file is then unchanged).
bool Write_Cropped_Picture(const QString& path, const QImage& picture, QString* error);
