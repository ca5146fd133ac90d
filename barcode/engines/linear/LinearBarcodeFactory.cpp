// Creation of a linear or postal symbol by its entry in the symbology table.
#include "barcode/engines/SymbologyTable.h"
#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/engines/linear/ZBClassicBarcodes.h"
#include "barcode/engines/linear/ZBCode128Barcode.h"
#include "barcode/engines/linear/ZBPostalBarcode.h"
#include "barcode/engines/linear/ZBUPCEANBarcode.h"

bool Is_Linear_Barcode_Type(const QString& typeName)
{
    const Symbology* s = Find_Symbology(typeName);
    return s && !s->isTwoD();
}

std::unique_ptr<ZBBarcode> Make_Linear_Barcode(SymbologyId id, const QString& content,
                                               bool printsCaption)
{
    using I = SymbologyId;
    const QString& c = content;
    const bool p = printsCaption;
    std::unique_ptr<ZBBarcode> b;
    switch (id) {
    case I::Code39: b = std::make_unique<ZBCode39Barcode>(c, p); break;
    case I::ExtendedCode39: b = std::make_unique<ZBExtendedCode39Barcode>(c, p); break;
    case I::Code128: b = std::make_unique<ZBCode128Barcode>(c, p, ZBCode128Barcode::Automatic); break;
    case I::Code128A: b = std::make_unique<ZBCode128Barcode>(c, p, ZBCode128Barcode::SetA); break;
    case I::Code128B: b = std::make_unique<ZBCode128Barcode>(c, p, ZBCode128Barcode::SetB); break;
    case I::Code128C: b = std::make_unique<ZBCode128Barcode>(c, p, ZBCode128Barcode::SetC); break;
    case I::Codabar: b = std::make_unique<ZBCodabarBarcode>(c, p); break;
    case I::Interleaved2of5: b = std::make_unique<ZBInterleavedTwoOfFiveBarcode>(c, p); break;
    case I::Industrial2of5: b = std::make_unique<ZBIndustrialTwoOfFiveBarcode>(c, p); break;
    case I::ModifiedPlessey: b = std::make_unique<ZBModifiedPlesseyBarcode>(c, p); break;
    case I::ModifiedPlesseyHex: b = std::make_unique<ZBModifiedPlesseyHexBarcode>(c, p); break;
    case I::PostNet: b = std::make_unique<ZBPostnetBarcode>(c, p); break;
    case I::Planet: b = std::make_unique<ZBPlanetBarcode>(c, p); break;
    case I::RoyalMail: b = std::make_unique<ZBRoyalMailBarcode>(c, p); break;
    case I::JapanPost: b = std::make_unique<JapanPostBarcode>(c, p); break;
    case I::UPCA: b = std::make_unique<ZBUPCABarcode>(c, p); break;
    case I::UPCE: b = std::make_unique<ZBUPCEBarcode>(c, p); break;
    case I::EAN13: b = std::make_unique<ZBEAN13Barcode>(c, p); break;
    case I::EAN8: b = std::make_unique<ZBEAN8Barcode>(c, p); break;
    case I::QRCode:
    case I::PDF417:
    case I::DataMatrix: return nullptr;
    }
    if (!b || !b->hasAsciiContent())
        return nullptr;
    return b;
}

std::unique_ptr<ZBBarcode> Make_Linear_Barcode(const QString& typeName, const QString& content,
                                               bool printsCaption)
{
    const Symbology* s = Find_Symbology(typeName);
    if (!s || s->isTwoD())
        return nullptr;
    return Make_Linear_Barcode(s->id, content, printsCaption);
}
