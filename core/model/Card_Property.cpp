#include "core/model/Card_Property.h"

#include "core/model/KeyedArchive.h"
#include "core/util/MainWindowServices.h"

void Card_Property::init()
{
    Card_border_chk = false;
    Card_fill_chk = true;
    Card_bordr_clr = QColor(Qt::black);
    Card_fill_clr = QColor(Qt::white);
    Card_fill_Grd_1_clr = QColor(Qt::white);
    Card_fill_Grd_2_clr = QColor(Qt::white);
    Card_hatch_bk_clr = QColor(Qt::white);
    Card_bor_Stepper = 1;
    Card_grad_Stepper = 0;
    Card_Cat_index = 0;
    Card_alpha_Stepper = 100.0f;
    Card_border_style = QStringLiteral("S");
    Card_fill_style = QStringLiteral("S");
    Card_hatch_style = QStringLiteral("");
    Card_Side = QStringLiteral("2");
    Card_Side_Name = QStringLiteral("F");
    Card_Shape = QStringLiteral("R");
    Card_Name = default_file_name;
    Card_Preset = QStringLiteral("Custom");
    Card_Category = QStringLiteral("");
    Card_Sub_Category = QStringLiteral("");
    Card_Create_Mode = QStringLiteral("W");
    Card_BG_Image_Path = QStringLiteral("");
    Card_BG_Image_Layout = QStringLiteral("Tile");
    Card_BG_Image = PtImage();
    Card_Location = QPointF(0, 0);
    Card_Size = QSizeF(0, 0);
    Card_Content_clr = QColor(Qt::black);
    Card_Content_font = Default_Text_Font(Text_Ctrl_Font_Size);
    Watermark_Used = false;
    Watermark_Text = QStringLiteral("Watermark");
    Watermark_Color = QColor(Qt::black);
    Watermark_Font = Card_Content_font;
    Watermark_Alignment = 0;
    Watermark_Transp = 1.0f;
}

std::unique_ptr<Card_Property> Card_Property::copyWithZone() const
{
    auto c = std::make_unique<Card_Property>(LMNBlank{});
    *c = *this;
    return c;
}

QStringList Card_Property::Field_Names()
{
    return {QStringLiteral("Card_border_chk"), QStringLiteral("Card_fill_chk"), QStringLiteral("Card_bordr_clr"),
            QStringLiteral("Card_fill_clr"), QStringLiteral("Card_fill_Grd_1_clr"),
            QStringLiteral("Card_fill_Grd_2_clr"), QStringLiteral("Card_hatch_bk_clr"),
            QStringLiteral("Card_bor_Stepper"), QStringLiteral("Card_grad_Stepper"), QStringLiteral("Card_Cat_index"),
            QStringLiteral("Card_alpha_Stepper"), QStringLiteral("Card_border_style"),
            QStringLiteral("Card_fill_style"), QStringLiteral("Card_hatch_style"), QStringLiteral("Card_Side"),
            QStringLiteral("Card_Side_Name"), QStringLiteral("Card_Shape"), QStringLiteral("Card_Name"),
            QStringLiteral("Card_Preset"), QStringLiteral("Card_Category"), QStringLiteral("Card_Sub_Category"),
            QStringLiteral("Card_Create_Mode"), QStringLiteral("Card_BG_Image_Path"),
            QStringLiteral("Card_BG_Image_Layout"), QStringLiteral("Card_BG_Image"), QStringLiteral("Card_Location"),
            QStringLiteral("Card_Size"), QStringLiteral("Card_Content_clr"), QStringLiteral("Card_Content_font"),
            QStringLiteral("Watermark_Used"), QStringLiteral("Watermark_Text"), QStringLiteral("Watermark_Color"),
            QStringLiteral("Watermark_Font"), QStringLiteral("Watermark_Alignment"),
            QStringLiteral("Watermark_Transp")};
}

namespace {

struct CardWriter {
    KeyedArchiver& a;
    void b(const char* k, bool& v) { a.encodeBool(k, v); }
    void i(const char* k, qint32& v) { a.encodeInt32(k, v); }
    void f(const char* k, float& v) { a.encodeFloat(k, v); }
    void c(const char* k, QColor& v) { a.encodeColor(k, v); }
    void s(const char* k, QString& v) { a.encodeString(k, v); }
    void img(const char* k, PtImage& v) { a.encodeImage(k, v); }
    void pt(const char* k, QPointF& v) { a.encodePoint(k, v); }
    void sz(const char* k, QSizeF& v) { a.encodeSize(k, v); }
    void fn(const char* k, QFont& v) { a.encodeFont(k, v); }
};

struct CardReader {
    KeyedUnarchiver& u;
    bool ok = true;
    void b(const char* k, bool& v) { ok = ok && u.decodeBool(k, v); }
    void i(const char* k, qint32& v) { ok = ok && u.decodeInt32(k, v); }
    void f(const char* k, float& v) { ok = ok && u.decodeFloat(k, v); }
    void c(const char* k, QColor& v) { ok = ok && u.decodeColor(k, v); }
    void s(const char* k, QString& v) { ok = ok && u.decodeString(k, v); }
    void img(const char* k, PtImage& v) { ok = ok && u.decodeImage(k, v); }
    void pt(const char* k, QPointF& v) { ok = ok && u.decodePoint(k, v); }
    void sz(const char* k, QSizeF& v) { ok = ok && u.decodeSize(k, v); }
    void fn(const char* k, QFont& v) { ok = ok && u.decodeFont(k, v); }
};

template <class C>
void Visit_Card(C& c, Card_Property& p)
{
    c.b("Card_border_chk", p.Card_border_chk);
    c.b("Card_fill_chk", p.Card_fill_chk);
    c.i("Card_bor_Stepper", p.Card_bor_Stepper);
    c.i("Card_grad_Stepper", p.Card_grad_Stepper);
    c.i("Card_Cat_index", p.Card_Cat_index);
    c.f("Card_alpha_Stepper", p.Card_alpha_Stepper);
    c.c("Card_bordr_clr", p.Card_bordr_clr);
    c.c("Card_fill_clr", p.Card_fill_clr);
    c.c("Card_fill_Grd_1_clr", p.Card_fill_Grd_1_clr);
    c.c("Card_fill_Grd_2_clr", p.Card_fill_Grd_2_clr);
    c.c("Card_hatch_bk_clr", p.Card_hatch_bk_clr);
    c.s("Card_border_style", p.Card_border_style);
    c.s("Card_fill_style", p.Card_fill_style);
    c.s("Card_hatch_style", p.Card_hatch_style);
    c.s("Card_Side", p.Card_Side);
    c.s("Card_Side_Name", p.Card_Side_Name);
    c.s("Card_Shape", p.Card_Shape);
    c.s("Card_Name", p.Card_Name);
    c.s("Card_Preset", p.Card_Preset);
    c.s("Card_Category", p.Card_Category);
    c.s("Card_Sub_Category", p.Card_Sub_Category);
    c.s("Card_Create_Mode", p.Card_Create_Mode);
    c.s("Card_BG_Image_Path", p.Card_BG_Image_Path);
    c.s("Card_BG_Image_Layout", p.Card_BG_Image_Layout);
    c.img("Card_BG_Image", p.Card_BG_Image);
    c.pt("Card_Location", p.Card_Location);
    c.sz("Card_Size", p.Card_Size);
    c.c("Card_Content_clr", p.Card_Content_clr);
    c.fn("Card_Content_font", p.Card_Content_font);
    c.b("Watermark_Used", p.Watermark_Used);
    c.i("Watermark_Alignment", p.Watermark_Alignment);
    c.f("Watermark_Transp", p.Watermark_Transp);
    c.s("Watermark_Text", p.Watermark_Text);
    c.c("Watermark_Color", p.Watermark_Color);
    c.fn("Watermark_Font", p.Watermark_Font);
}

} // namespace

QByteArray Card_Property::encodeWithCoder() const
{
    KeyedArchiver a(QStringLiteral("Card_Property"));
    CardWriter w{a};
    Visit_Card(w, const_cast<Card_Property&>(*this));
    return a.finish();
}

std::unique_ptr<Card_Property> Card_Property::initWithCoder(const QByteArray& archive, QString* error)
{
    KeyedUnarchiver u;
    if (!u.open(archive, error))
        return nullptr;
    if (u.className() != QLatin1String("Card_Property")) {
        if (error)
            *error = QStringLiteral("not a card archive");
        return nullptr;
    }
    auto p = std::make_unique<Card_Property>(LMNBlank{});
    CardReader r{u};
    Visit_Card(r, *p);
    if (!r.ok) {
        if (error)
            *error = QStringLiteral("wrong value type in card archive");
        return nullptr;
    }
    return p;
}
