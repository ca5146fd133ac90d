#pragma once
// A signature ("S") or fingerprint ("F") picture, drawn stretched over the
// bounds with an optional border under it. It starts from a sample picture of
// the resources and can be pointed at any picture file.
#include "core/model/LMNGraphic.h"

class LMNSignature : public LMNGraphic {
public:
    LMNSignature() : LMNGraphic(LMNBlank{}) { init(); }
    explicit LMNSignature(LMNBlank b) : LMNGraphic(b) {}
    LMNKind kind() const override { return LMNKind::Signature; }

    PtImage _contents_img;   // the picture as loaded
    QString file_path;       // the resolved path _contents_img came from

    // An item showing `contents`, its file the picture the library chose
    // last (handed in by whoever makes it).
    static std::unique_ptr<LMNSignature> initWithPosition(const QPointF& centre, const PtImage& contents,
                                                          const QString& sign_or_FP,
                                                          const QString& librarySelectedImage);
    static std::unique_ptr<LMNSignature> initWithPath(const QPointF& centre, const QString& path,
                                                      const QString& sign_or_FP);
    // "Default" means the sample picture of the item's code.
    void setFilePath(const QString& path);
    static QString Sample_Path(const QString& sign_or_FP);

    bool isDrawingFill() const override { return false; }
    void makeNaturalSize() override;
    void drawContentsInView(QPainter& painter, LMNGraphicView* view, bool isBeingCreateOrEdited) override;
};
