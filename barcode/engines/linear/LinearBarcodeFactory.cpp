// Creation of a linear or postal symbol by its barcode type name.
#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/engines/linear/ZBClassicBarcodes.h"
#include "barcode/engines/linear/ZBCode128Barcode.h"
#include "barcode/engines/linear/ZBPostalBarcode.h"
#include "barcode/engines/linear/ZBUPCEANBarcode.h"

namespace {

enum class Kind {
    None, Code39, ExtendedCode39, Codabar, Interleaved25, Industrial25, Plessey, PlesseyHex,
    Code128Auto, Code128A, Code128B, Code128C, UPCA, UPCE, EAN13, EAN8, Postnet, Planet,
    RoyalMail, JapanPost,
};

Kind Kind_For(const QString& name)
{
    static const struct {
        const char* name;
        Kind kind;
    } kNames[] = {
        {"Code 39", Kind::Code39},
        {"Extended Code 39", Kind::ExtendedCode39},
        {"Codabar", Kind::Codabar},
        {"Interleaved 2 of 5", Kind::Interleaved25},
        {"Industrial 2 of 5", Kind::Industrial25},
        {"Modified Plessey", Kind::Plessey},
        {"Modified Plessey (Hex)", Kind::PlesseyHex},
        {"Code 128", Kind::Code128Auto},
        {"Code 128 SET A", Kind::Code128A},
        {"Code 128 SET B", Kind::Code128B},
        {"Code 128 SET C", Kind::Code128C},
        {"UPCA", Kind::UPCA},
        {"UPCE", Kind::UPCE},
        {"EAN-13", Kind::EAN13},
        {"EAN-8", Kind::EAN8},
        {"PostNet", Kind::Postnet},
        {"Planet", Kind::Planet},
        {"Royal Mail Barcode (RM4SCC / CBC)", Kind::RoyalMail},
        {"Japan Post Barcode", Kind::JapanPost},
    };
    for (const auto& e : kNames)
        if (name == QLatin1String(e.name))
            return e.kind;
    return Kind::None;
}

} // namespace

bool Is_Linear_Barcode_Type(const QString& typeName)
{
    return Kind_For(typeName) != Kind::None;
}

std::unique_ptr<ZBBarcode> Make_Linear_Barcode(const QString& typeName, const QString& content,
                                               bool printsCaption)
{
    std::unique_ptr<ZBBarcode> b;
    switch (Kind_For(typeName)) {
    case Kind::None: return nullptr;
    case Kind::Code39: b = std::make_unique<ZBCode39Barcode>(content, printsCaption); break;
    case Kind::ExtendedCode39: b = std::make_unique<ZBExtendedCode39Barcode>(content, printsCaption); break;
    case Kind::Codabar: b = std::make_unique<ZBCodabarBarcode>(content, printsCaption); break;
    case Kind::Interleaved25: b = std::make_unique<ZBInterleavedTwoOfFiveBarcode>(content, printsCaption); break;
    case Kind::Industrial25: b = std::make_unique<ZBIndustrialTwoOfFiveBarcode>(content, printsCaption); break;
    case Kind::Plessey: b = std::make_unique<ZBModifiedPlesseyBarcode>(content, printsCaption); break;
    case Kind::PlesseyHex: b = std::make_unique<ZBModifiedPlesseyHexBarcode>(content, printsCaption); break;
    case Kind::Code128Auto: b = std::make_unique<ZBCode128Barcode>(content, printsCaption, ZBCode128Barcode::Automatic); break;
    case Kind::Code128A: b = std::make_unique<ZBCode128Barcode>(content, printsCaption, ZBCode128Barcode::SetA); break;
    case Kind::Code128B: b = std::make_unique<ZBCode128Barcode>(content, printsCaption, ZBCode128Barcode::SetB); break;
    case Kind::Code128C: b = std::make_unique<ZBCode128Barcode>(content, printsCaption, ZBCode128Barcode::SetC); break;
    case Kind::UPCA: b = std::make_unique<ZBUPCABarcode>(content, printsCaption); break;
    case Kind::UPCE: b = std::make_unique<ZBUPCEBarcode>(content, printsCaption); break;
    case Kind::EAN13: b = std::make_unique<ZBEAN13Barcode>(content, printsCaption); break;
    case Kind::EAN8: b = std::make_unique<ZBEAN8Barcode>(content, printsCaption); break;
    case Kind::Postnet: b = std::make_unique<ZBPostnetBarcode>(content, printsCaption); break;
    case Kind::Planet: b = std::make_unique<ZBPlanetBarcode>(content, printsCaption); break;
    case Kind::RoyalMail: b = std::make_unique<ZBRoyalMailBarcode>(content, printsCaption); break;
    case Kind::JapanPost: b = std::make_unique<JapanPostBarcode>(content, printsCaption); break;
    }
    if (!b || !b->hasAsciiContent())
        return nullptr;
    return b;
}
