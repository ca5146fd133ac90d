#pragma once
// A block of text drawn inside the item's bounds in the item's font and
// colour, with horizontal and vertical alignment, a case transform, kerning,
// an optional shadow, fill and border.
#include "core/model/LMNGraphic.h"

class LMNText : public LMNGraphic {
public:
    LMNText() : LMNGraphic(LMNBlank{}) { init(); }
    explicit LMNText(LMNBlank b) : LMNGraphic(b) {}
    LMNKind kind() const override { return LMNKind::Text; }

    bool canSetDrawingStroke() const override { return false; }
    void drawContentsInView(QPainter& painter, LMNGraphicView* view, bool isBeingCreateOrEdited) override;

    // The size the text as drawn needs at the item's current width, in its
    // own font (not the default font of a new text storage).
    QSizeF naturalSize();
    void makeNaturalSize() override;
    // Keeps origin and width; the height follows the text, outside undo.
    void setHeightToMatchContents();

    QStringList keysForValuesToObserveForUndo() const override;
    QString presentablePropertyNameForKey(const QString& key) const override;

    // ---- Layout pieces of the drawing ----
    // The text as drawn: trimmed at both ends, then the case transform applied.
    QString displayString();
    // 0 none, 1 upper, 2 lower, 3 first letter of each word upper and the rest lower.
    static QString Transform_Case(const QString& text, int caseCode);
    // The font the text is drawn in (the item's font with its kerning).
    QFont drawingFont() const;
    // Height of the text without wrapping: one line per line break.
    double unwrappedTextHeight(const QString& text) const;
    // The rectangle the text is drawn in, placed by the vertical alignment.
    QRectF textRect(double textHeight) const;
    int alignmentFlags() const;
};
