#pragma once
// The main window's hold on the generation road: it keeps what the preview
// needs between two changes (the linear symbol of the last encoding, the last
// 2D symbol image) so that a change of look (fonts, colours, margins, texts
// of a 2D symbol) draws again without encoding.
#include "core/util/BarcodeSettings.h"
#include "platform/PtImage.h"

#include <QString>

#include <memory>

class ZBBarcode;

class PreviewRoad {
public:
    PreviewRoad();
    ~PreviewRoad();

    // Encodes the value with the settings' symbology and makes the finished
    // image. Null when nothing can be drawn (unknown type, value rejected).
    // For a linear symbology the symbol is kept for redrawing; for a 2D one,
    // the symbol image. `settings` receives the margins and frame in points.
    PtImage encode(BarcodeSettings& settings, const QString& value, const QString& header,
                   const QString& footer);

    // The kept linear symbol laid out again with the settings (visibility,
    // fonts, margins, sizes) and drawn; null without one.
    PtImage redrawLinear(BarcodeSettings& settings);

    // The kept 2D symbol image framed again with the settings' header, footer,
    // fonts and margins; null without one.
    PtImage reframe2D(BarcodeSettings& settings);

    bool hasLinear() const { return m_linear != nullptr; }
    bool has2D() const { return !m_image2d.isNull(); }
    bool linearContentValid() const;
    std::shared_ptr<ZBBarcode> testBarcode() const { return m_linear; }
    void forget2D() { m_image2d = PtImage(); }
    void forgetLinear();

    // How many encodings the road has run.
    int encodeCount() const { return m_encodeCount; }

private:
    std::shared_ptr<ZBBarcode> m_linear;
    PtImage m_image2d;
    int m_encodeCount = 0;
};
