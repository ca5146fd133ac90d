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

namespace {

// The object for any content, one without an ASCII form included (it then
// refuses itself and can say why).
std::unique_ptr<ZBBarcode> Create(SymbologyId id, const QString& c, bool p)
{
    using I = SymbologyId;
    switch (id) {
    case I::Code39: return std::make_unique<ZBCode39Barcode>(c, p);
    case I::ExtendedCode39: return std::make_unique<ZBExtendedCode39Barcode>(c, p);
    case I::Code128: return std::make_unique<ZBCode128Barcode>(c, p, ZBCode128Barcode::Automatic);
    case I::Code128A: return std::make_unique<ZBCode128Barcode>(c, p, ZBCode128Barcode::SetA);
    case I::Code128B: return std::make_unique<ZBCode128Barcode>(c, p, ZBCode128Barcode::SetB);
    case I::Code128C: return std::make_unique<ZBCode128Barcode>(c, p, ZBCode128Barcode::SetC);
    case I::Codabar: return std::make_unique<ZBCodabarBarcode>(c, p);
    case I::Interleaved2of5: return std::make_unique<ZBInterleavedTwoOfFiveBarcode>(c, p);
    case I::Industrial2of5: return std::make_unique<ZBIndustrialTwoOfFiveBarcode>(c, p);
    case I::ModifiedPlessey: return std::make_unique<ZBModifiedPlesseyBarcode>(c, p);
    case I::ModifiedPlesseyHex: return std::make_unique<ZBModifiedPlesseyHexBarcode>(c, p);
    case I::PostNet: return std::make_unique<ZBPostnetBarcode>(c, p);
    case I::Planet: return std::make_unique<ZBPlanetBarcode>(c, p);
    case I::RoyalMail: return std::make_unique<ZBRoyalMailBarcode>(c, p);
    case I::JapanPost: return std::make_unique<JapanPostBarcode>(c, p);
    case I::UPCA: return std::make_unique<ZBUPCABarcode>(c, p);
    case I::UPCE: return std::make_unique<ZBUPCEBarcode>(c, p);
    case I::EAN13: return std::make_unique<ZBEAN13Barcode>(c, p);
    case I::EAN8: return std::make_unique<ZBEAN8Barcode>(c, p);
    case I::QRCode:
    case I::PDF417:
    case I::DataMatrix: return nullptr;
    }
    return nullptr;
}

} // namespace

std::unique_ptr<ZBBarcode> Make_Linear_Barcode(SymbologyId id, const QString& content,
                                               bool printsCaption)
{
    std::unique_ptr<ZBBarcode> b = Create(id, content, printsCaption);
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

QString Linear_Invalid_Reason(SymbologyId id, const QString& value)
{
    const std::unique_ptr<ZBBarcode> b = Create(id, value, true);
    return b ? b->invalidReason() : QString();
}

QString Linear_Invalid_Reason(const QString& typeName, const QString& value)
{
    const Symbology* s = Find_Symbology(typeName);
    if (!s || s->isTwoD())
        return {};
    return Linear_Invalid_Reason(s->id, value);
}
