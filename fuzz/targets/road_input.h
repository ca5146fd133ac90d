#pragma once
// The input of the barcode road target: a type name of the 22, settings
// within the ranges of the barcode controls, and a header, a footer and a
// value. Read_Road_Input reads it from fuzz bytes; Write_Road_Input writes
// the bytes that read back as given (seeds). Keep the two in the same order.
#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"
#include "core/util/BarcodeSettings.h"
#include "fuzz/FuzzSupport.h"

#include <QStringList>

struct RoadInput {
    BarcodeSettings s;
    bool otherBranch = false;   // a design file may pair a name with the other branch
    QString header, footer, value;
};

namespace road_input {

inline const char* const Families[] = {"Helvetica", "Times", "Courier", "DejaVu Sans", "Nimbus Mono PS"};
inline const QStringList& Alignments()
{
    static const QStringList a{"Left", "Center", "Right"};
    return a;
}

// One walk over the fields serves both directions.
template <class IO>
void Walk(IO& io, RoadInput& r)
{
    BarcodeSettings& s = r.s;
    const QStringList& names = Symbology_Titles();
    int type = int(names.indexOf(s.barcodeType));
    io.i(0, int(names.size()) - 1, type);
    Set_Barcode_Type(s, names.value(type));
    int other = r.otherBranch ? 0 : 1;
    io.i(0, 15, other);
    r.otherBranch = other == 0;
    if (r.otherBranch)
        s.liner_or_2D_font = 1 - s.liner_or_2D_font;
    io.b(s.hide_value);
    io.b(s.hide_header);
    io.b(s.hide_footer);
    io.b(s.caption_check_enabled);
    io.b(s.bar_width_enabled);
    io.b(s.bar_height_enabled);
    io.b(s.fill_transparent);
    io.i(0, 1, s.showinTop);
    io.i(0, 1, s.kerning_value);
    io.i(0, 2, s.unit);
    io.f(0.1f, 100, s.bar_height);
    io.f(5, 200, s.bar_width_mils);
    io.f(0, 20, s.val_mar);
    io.f(0, 20, s.hdr_mar);
    io.f(0, 20, s.ftr_mar);
    io.f(0, 20, s.TB_mar);
    io.f(0, 20, s.LR_mar);
    for (QFont* f : {&s.value_font, &s.header_font, &s.footer_font}) {
        int family = 0;
        for (int k = 0; k < 5; ++k)
            if (f->family() == QLatin1String(Families[k]))
                family = k;
        io.i(0, 4, family);
        float size = float(f->pointSizeF());
        io.f(1, 200, size);
        bool bold = f->bold();
        io.b(bold);
        QFont g(QString::fromLatin1(Families[family]));
        g.setPointSizeF(size);
        g.setBold(bold);
        *f = g;
    }
    for (QColor* c : {&s.barcode_clr, &s.bar_back_clr, &s.bar_val_clr, &s.bar_hdr_clr, &s.bar_ftr_clr}) {
        int rgba[4] = {c->red(), c->green(), c->blue(), c->alpha()};
        for (int& v : rgba)
            io.i(0, 255, v);
        *c = QColor(rgba[0], rgba[1], rgba[2], rgba[3]);
    }
    for (QString* a : {&s.align_hdr, &s.align_ftr}) {
        int k = std::max(0, int(Alignments().indexOf(*a)));
        io.i(0, 2, k);
        *a = Alignments()[k];
    }
    io.i(21, 2000, s.qr_size);
    io.i(0, 40, s.QR_Version_Val);
    io.i(0, 3, s.QR_EC_Level_Val);
    io.i(20, 2000, s.pdf_width);
    io.i(5, 1000, s.pdf_height);
    io.i(0, 90, s.pdf_rows);
    io.i(0, 30, s.pdf_cols);
    io.i(0, 8, s.pdf_ec_level);
    io.i(1, 20, s.dm_module);   // the module sizes the control and the road take
    io.i(0, 30, s.dm_format);
    io.i(0, 4, s.dm_encoding);
    io.b(s.dm_frame_border);
    io.i(0, int(DPI_Choice_Items().size()) - 1, s.dpi_choice);
    io.i(72, 2400, s.custom_dpi);
    Apply_DPI_Choice(s);
    io.b(s.Type_draw_2d_flag);
    io.t(r.header);
    io.t(r.footer);
    io.rest(r.value);
}

struct In {
    FuzzReader& r;
    void i(int lo, int hi, int& v) { v = r.intIn(lo, hi); }
    void f(float lo, float hi, float& v) { v = r.floatIn(lo, hi); }
    void b(bool& v) { v = r.boolean(); }
    void t(QString& v) { v = r.text(200); }
    void rest(QString& v) { v = QString::fromUtf8(r.rest()); }
};

struct Out {
    FuzzWriter& w;
    void i(int lo, int hi, int& v) { w.intIn(lo, hi, std::clamp(v, lo, hi)); }
    void f(float lo, float hi, float& v) { w.floatIn(lo, hi, v); }
    void b(bool& v) { w.boolean(v); }
    void t(QString& v) { w.text(v); }
    void rest(QString& v) { w.rest(v.toUtf8()); }
};

} // namespace road_input

inline RoadInput Read_Road_Input(FuzzReader& reader)
{
    RoadInput r;
    road_input::In in{reader};
    road_input::Walk(in, r);
    return r;
}

inline QByteArray Write_Road_Input(RoadInput r)
{
    FuzzWriter w;
    road_input::Out out{w};
    road_input::Walk(out, r);
    return w.bytes();
}
