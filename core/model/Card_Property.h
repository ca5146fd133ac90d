#pragma once
// The look and identity of one card side: border, fill (solid, gradient,
// hatch pattern or background picture), outline, size and origin, the label
// sheet it was made for, text defaults and the watermark. A plain value with
// 35 properties; it checks nothing. Each property is a public field with a
// setter named "set" + the field name.
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>

#include "core/model/LMNGraphic.h"
#include "platform/PtImage.h"

#define ZL_CARD_FIELD(T, N) \
    T N{};                  \
    void set##N(const T& v) { N = v; }

class Card_Property {
public:
    // A model with the defaults.
    Card_Property() { init(); }
    // A blank model (every field zero, NO or empty), as an archive is read into.
    explicit Card_Property(LMNBlank) {}

    ZL_CARD_FIELD(bool, Card_border_chk)
    ZL_CARD_FIELD(bool, Card_fill_chk)
    ZL_CARD_FIELD(QColor, Card_bordr_clr)
    ZL_CARD_FIELD(QColor, Card_fill_clr)
    ZL_CARD_FIELD(QColor, Card_fill_Grd_1_clr)
    ZL_CARD_FIELD(QColor, Card_fill_Grd_2_clr)
    ZL_CARD_FIELD(QColor, Card_hatch_bk_clr)
    ZL_CARD_FIELD(qint32, Card_bor_Stepper)
    ZL_CARD_FIELD(qint32, Card_grad_Stepper)
    ZL_CARD_FIELD(qint32, Card_Cat_index)
    ZL_CARD_FIELD(float, Card_alpha_Stepper)
    ZL_CARD_FIELD(QString, Card_border_style)
    ZL_CARD_FIELD(QString, Card_fill_style)
    ZL_CARD_FIELD(QString, Card_hatch_style)
    ZL_CARD_FIELD(QString, Card_Side)
    ZL_CARD_FIELD(QString, Card_Side_Name)
    ZL_CARD_FIELD(QString, Card_Shape)
    ZL_CARD_FIELD(QString, Card_Name)
    ZL_CARD_FIELD(QString, Card_Preset)
    ZL_CARD_FIELD(QString, Card_Category)
    ZL_CARD_FIELD(QString, Card_Sub_Category)
    ZL_CARD_FIELD(QString, Card_Create_Mode)
    ZL_CARD_FIELD(QString, Card_BG_Image_Path)
    ZL_CARD_FIELD(QString, Card_BG_Image_Layout)
    ZL_CARD_FIELD(PtImage, Card_BG_Image)
    ZL_CARD_FIELD(QPointF, Card_Location)
    ZL_CARD_FIELD(QSizeF, Card_Size)
    ZL_CARD_FIELD(QColor, Card_Content_clr)
    ZL_CARD_FIELD(QFont, Card_Content_font)
    ZL_CARD_FIELD(bool, Watermark_Used)
    ZL_CARD_FIELD(QString, Watermark_Text)
    ZL_CARD_FIELD(QColor, Watermark_Color)
    ZL_CARD_FIELD(QFont, Watermark_Font)
    ZL_CARD_FIELD(qint32, Watermark_Alignment)
    ZL_CARD_FIELD(float, Watermark_Transp)

    void init();
    std::unique_ptr<Card_Property> copyWithZone() const;

    // Keyed archive of the 35 properties, keyed by their names.
    QByteArray encodeWithCoder() const;
    // Null for data that is no card archive or holds a value of the wrong type.
    static std::unique_ptr<Card_Property> initWithCoder(const QByteArray& archive, QString* error = nullptr);
    // The property names in declaration order.
    static QStringList Field_Names();
};

#undef ZL_CARD_FIELD
