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

// A picture that comes without a file (a pasted one) is kept as a PNG file in
// the per-user folder of the pictures the program keeps, so that a picture
// item names it by its path like any other picture: the canvas, the jobs,
// the exports and a reopened design all read it from there.
//
// Whether a picture is within the pixel limit of the pictures the program
// carries (Picture_Max_Pixels, and Picture_Max_Side a side).
bool Picture_Within_Limit(const QSize& size);
// What the user is told about a picture over that limit.
extern const QString Picture_Too_Large_Message;
// Writes `image` as a PNG file into the kept pictures' folder and gives its
// path. The file is named after its contents, so the same picture kept again
// is the same file; a file of that name with other contents is never
// replaced. "" with `error` set when the picture is over the limit or cannot
// be written.
QString Keep_Picture_As_File(const QImage& image, QString* error = nullptr);

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
