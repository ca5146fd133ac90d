#pragma once
// Design and barcode settings files (".dbs"): the root read and classified,
// then read by its reader as the Open command does; what was read is drawn
// (design items) and written again, and the file written reads back.
#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"
#include "core/model/BarcodeItemImage.h"
#include "fuzz/targets/items.h"
#include "mainwindow/files/BarcodeFile.h"
#include "mainwindow/files/DesignFile.h"
#include "platform/Plist.h"

inline Item_Record_Context Fuzz_Design_Context()
{
    Item_Record_Context c;
    c.firstSeriesValue = [](const QString&) { return QString(); };
    c.firstSheetValue = [](int) { return QString(); };
    c.renderBarcode = [](const LMNGraphic& item, const QString& value) {
        BarcodeSettings s = Barcode_Settings_Of_Item(item, Symbology_Titles());
        if (!Find_Symbology(s.barcodeType))
            Set_Barcode_Type(s, Symbology_Titles().value(0));
        Apply_DPI_Choice(s);
        return Make_Barcode_Image(s, value, item.header_val, item.footer_val);
    };
    c.pictures = std::make_shared<QHash<QString, PtImage>>();
    return c;
}

inline int Fuzz_Design_File(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    Fuzz_Install_Barcode_Road();
    const std::optional<QVariant> root = Plist_Parse(Fuzz_Bytes(data, size));
    if (!root)
        return 0;
    switch (Classify_Design_Root(*root)) {
    case Design_File_Kind::Design: {
        const Design_File_Read read = Read_Design_Content(*root, Fuzz_Design_Context(), true);
        if (!read.ok)
            return 0;
        for (const LMNGraphicPtr& item : read.content.items)
            Fuzz_Use_Item(*item);
        const QVariantList elements = Design_File_Elements(read.content, false);
        const QByteArray xml = Plist_Serialize(elements, PlistFormat::Xml);
        Fuzz_Check(!xml.isEmpty(), "a design read can be written");
        const std::optional<QVariant> again = Plist_Parse(xml);
        Fuzz_Check(again.has_value(), "a design written parses");
        const Design_File_Read back = Read_Design_Content(*again, Fuzz_Design_Context(), true);
        // Damaged records were read as far as they went; what is written of
        // them reads back whole.
        Fuzz_Check(back.ok && back.itemProblems.isEmpty(), "a design written reads back whole");
        break;
    }
    case Design_File_Kind::Barcode:
    case Design_File_Kind::OlderBarcode: {
        const Barcode_File_Read read = Read_Barcode_Content(*root);
        if (!read.ok)
            return 0;
        (void)Make_Barcode(read.content.settings, read.content.settings.liner_or_2D_font
                               ? read.content.settings.dataText_2D : read.content.settings.dataText,
                           read.content.settings.HeaderText, read.content.settings.FooterText);
        const QByteArray xml = Plist_Serialize(Barcode_File_Elements(read.content), PlistFormat::Xml);
        Fuzz_Check(!xml.isEmpty(), "barcode settings read can be written");
        const std::optional<QVariant> again = Plist_Parse(xml);
        Fuzz_Check(again && Read_Barcode_Content(*again).ok, "barcode settings written read back");
        break;
    }
    case Design_File_Kind::Corrupt:
        break;
    }
    return 0;
}
