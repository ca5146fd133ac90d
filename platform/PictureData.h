#pragma once
// Pictures as bytes: the checked reading of picture data that comes from
// outside (archives, the pasteboard, files) and the PNG form in which the
// program carries raster pictures.
#include <QByteArray>
#include <QImage>

// The largest picture read from data, in pixels, and the longest side.
inline constexpr qint64 Picture_Max_Pixels = 100'000'000;
inline constexpr int Picture_Max_Side = 32767;

// PNG bytes of an image (fast compression; resolution kept); empty for a null
// image or one larger than the limits above.
QByteArray Picture_To_Png(const QImage& image);

// Reads picture data after checking the size its header states against the
// limits: a null image when the data is no readable picture, states no size,
// a size of 0 or one over the limits, or decodes to another size than it
// states. `format` names the only format accepted ("png"); nullptr accepts
// any format Qt reads. The picture is not turned by its orientation tag.
QImage Picture_From_Data(const QByteArray& data, const char* format = nullptr,
                         qint64 maxPixels = Picture_Max_Pixels);
