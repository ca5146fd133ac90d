#pragma once
// Small picture operations: flips and mirrors, turns, doubling, masking and
// the size of a picture in points from its pixels. They keep no state, so
// any thread may call them.
#include "platform/PtImage.h"

#include <QImage>
#include <QRectF>

namespace ImageTransforms {

// The picture turned by 180 degrees.
QImage flipImage(const QImage& image);
// Mirrored top to bottom.
QImage flipImageVertically(const QImage& image);
// Mirrored left to right.
QImage Flip_Horz_Mirror_Image(const QImage& image);
// Mirrored top to bottom when `vertical`, else left to right.
QImage Create_Mirror_Image_With_CG_Image_Function(const QImage& image, bool vertical);
// Mirrored left to right (the flag has no effect).
QImage Create_Mirror_Image_With_CG_Image(const QImage& image, bool flag);
// The picture turned by 180 degrees about its centre.
QImage image_rotate_using_cg_context_method(const QImage& image);
// The same (the angle and the rectangle have no effect).
QImage imageRotatedByDegrees_Angle(const QImage& image, double angle, const QRectF& rect);
// The picture turned by `degrees` (counter-clockwise) inside its rotated
// bounding box, which is the size of the result.
QImage imageRotatedByDegrees(const QImage& image, double degrees);
QImage imageRotatedByDegrees_opt_2(const QImage& image, double degrees);
// The picture turned by `degrees` (counter-clockwise) about its centre on a
// canvas of height x width for quarter turns, width x height for a half
// turn, else a square of the longer side plus 20. A whole number of turns
// gives the picture itself.
QImage imageRotated(const QImage& image, float degrees);
// A canvas of twice the width and height holding the picture scaled by 2.
QImage image_for_data_matrix_font(const QImage& image);
// The pixels as a 32-bit bitmap (premultiplied ARGB).
QImage bitmap(const QImage& image);
// The picture where the mask lets it through: a mask pixel's grey level 0
// keeps the picture, 255 removes it (the mask is scaled to the picture).
// Without a mask, the picture unchanged.
QImage maskImage_usingMaskImage(const QImage& image, const QImage& mask);
// The size in points of one point a pixel.
PtImage normalizeSize(const PtImage& image);
// The size in points of the pixels at `dpi`; a dpi of 0 or less changes nothing.
PtImage setDPI(const PtImage& image, int dpi);

} // namespace ImageTransforms
