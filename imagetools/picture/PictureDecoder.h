#pragma once
// Reading picture files for the image tools: upright (the camera's EXIF
// orientation applied), at a reduced size when asked (JPEG is decoded at a
// reduced DCT scale, so a photograph is never held at full size for a
// thumbnail), and within bounded memory: a picture of more than
// Picture_Pixel_Limit pixels is refused before anything is allocated for it.
//
// Every function here is safe to call from any thread.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// The most pixels (width x height as stored) we decode.
inline constexpr qint64 Picture_Pixel_Limit = 100'000'000;

enum class PictureStatus {
    Ok,
    Missing,      // no file, or no data
    NotAPicture,  // the content is no picture format we read
    Broken,       // a picture format, but damaged or cut short
    TooLarge,     // more than Picture_Pixel_Limit pixels
};

struct DecodedPicture {
    QImage image;         // upright; null unless status is Ok
    PictureStatus status = PictureStatus::Missing;
    QSize fullSize;       // upright size of the whole picture, when the header told it
    QString reason;       // what went wrong, for the log

    bool ok() const { return status == PictureStatus::Ok; }
};

// Decodes a picture file. maxSide > 0: the longer side of the result is at
// most maxSide pixels; 0: the whole picture.
DecodedPicture Decode_Picture_File(const QString& path, int maxSide);
DecodedPicture Decode_Picture_Data(const QByteArray& data, int maxSide);

// The upright size of a picture file from its header alone (invalid when it
// cannot be told).
QSize Picture_File_Size(const QString& path);

// The EXIF orientation (1 to 8) in an APP1 payload that starts with
// "Exif\0\0"; 1 when there is none or the block cannot be read. Offsets and
// counts are checked against the payload, so a damaged block cannot lead the
// reader outside it.
int Exif_Orientation(const uchar* payload, qsizetype size);

// The picture turned upright for an EXIF orientation (1 to 8; others: as is).
QImage Apply_Exif_Orientation(const QImage& image, int orientation);

// A sentence for the user about a picture that could not be read.
QString Picture_Status_Message(PictureStatus status);
