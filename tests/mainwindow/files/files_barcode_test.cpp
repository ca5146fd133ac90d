// Barcode settings files: the current form written and read back, the older
// 48-element form, the clear background and the list sources.
#include "FilesTestSupport.h"

#include "mainwindow/files/BarcodeFile.h"
#include "mainwindow/files/DesignFile.h"
#include "platform/Plist.h"

using namespace filestest;

namespace {

Barcode_File_Content Sample_Barcode()
{
    Barcode_File_Content c;
    BarcodeSettings& s = c.settings;
    s.barcodeType = QStringLiteral("QR Code");
    s.liner_or_2D_font = 1;
    s.dataText = QStringLiteral("0042");
    s.dataText_2D = QStringLiteral("Zeile 1\nZeile 2");
    s.HeaderText = QStringLiteral("Kopf");
    s.FooterText = QStringLiteral("");
    s.hide_header = true;
    s.hide_value = true;
    s.showinTop = 1;
    s.align_hdr = QStringLiteral("Left");
    s.align_ftr = QStringLiteral("Right");
    s.bar_height = 1.25f;
    s.bar_width_mils = 13;
    s.qr_size = 90;
    s.QR_Version_Val = 7;
    s.QR_EC_Level_Val = 3;
    s.pdf_height = 25;
    s.pdf_width = 110;
    s.pdf_ec_level = 5;
    s.dm_module = 4;
    s.dm_format = 9;
    s.dm_encoding = 3;
    s.hdr_mar = 0.2f;
    s.ftr_mar = 0.3f;
    s.val_mar = 0.4f;
    s.TB_mar = 0.5f;
    s.LR_mar = 0.6f;
    s.value_font = QFont(QStringLiteral("DejaVu Sans"));
    s.value_font.setPointSizeF(10.5);
    s.value_font.setBold(true);
    s.header_font = QFont(QStringLiteral("DejaVu Serif"));
    s.header_font.setPointSizeF(12);
    s.footer_font = QFont(QStringLiteral("DejaVu Sans Mono"));
    s.footer_font.setPointSizeF(8);
    s.footer_font.setItalic(true);
    s.bar_hdr_clr = QColor(200, 10, 10);
    s.bar_ftr_clr = QColor(10, 200, 10);
    s.bar_val_clr = QColor(10, 10, 200);
    s.bar_back_clr = QColor(250, 250, 200);
    s.barcode_clr = QColor(20, 20, 20);
    s.dpi_choice = 6;
    s.custom_dpi = 450;
    s.unit = 2;
    c.dataSource = true;
    c.valueFromList = true;
    c.headerFromList = false;
    c.footerFromList = true;
    for (int i = 0; i < 3; ++i)
        c.list << QVariantMap{{"Value", QString::number(100 + i)}, {"Header", "H"}, {"Footer", "F"}, {"PQ", "2"}};
    c.customList = false;
    c.valueSeries = QStringLiteral("serials");
    c.valueItem = QStringLiteral("A-7");
    c.headerSeries = QStringLiteral("never written");
    c.headerItem = QStringLiteral("x");
    c.footerSeries = QStringLiteral("feet");
    c.footerItem = QStringLiteral("");
    return c;
}

TEST(BarcodeFile, SettingsListAndSourcesComeBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("codes.dbs");
    const Barcode_File_Content c = Sample_Barcode();
    const QVariantList e = Barcode_File_Elements(c);
    ASSERT_EQ(e.size(), 56);
    EXPECT_EQ(e.at(52), QString("")) << "a source whose box is off stores no series";
    EXPECT_EQ(e.at(53), QString(""));
    ASSERT_TRUE(Write_Barcode_Elements(path, e));

    const auto root = Read_Design_Root(path);
    ASSERT_TRUE(root);
    ASSERT_EQ(Classify_Design_Root(*root), Design_File_Kind::Barcode);
    const Barcode_File_Read r = Read_Barcode_Content(*root);
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    const BarcodeSettings& a = c.settings;
    const BarcodeSettings& b = r.content.settings;
    EXPECT_EQ(b.barcodeType, a.barcodeType);
    EXPECT_EQ(b.liner_or_2D_font, 1);
    EXPECT_EQ(b.dataText, a.dataText);
    EXPECT_EQ(b.dataText_2D, a.dataText_2D);
    EXPECT_EQ(b.HeaderText, a.HeaderText);
    EXPECT_EQ(b.FooterText, a.FooterText);
    EXPECT_EQ(b.hide_header, true);
    EXPECT_EQ(b.hide_footer, false);
    EXPECT_EQ(b.hide_value, true);
    EXPECT_EQ(b.showinTop, 1);
    EXPECT_EQ(b.align_hdr, a.align_hdr);
    EXPECT_EQ(b.align_ftr, a.align_ftr);
    EXPECT_FLOAT_EQ(b.bar_height, a.bar_height);
    EXPECT_FLOAT_EQ(b.bar_width_mils, a.bar_width_mils);
    EXPECT_EQ(b.qr_size, a.qr_size);
    EXPECT_EQ(b.QR_Version_Val, a.QR_Version_Val);
    EXPECT_EQ(b.QR_EC_Level_Val, a.QR_EC_Level_Val);
    EXPECT_EQ(b.pdf_height, a.pdf_height);
    EXPECT_EQ(b.pdf_width, a.pdf_width);
    EXPECT_EQ(b.pdf_ec_level, a.pdf_ec_level);
    EXPECT_EQ(b.dm_module, a.dm_module);
    EXPECT_EQ(b.dm_format, a.dm_format);
    EXPECT_EQ(b.dm_encoding, a.dm_encoding);
    EXPECT_FLOAT_EQ(b.hdr_mar, a.hdr_mar);
    EXPECT_FLOAT_EQ(b.LR_mar, a.LR_mar);
    Expect_Font_Same(b.value_font, a.value_font, "value");
    Expect_Font_Same(b.header_font, a.header_font, "header");
    Expect_Font_Same(b.footer_font, a.footer_font, "footer");
    EXPECT_EQ(b.bar_hdr_clr, a.bar_hdr_clr);
    EXPECT_EQ(b.bar_ftr_clr, a.bar_ftr_clr);
    EXPECT_EQ(b.bar_val_clr, a.bar_val_clr);
    EXPECT_EQ(b.bar_back_clr, a.bar_back_clr);
    EXPECT_EQ(b.barcode_clr, a.barcode_clr);
    EXPECT_FALSE(b.fill_transparent);
    EXPECT_EQ(b.dpi_choice, 6);
    EXPECT_EQ(b.custom_dpi, 450);
    EXPECT_EQ(b.unit, 2);
    const Barcode_File_Content& k = r.content;
    EXPECT_TRUE(k.dataSource);
    EXPECT_TRUE(k.valueFromList);
    EXPECT_FALSE(k.headerFromList);
    EXPECT_TRUE(k.footerFromList);
    EXPECT_EQ(k.list, c.list);
    EXPECT_FALSE(k.customList);
    EXPECT_EQ(k.valueSeries, QStringLiteral("serials"));
    EXPECT_EQ(k.valueItem, QStringLiteral("A-7"));
    EXPECT_EQ(k.headerSeries, QString(""));
    EXPECT_EQ(k.footerSeries, QStringLiteral("feet"));
    EXPECT_FALSE(k.older);
}

TEST(BarcodeFile, TheClearBackgroundComesBackTransparentWithItsColour)
{
    Barcode_File_Content c = Sample_Barcode();
    c.settings.fill_transparent = true;
    const Barcode_File_Read r = Read_Barcode_Content(QVariant(Barcode_File_Elements(c)));
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.content.settings.fill_transparent);
    EXPECT_EQ(r.content.settings.bar_back_clr, QColor(250, 250, 200));
    EXPECT_EQ(Barcode_File_Elements(r.content), Barcode_File_Elements(c)) << "written back the same";
    // The plain clear colour (all zero, as the transparent radio button
    // leaves the well) comes back transparent, and is written back the same.
    QVariantList e = Barcode_File_Elements(Sample_Barcode());
    e[43] = Colour_To_Data(QColor(0, 0, 0, 0));
    const Barcode_File_Read r2 = Read_Barcode_Content(QVariant(e));
    ASSERT_TRUE(r2.ok);
    EXPECT_TRUE(r2.content.settings.fill_transparent);
    EXPECT_EQ(r2.content.settings.bar_back_clr.rgba(), 0u);
    EXPECT_EQ(Barcode_File_Elements(r2.content), e);
}

TEST(BarcodeFile, AnOlderFileOf48ElementsLoadsWithTheCustomListAndNoSeries)
{
    QVariantList e = Barcode_File_Elements(Sample_Barcode());
    // The older form: its own magic, no kind, the list last.
    QVariantList older{Older_Barcode_File_Magic};
    for (int i = 2; i <= 48; ++i)
        older << e.at(i);
    ASSERT_EQ(older.size(), 48);
    QTemporaryDir dir;
    const QString path = dir.filePath("old.dbs");
    ASSERT_TRUE(Plist_Write_File(path, QVariant(older), PlistFormat::Xml));
    const auto root = Read_Design_Root(path);
    ASSERT_EQ(Classify_Design_Root(*root), Design_File_Kind::OlderBarcode);
    const Barcode_File_Read r = Read_Barcode_Content(*root);
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_TRUE(r.content.older);
    EXPECT_TRUE(r.content.customList);
    EXPECT_EQ(r.content.valueSeries, QString());
    EXPECT_EQ(r.content.list.size(), 3);
    EXPECT_EQ(r.content.settings.barcodeType, QStringLiteral("QR Code"));

    older.removeLast();
    EXPECT_FALSE(Read_Barcode_Content(QVariant(older)).ok) << "the list is missing";
}

TEST(BarcodeFile, DamagedElementsAreRefused)
{
    const QVariantList good = Barcode_File_Elements(Sample_Barcode());
    const auto refused = [&good](int index, const QVariant& value) {
        QVariantList e = good;
        e[index] = value;
        return !Read_Barcode_Content(QVariant(e)).ok;
    };
    EXPECT_TRUE(refused(2, QStringLiteral("Code 99"))) << "unknown barcode type";
    EXPECT_TRUE(refused(18, QStringLiteral("nan")));
    EXPECT_TRUE(refused(19, QStringLiteral("1e999")));
    EXPECT_TRUE(refused(21, QStringLiteral("41"))) << "QR version beyond the list";
    EXPECT_TRUE(refused(35, QStringLiteral("0")));
    EXPECT_TRUE(refused(40, QStringLiteral("not data")));
    EXPECT_TRUE(refused(43, QByteArray("ZLKA garbage")));
    EXPECT_TRUE(refused(47, QStringLiteral("5"))) << "unknown unit";
    EXPECT_TRUE(refused(48, QVariantList{QStringLiteral("row")}));
    EXPECT_TRUE(refused(48, QVariantList{QVariantMap{{"Value", qint64(3)}}}));
    // Field texts are what the user typed: words read as 0, not as damage.
    EXPECT_FALSE(refused(29, QStringLiteral("zero")));
    QVariantList cut = good;
    cut.removeLast();
    EXPECT_FALSE(Read_Barcode_Content(QVariant(cut)).ok);
}

} // namespace
