#pragma once
// Writing images to files in the format their extension names.
//
// PNG, JPEG, TIFF and BMP through Qt's writers, GIF through giflib, PDF
// through QPdfWriter. The resolution is recorded where the format has a field
// for it (PNG pHYs, JFIF density, TIFF resolution tags, BMP pixels per metre;
// a PDF page takes the size the pixels have at that resolution; GIF has none).
// Files are written atomically: a failed write leaves the old file as it was.
#include <QByteArray>
#include <QImage>
#include <QString>

class PtImage;

enum class ImageFileFormat { Unknown, PNG, JPEG, TIFF, BMP, GIF, PDF };

// The format a path's extension names (any case); Unknown for anything else.
ImageFileFormat Image_Format_For_Path(const QString& path);

// The usual extension of a format ("png", "jpg", "tiff", "bmp", "gif", "pdf").
QString Image_Format_Extension(ImageFileFormat format);

// Encodes pixels in a format; empty data on failure (error text in *error).
// `quality` is JPEG's 0..100 (-1: the writer's default).
QByteArray Encode_Image(const QImage& image, ImageFileFormat format, double dpi,
                        QString* error = nullptr, int quality = -1);

// GIF data of an image (up to 256 colours, fully transparent pixels kept).
QByteArray Encode_Gif(const QImage& image, QString* error = nullptr);

// Writes bytes to a file atomically.
bool Write_File_Atomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Encodes and writes pixels; format Unknown takes the path's extension and
// falls back to PNG.
bool Write_Image_File(const QString& path, const QImage& image, double dpi,
                      ImageFileFormat format = ImageFileFormat::Unknown,
                      QString* error = nullptr, int quality = -1);

// Writes a PtImage: PDF keeps vector content; raster formats take the image's
// own resolution (72 dpi for vector content unless `dpi` is given).
bool Write_PtImage_File(const QString& path, const PtImage& image,
                        ImageFileFormat format = ImageFileFormat::Unknown,
                        QString* error = nullptr, double dpi = 0.0);

// The resolution at which a PtImage's pixels cover its size in points.
double PtImage_Native_Dpi(const PtImage& image);
