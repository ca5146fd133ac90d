#pragma once
// The adjustment chain that makes the displayed picture of a picture item.
//
// Colours are worked on unpremultiplied, as RGBA in [0, 1], and clamped only
// at the end, in this order:
//   monochrome   luminance grey (Rec. 709 weights), the grey of a monochrome
//                tint toward mid grey at full intensity;
//   sepia        the usual sepia matrix at full intensity;
//   hue          rotation about the grey axis by an angle in radians;
//   colour       saturation (the luminance-preserving saturation matrix),
//                then brightness (added), then contrast (about mid grey);
//   sharpen      luminance sharpening: each pixel gains sharpness times the
//                difference of its luminance from the mean of its 3 x 3
//                neighbourhood;
//   exposure     EV stops: light is multiplied by 2^EV, which on our
//                gamma-encoded values is a factor of 2^(EV / 2.2);
//   blur         a box blur of (2r + 1) x (2r + 1) pixels, r the radius
//                rounded, on premultiplied values, edges extended;
// then the horizontal and vertical flips, and last the rotation inside the
// rotated bounding box. At its defaults every step is the identity.
//
// Large pictures are worked in bands on all cores; nothing is kept between
// calls, so any thread may call it.
#include "platform/PtImage.h"

#include <QImage>
#include <QRectF>

struct FilterSettings {
    bool grayscale = false;
    bool sepia = false;
    float hue = 0.0f;         // radians
    float saturation = 1.0f;
    float brightness = 0.0f;
    float contrast = 1.0f;
    float sharpness = 0.0f;
    float exposure = 0.0f;    // EV
    float blurRadius = 0.0f;  // pixels
};

// The colour steps and the blur of the chain, without flips and rotation.
// The result is ARGB32 premultiplied, the size of the source.
QImage Apply_Filter_Chain(const QImage& source, const FilterSettings& settings);
// The same, mirrored left to right and top to bottom as asked.
QImage Apply_Filter_Chain_Mirrored(const QImage& source, const FilterSettings& settings, bool flipH, bool flipV);

// The 3 x 4 colour matrix of the per-pixel steps (monochrome to contrast):
// out = M * (r, g, b, 1), unclamped. Row-major.
void Filter_Colour_Matrix(const FilterSettings& settings, float matrix[12]);

class LMNGraphic;

// What the main window's Get_Image_With_Update_Settings computes for a
// picture item: the chain over the item's picture with its adjustment
// fields (the rotation cut to whole degrees, rotated inside its box, the
// item's bounds as the rectangle). Null when the item has no picture.
QImage Picture_Item_Displayed_Image(const LMNGraphic& item);

class ImageProcesser {
public:
    // The whole chain. With `invrtclr` the colours of the result are
    // inverted (each of red, green and blue becomes its complement; the
    // alpha stays) after the filters; `tranprency` is taken and not used
    // (the item applies its transparency when it draws). `rotate` is in whole
    // degrees; a positive value turns the picture clockwise. With
    // `yes_rotate_on_box` the result holds the picture turned inside its
    // rotated bounding box (its pixels are that box). The rectangle does not
    // change the result. Null for a null image.
    static QImage Get_Processed_Image_Full_Combined(const QImage& image, bool grayscale, bool sepia,
                                                    bool invrtclr, float hue, float sat, float brt,
                                                    float con, int rotate, float r, float g, float b,
                                                    float tranprency, bool yes_rotate_on_box, bool flip_H,
                                                    bool flip_V, bool use_img_rect,
                                                    const QRectF& img_bound_rect);

    // The picture turned by `degrees` (positive: counter-clockwise, as the
    // chain passes the negated field) and drawn centred on a canvas the size
    // of its rotated bounding box.
    static QImage imageRotatedByDegrees_On_Ctrl_Bound(const QImage& image, double degrees,
                                                      const QRectF& img_bound_rect);
    static QImage imageRotatedByDegrees(const QImage& image, double degrees);
    // Angle 0: the image itself; otherwise the same turn as above.
    static QImage adjust_Rotate(const QImage& image, double degrees);
    // Limits the size in points to 724 x 468, each side on its own.
    static PtImage Set_Dimaension(const PtImage& image);
};
