#pragma once
// The picture libraries Zorv Label ships: pictures for picture items
// (frames, icons and symbols a shop or office label uses) in
// "LibraryImage", and card backgrounds in "Background".
#include <QImage>
#include <QString>

#include <functional>

// Hands every picture to `save` with its file name under the resources
// folder, the format ("PNG" or "JPG"), the quality (-1 for the default) and
// the resolution recorded in the file: 72 DPI for the pictures (a pixel a
// point), 300 DPI for the backgrounds (each is a plastic card, 85.6 x 54 mm).
using Picture_Saver = std::function<void(const QImage& picture, const QString& name, const char* format, int quality,
                                         int dpi)>;
void Draw_Picture_Libraries(const Picture_Saver& save);

// The licence note written beside the pictures of both libraries.
QString Picture_Library_Licence();
