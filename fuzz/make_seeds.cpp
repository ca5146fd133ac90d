// Writes the seed corpora of the fuzz targets with the program's own writers:
//     build-test/fuzz/fuzz_make_seeds fuzz/corpus
// Files named "seed-*" are replaced; other files (inputs kept from findings)
// are left alone. Seeds stay small: libFuzzer grows its own corpus from them.
#include "barcode/generation/BarcodeRoad.h"
#include "core/model/BarcodeItemImage.h"
#include "core/model/Card_Property.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNGraphicArchive.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNLine.h"
#include "core/model/LMNSignature.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"
#include "data/SSZipArchive.h"
#include "data/SeriesStore.h"
#include "data/Spreadsheet.h"
#include "export/mail/MailPreferences.h"
#include "fuzz/HostileFiles.h"
#include "fuzz/targets/road_input.h"
#include "mainwindow/files/BarcodeFile.h"
#include "mainwindow/files/DesignFile.h"
#include "platform/Paths.h"
#include "print/LabelSheetFiles.h"
#include "platform/ImageWriter.h"
#include "platform/PictureData.h"
#include "platform/Plist.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>

#include <cstdio>

namespace {

QString g_root;
int g_written = 0;

void Seed(const char* target, const QString& name, const QByteArray& bytes)
{
    const QString folder = QDir(g_root).filePath(QString::fromLatin1(target));
    QDir().mkpath(folder);
    QFile f(QDir(folder).filePath(QStringLiteral("seed-") + name));
    if (bytes.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "could not write seed %s/%s\n", target, qPrintable(name));
        std::exit(1);
    }
    ++g_written;
}

QImage Small_Picture(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixelColor(x, y, QColor((x * 40) % 256, (y * 60) % 256, 128, x % 2 ? 255 : 120));
    return img;
}

struct Barcode_Case {
    const char* type;
    const char* value;
};

const Barcode_Case Barcode_Cases[] = {
    {"Code 39", "ABC-123"},        {"Extended Code 39", "abc+1"},    {"Interleaved 2 of 5", "123456"},
    {"UPCA", "01234567890"},       {"PostNet", "12345"},             {"Modified Plessey", "1234"},
    {"Modified Plessey (Hex)", "12AB"}, {"Industrial 2 of 5", "1234"}, {"EAN-13", "590123412345"},
    {"Code 128", "Zorv 128"},      {"Code 128 SET A", "ABC"},        {"Code 128 SET B", "abc"},
    {"Code 128 SET C", "123456"},  {"Codabar", "A123B"},             {"UPCE", "0123456"},
    {"EAN-8", "1234567"},          {"Royal Mail Barcode (RM4SCC / CBC)", "SN34RD1A"},
    {"Planet", "12345678901"},     {"Japan Post Barcode", "1234567"}, {"QR Code", "hello"},
    {"PDF417", "hello pdf"},       {"DataMatrix", "hello dm"},
};

// One item of every kind, small, with values away from the defaults.
std::vector<std::unique_ptr<LMNGraphic>> Items()
{
    std::vector<std::unique_ptr<LMNGraphic>> items;
    auto text = std::make_unique<LMNText>();
    text->_bounds = QRectF(2, 3, 60, 20);
    text->Set_text_value(QStringLiteral("Text"));
    text->Text_contents();
    text->Drawing_Shadow = true;
    text->text_rotation = 30;
    items.push_back(std::move(text));

    auto line = std::make_unique<LMNLine>();
    line->setBeginPoint({5, 40});
    line->setEndPoint({50, 10});
    line->_stroke_border_type = QStringLiteral("DD");
    items.push_back(std::move(line));

    for (const char* code : {"R", "RR", "C", "T", "D", "S", "DS", "P"}) {
        auto shape = std::make_unique<Shape_Control>();
        shape->_bounds = QRectF(4, 4, 40, 30);
        shape->_shape_type = QString::fromLatin1(code);
        shape->double_star_type = 3;
        shape->polygon_type = 2;
        shape->text_rotation = 15;
        shape->_fill_type = QStringLiteral("G");
        shape->_stroke_border_type = QStringLiteral("DA");
        items.push_back(std::move(shape));
    }

    auto pic = std::make_unique<LMNImage>();
    pic->_bounds = QRectF(0, 0, 16, 8);
    pic->_file_path = QStringLiteral("/nowhere/picture.png");
    pic->_contents = PtImage(Small_Picture(8, 4));
    pic->_contents_with_settings = PtImage(Small_Picture(8, 4));
    pic->gray_Scale = true;
    items.push_back(std::move(pic));

    auto sign = std::make_unique<LMNSignature>();
    sign->_bounds = QRectF(1, 1, 20, 10);
    sign->_contents = PtImage(Small_Picture(6, 3));
    items.push_back(std::move(sign));

    for (const char* type : {"Code 128", "QR Code", "EAN-13"}) {
        auto bar = std::make_unique<LMNBarcode>();
        bar->barcode_font_index = Symbology_Index(QString::fromLatin1(type));
        bar->linear_or_2d = Is_TwoD_Symbology(QString::fromLatin1(type)) ? 1 : 0;
        bar->linear_font_val = QStringLiteral("590123412345");
        bar->two_d_font_val = QStringLiteral("seed");
        bar->_bounds = QRectF(3, 4, 30, 10);
        bar->Set_Barcode_image(Barcode_Item_Image(*bar));
        items.push_back(std::move(bar));
    }
    return items;
}

QList<LMNGraphic*> Pointers(const std::vector<std::unique_ptr<LMNGraphic>>& items)
{
    QList<LMNGraphic*> out;
    for (const auto& i : items)
        out << i.get();
    return out;
}

QVariant Settings_Tree()
{
    QVariantMap m;
    m.insert(QStringLiteral("SendEmailRecipient"), QStringLiteral("someone@example.org"));
    m.insert(QStringLiteral("SendEmailPORT"), qint64(587));
    m.insert(QStringLiteral("SendEnableSSL"), true);
    m.insert(QStringLiteral("ratio"), 0.25);
    m.insert(QStringLiteral("data"), QByteArray("\x01\x02\x03", 3));
    m.insert(QStringLiteral("when"), QDateTime(QDate(2024, 2, 29), QTime(12, 0), QTimeZone::utc()));
    return m;
}

QVariant Design_Like_Tree()
{
    return QVariantList{QStringLiteral("ZORVMACBARCODELABEL"), QStringLiteral("<DES>"),
                        QVariantList{QStringLiteral("R"), 1.5, qint64(-3), QStringLiteral("0.0:0.0:0.0:1.0")},
                        QVariantList{}, QVariantMap{}};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    Fuzz_Start();
    Fuzz_Install_Barcode_Road();
    g_root = QString::fromLocal8Bit(argv[1]);

    for (PlistFormat f : {PlistFormat::Xml, PlistFormat::Binary}) {
        const char* target = f == PlistFormat::Xml ? "plist_xml" : "plist_binary";
        Seed(target, "settings", Plist_Serialize(Settings_Tree(), f));
        Seed(target, "design", Plist_Serialize(Design_Like_Tree(), f));
        Seed(target, "strings", Plist_Serialize(QStringList{"a", "\xc3\xa9t\xc3\xa9", "<&>"}, f));
    }

    const auto items = Items();
    for (size_t i = 0; i < items.size(); ++i)
        Seed("item_archive", QStringLiteral("%1-%2").arg(i, 2, 10, QLatin1Char('0')).arg(items[i]->className()),
             items[i]->encodeWithCoder());
    Seed("pasteboard", "every-kind", LMNGraphic::pasteboardDataWithGraphics(Pointers(items)));
    Seed("pasteboard", "one-shape", LMNGraphic::pasteboardDataWithGraphics({items[2].get()}));
    Seed("plist_binary", "pasteboard", LMNGraphic::pasteboardDataWithGraphics({items[0].get(), items[1].get()}));

    Card_Property card;
    Seed("card_archive", "default", card.encodeWithCoder());
    card.Card_fill_style = QStringLiteral("I");
    card.Card_BG_Image = PtImage(Small_Picture(6, 6), QSizeF(12, 12));
    card.Card_border_chk = true;
    card.Card_border_style = QStringLiteral("DDD");
    card.Watermark_Used = true;
    card.Card_Shape = QStringLiteral("RR");
    Seed("card_archive", "picture-border-watermark", card.encodeWithCoder());

    const QImage picture = Small_Picture(9, 7);
    Seed("picture_data", "png", Picture_To_Png(picture));
    Seed("picture_data", "jpg", Encode_Image(picture, ImageFileFormat::JPEG, 72));
    Seed("picture_data", "bmp", Encode_Image(picture, ImageFileFormat::BMP, 72));
    Seed("picture_data", "gif", Encode_Gif(picture));
    Seed("picture_data", "tiff", Encode_Image(picture, ImageFileFormat::TIFF, 72));

    for (const Barcode_Case& c : Barcode_Cases) {
        RoadInput in;
        Set_Barcode_Type(in.s, QString::fromLatin1(c.type));
        in.s.dpi_choice = 1;   // 72 dpi keeps 2D seeds quick
        in.header = QStringLiteral("HEADER");
        in.footer = QStringLiteral("FOOTER");
        in.value = QString::fromLatin1(c.value);
        QString name = QString::fromLatin1(c.type).toLower();
        name.replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
        Seed("barcode_road", name, Write_Road_Input(in));
    }
    QTemporaryDir temp;
    auto fileBytes = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    {
        SSZipArchive zip(temp.filePath("package.zip"));
        zip.open();
        zip.writeData("first file\n", "a.txt");
        zip.writeData(QByteArray(300, 'z'), "folder/b.bin");
        zip.writeData("stored", "c.txt", true);
        zip.close();
        Seed("zip", "three-entries", fileBytes(temp.filePath("package.zip")));
    }
    const SheetTable table{{"Barcode Value", "Barcode Header", "Barcode Footer", "Print Quantity"},
                           {"123456789012", "HEADER", "FOOTER", "2"},
                           {"ABC", "", "x<&>", "1"}};
    if (SpreadsheetWriter::WriteWorkbook(temp.filePath("book.xlsx"), table, true))
        Seed("spreadsheet", "list", fileBytes(temp.filePath("book.xlsx")));
    // Hostile files the readers once got wrong (fuzz/HostileFiles.h).
    {
        const QString twice = temp.filePath("twice.xlsx"), relisted = temp.filePath("relisted.xlsx"),
                      own = temp.filePath("own.xlsx"), shared = temp.filePath("shared.xlsx");
        if (hostile_files::Write_Twice_Named_Workbook(twice) && hostile_files::Write_Relisted_Workbook(relisted)
            && hostile_files::Write_Relisted_Workbook(own, 9, true)
            && hostile_files::Write_Shared_Text_Workbook(shared)) {
            for (const char* target : {"zip", "spreadsheet"}) {
                Seed(target, "two-entries-of-one-name", fileBytes(twice));
                Seed(target, "one-entry-listed-nine-times", fileBytes(relisted));
                Seed(target, "one-entry-under-nine-names", fileBytes(own));
            }
            Seed("spreadsheet", "one-shared-megabyte-used-100-times", fileBytes(shared));
        }
    }
    Seed("text_import", "control-space-control", hostile_files::Control_Space_Control());
    Seed("text_import", "lines", "one\r\ntwo\nthree\rfour\n");
    Seed("text_import", "csv", "a,\"b, with comma\",\"c \"\"quoted\"\"\"\r\n1,2,3\n");
    Seed("text_import", "rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Helvetica;}}\\f0 one\\par two\\tab \\'e9 \\u8364? three}");
    Seed("text_import", "utf16", QByteArray("\xFF\xFE" "a\0b\0\n\0", 8));
    Seed("series", "values", Series_File_Bytes({"first", " second ", "", "\xc3\xa9"}));
    {
        PreferencesStore store(temp.filePath("mail.plist"));
        store.setDefaults();
        store.setsend_email_Recipient("someone@example.org");
        store.setsend_email_PORT_num("587");
        if (store.flush())
            Seed("mail_settings", "store", fileBytes(temp.filePath("mail.plist")));
    }
    {
        Design_File_Content design;
        design.startOption = QStringLiteral("W");
        for (const auto& g : Items())
            design.items << LMNGraphicPtr(LMNGraphic::initWithCoder(g->encodeWithCoder()));
        if (Write_Design_Elements(temp.filePath("design.dbs"), Design_File_Elements(design, false)))
            Seed("design_file", "every-kind", fileBytes(temp.filePath("design.dbs")));
        Barcode_File_Content barcodes;
        Set_Barcode_Type(barcodes.settings, QStringLiteral("QR Code"));
        barcodes.list << QVariantMap{{"Value", "123"}, {"Header", "H"}, {"Footer", "F"}, {"PQ", "2"}};
        barcodes.dataSource = true;
        barcodes.valueFromList = true;
        if (Write_Barcode_Elements(temp.filePath("barcode.dbs"), Barcode_File_Elements(barcodes)))
            Seed("barcode_file", "list", fileBytes(temp.filePath("barcode.dbs")));
    }
    // The smallest catalogue file the catalogue converter made.
    Seed("catalogue", "kores", fileBytes(QDir(Default_Resource_Path()).filePath("Formats/pages/Kores.xml")));
    QStringList sheet;
    for (int i = 0; i < Print_Profile_String_Count; ++i)
        sheet << QString::number(i * 2.5, 'f', 2);
    if (Write_Sheet_Strings(temp.filePath("profile.zvp"), sheet))
        Seed("sheet_files", "profile", fileBytes(temp.filePath("profile.zvp")));
    if (Write_Sheet_Strings(temp.filePath("custom.zvp"), sheet.mid(0, Custom_Sheet_String_Count)))
        Seed("sheet_files", "custom", fileBytes(temp.filePath("custom.zvp")));
    Seed("tool_pictures", "png", Picture_To_Png(picture));
    {
        // A photograph turned by its camera: orientation 6 in an EXIF block after the start marker.
        QByteArray jpg = Encode_Image(picture, ImageFileFormat::JPEG, 72);
        const QByteArray exif("\xFF\xE1\x00\x22" "Exif\0\0" "II\x2A\0\x08\0\0\0" "\x01\0"
                              "\x12\x01\x03\0\x01\0\0\0\x06\0\0\0" "\0\0\0\0", 36);
        jpg.insert(2, exif);
        Seed("tool_pictures", "jpg-exif", jpg);
    }
    Seed("tool_pictures", "tiff", Encode_Image(picture, ImageFileFormat::TIFF, 300));
    std::printf("wrote %d seeds into %s\n", g_written, qPrintable(g_root));
    return 0;
}
