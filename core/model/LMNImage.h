#pragma once
// A picture from a file. _contents is the picture as loaded (a preview of at
// most 800 pixels on its longer side), _contents_with_settings the picture as
// displayed, with the item's image settings applied by the main window.
#include "core/model/LMNGraphic.h"

inline const QString LMNImageContentsKey = QStringLiteral("contents");
inline const QString LMNImageIsFlippedHorizontallyKey = QStringLiteral("flippedHorizontally");
inline const QString LMNImageIsFlippedVerticallyKey = QStringLiteral("flippedVertically");

// The preview of a picture file, at most `maxSide` pixels on its longer side
// and turned upright; a null image when the file is missing or unreadable.
PtImage Load_Picture_Preview(const QString& path, int maxSide = 800);
// The whole picture of a file, turned upright.
PtImage Load_Picture_Whole(const QString& path);
// Bounds of `size` centred on `centre`.
QRectF Rect_Centred_On(const QPointF& centre, const QSizeF& size);

class LMNImage : public LMNGraphic {
public:
    LMNImage() : LMNGraphic(LMNBlank{}) { init(); }
    explicit LMNImage(LMNBlank b) : LMNGraphic(b) {}
    LMNKind kind() const override { return LMNKind::Image; }

    static std::unique_ptr<LMNImage> initWithPath_With_ID(const QPointF& centre, const QString& path,
                                                          const QString& ctrl_id);
    static std::unique_ptr<LMNImage> initWithPath(const QPointF& centre, const QString& path, bool org_or_crop);
    static std::unique_ptr<LMNImage> initWithPosition(const QPointF& centre, const PtImage& contents);
    // The file of the placeholder picture a picture item shows while no
    // picture is chosen for it (the main window's no_image()).
    static QString Placeholder_Path();

    void setFilePath(const QString& path);
    void setFileNSImage(const QString& path);
    void setFileNSImage_real_Image(const QString& path);
    void setFileNSImage_Variable(const PtImage& image) { _contents_with_settings = image; }

    bool isDrawingFill() const override { return false; }
    bool canSetDrawingFill() const override { return false; }
    bool canSetDrawingStroke() const override { return false; }
    // A flip shows at once: the displayed picture is made again with it.
    void setFlippedHorizontally(bool v) override;
    void setFlippedVertically(bool v) override;
    void flipHorizontally() override { setFlippedHorizontally(!_isFlippedHorizontally); }
    void flipVertically() override { setFlippedVertically(!_isFlippedVertically); }
    // The loaded picture's size, upright (both flips cleared).
    void makeNaturalSize() override;
    std::unique_ptr<LMNGraphic> copyWithZone() const override;

    void Draw_the_image_border(QPainter& painter, const QRectF& rect);
    void drawContentsInView(QPainter& painter, LMNGraphicView* view, bool isBeingCreateOrEdited) override;

    QVariant valueForKey(const QString& key) const override;
    bool setValueForKey(const QString& key, const QVariant& value) override;
    QStringList keysForValuesToObserveForUndo() const override;
    QString presentablePropertyNameForKey(const QString& key) const override;

private:
    void applyDisplayedPicture();
};
