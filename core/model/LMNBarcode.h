#pragma once
// A barcode: the finished image that the barcode dialog renders from the
// item's barcode settings, drawn at its own size from the top-left corner
// without smoothing. It has neither fill nor border and is never resized by
// its handles.
#include "core/model/LMNGraphic.h"

class LMNBarcode : public LMNGraphic {
public:
    LMNBarcode() : LMNGraphic(LMNBlank{}) { init(); }
    explicit LMNBarcode(LMNBlank b) : LMNGraphic(b) {}
    LMNKind kind() const override { return LMNKind::Barcode; }

    // A new item centred on the point; it has no image yet, so its bounds are
    // an empty rectangle at the point until Set_Barcode_image sizes it.
    static std::unique_ptr<LMNBarcode> initWithPosition(const QPointF& centre, const PtImage& unused);
    void barcode_image_var_assign() { _contents = _barcode_image; }

    bool isDrawingFill() const override { return false; }
    bool isDrawingStroke() const override { return false; }
    void drawContentsInView(QPainter& painter, LMNGraphicView* view, bool isBeingCreateOrEdited) override;
};
