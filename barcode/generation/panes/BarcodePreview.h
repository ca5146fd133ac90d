#pragma once
// The preview of a barcode window: the finished image at its printed size
// (one point is 1/72 inch on the screen) in a scroll area that scrolls only
// when the image is larger, the notice shown when there is no barcode, and
// the choices of where the image sits and of its orientation.
#include "barcode/engines/view/ZBBarcodeOffscreenView.h"
#include "barcode/generation/panes/BarcodeSettingsPane.h"
#include "platform/PtImage.h"

#include <memory>

class QComboBox;
class QLabel;
class QScrollArea;

// The image view: paints the part of the barcode that is exposed, straight
// from its drawing (or image), so a very long symbol costs no more than what
// is seen.
class BarcodeImageView : public QWidget {
    Q_OBJECT
public:
    explicit BarcodeImageView(QWidget* parent = nullptr);
    void setImage(const PtImage& image);
    void setDrawing(const std::shared_ptr<const ZBBarcodeOffscreenView>& drawing);
    const PtImage& image() const { return m_image; }
    bool isEmpty() const { return m_image.isNull() && !m_drawing; }
    // Size of what is shown, in points.
    QSizeF pointSize() const;
    void setImageAlignment(Qt::Alignment a);
    Qt::Alignment imageAlignment() const { return m_alignment; }
    // Screen pixels a point, and where the image is painted.
    double pixelsPerPoint() const;
    QRect imageRect() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void changed();

    PtImage m_image;
    std::shared_ptr<const ZBBarcodeOffscreenView> m_drawing;
    Qt::Alignment m_alignment = Qt::AlignCenter;
};

class BarcodePreview : public BarcodeSettingsPane {
    Q_OBJECT
public:
    explicit BarcodePreview(QWidget* parent = nullptr);

    void writeTo(BarcodeSettings& s) const override;

    // Shows an image or a laid-out barcode, or the notice with `reason`.
    void Set_Barcode_On_Panel(const PtImage& image);
    void Set_Barcode_On_Panel(const std::shared_ptr<const ZBBarcodeOffscreenView>& drawing);
    // Under a barcode shown: what it leaves out of the value (a cut), in the
    // notice's place; nothing for an empty note.
    void Show_Note(const QString& note);
    void Set_Blank_Image(const QString& reason);
    const PtImage& image() const;
    bool isBlank() const;
    QString notice() const;
    BarcodeImageView* imageView() const { return barcodeImage; }

    void comboBoxSelectionDidChange(QComboBox* combo);

protected:
    void loadControls(const BarcodeSettings& s) override;

private:
    void applyAlignment();

    QComboBox* bar_align_combo = nullptr;
    QComboBox* bar_orient_combo = nullptr;
    QScrollArea* image_scroll = nullptr;
    BarcodeImageView* barcodeImage = nullptr;
    QLabel* barcode_error_label = nullptr;
};
