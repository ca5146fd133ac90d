#pragma once
// Picture thumbnails and the invalid-data image.
//
// The thumbnails are what the drawing core asks for through
// QuickLook::imageWithPreviewOfFileAtPath (core/util/ServiceInterfaces.h):
// Install_Image_Tools_Services() puts ours behind those calls. Picture
// items, signatures and the crop wizard all read their pictures this way.
#include "platform/PtImage.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

// Puts the image tools' thumbnails behind the core's QuickLook calls. The
// application calls it once at start-up.
void Install_Image_Tools_Services();

// A thumbnail of a picture file whose longer side is at most size.width()
// pixels (the height is not used), upright, decoded at reduced size. A file
// that is no picture gives its icon at the asked size; a damaged or oversized
// picture gives the invalid-data image; a missing file gives a null image.
QImage Thimbnail_Using_CG_Image(const QString& path, QSize size);
// The same from picture data; null when the data cannot be decoded.
QImage Thimbnail_Using_CG_Image_With_data(const QByteArray& data, QSize size);

QImage imageWithPreviewOfFileAtPath(const QString& path, QSize size, bool asIcon);
QImage imageWithPreviewOfFile_With_Data(const QByteArray& data, QSize size, bool asIcon);

// Thumbnails of many files at once, decoded on all cores; in the order given.
QList<QImage> Thumbnails_Of_Files(const QStringList& paths, int maxSide);

// "Invalid Data" in red bold 11-point type, centred on a vector picture of
// the rectangle's size.
PtImage Image_For_invalid_Data(const QRectF& rect);

// The icon that stands for a file that is not a picture.
QImage File_Icon_Image(const QString& path, QSize size);
