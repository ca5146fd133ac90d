#pragma once
// The picture of a barcode item made again from what the item stores.
//
// A barcode item keeps its rendered picture, but archives do not carry that
// picture as data (see KeyedArchive.h): reading an archive from elsewhere
// makes it again from the item's settings and texts. The drawing road lives
// above the drawing core, so the application installs it at start-up.
#include <QString>
#include <QStringList>

#include <functional>

#include "core/util/BarcodeSettings.h"
#include "platform/PtImage.h"

class LMNGraphic;

// The settings the barcode dialog loads from a barcode item: type (the name
// at barcode_font_index in `typeNames`), texts, visibility, alignment, sizes
// in millimetres, 2D options, fonts, colours and the DPI choice. Numbers are
// kept within the ranges of the barcode controls, so that no stored value can
// ask for a picture of absurd size.
BarcodeSettings Barcode_Settings_Of_Item(const LMNGraphic& item, const QStringList& typeNames);

// Draws a barcode picture for settings and a value, header and footer; null
// when the value gives none.
using Barcode_Item_Road = std::function<PtImage(const BarcodeSettings& settings, const QString& value,
                                                const QString& header, const QString& footer)>;

// Installs the road and the names of the barcode type popup, in its order.
// An empty road uninstalls it.
void Install_Barcode_Item_Road(Barcode_Item_Road road, const QStringList& typeNames);

// The picture of the item drawn anew for its own value (the 2D value for a 2D
// item, else the linear value), header and footer; null without a road.
PtImage Barcode_Item_Image(const LMNGraphic& item);
