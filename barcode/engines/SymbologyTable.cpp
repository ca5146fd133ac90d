#include "barcode/engines/SymbologyTable.h"

#include <algorithm>
#include <iterator>

const std::vector<Symbology>& Symbology_Table()
{
    using F = SymbologyFamily;
    using P = OptionPane;
    using I = SymbologyId;
    static const char* const digits = "0-9";
    static const std::vector<Symbology> table{
        {I::Code39, "Code 39", F::Linear, P::Linear, "ZORV-42", "0-9A-Z-. $/+%",
         "Code 39 takes digits, capital letters A-Z, space and - . $ / + %."},
        {I::ExtendedCode39, "Extended Code 39", F::Linear, P::Linear, "Zorv-42", nullptr,
         "Extended Code 39 takes any ASCII character."},
        {I::Interleaved2of5, "Interleaved 2 of 5", F::Linear, P::Linear, "12345670", digits,
         "Interleaved 2 of 5 takes digits only."},
        {I::UPCA, "UPCA", F::Linear, P::Linear, "03600029145", digits,
         "UPC-A takes 11 digits, or 12 with the right check digit.", true},
        {I::PostNet, "PostNet", F::Postal, P::Linear, "12345", digits,
         "PostNet takes 5, 9 or 11 digits."},
        {I::ModifiedPlessey, "Modified Plessey", F::Linear, P::Linear, "123456", digits,
         "Modified Plessey takes digits only."},
        {I::ModifiedPlesseyHex, "Modified Plessey (Hex)", F::Linear, P::Linear, "12AB", "0-9A-F",
         "Modified Plessey (Hex) takes digits and the letters A-F."},
        {I::Industrial2of5, "Industrial 2 of 5", F::Linear, P::Linear, "123456", digits,
         "Industrial 2 of 5 takes digits only."},
        {I::EAN13, "EAN-13", F::Linear, P::Linear, "590123412345", digits,
         "EAN-13 takes 12 digits, or 13 with the right check digit.", true},
        {I::Code128, "Code 128", F::Linear, P::Linear, "Zorv Label 128", nullptr,
         "Code 128 takes any ASCII character."},
        {I::Code128A, "Code 128 SET A", F::Linear, P::Linear, "ZORV128", "\x01-_",
         "Code 128 set A takes digits, capital letters, punctuation and control characters, no small letters."},
        {I::Code128B, "Code 128 SET B", F::Linear, P::Linear, "zorv 128", " -\x7f",
         "Code 128 set B takes printable ASCII characters."},
        {I::Code128C, "Code 128 SET C", F::Linear, P::Linear, "12345678", digits,
         "Code 128 set C takes digits only."},
        {I::Codabar, "Codabar", F::Linear, P::Linear, "A12345B", "0-9A-D-$:/.+",
         "Codabar takes a start and a stop letter A-D around digits and - $ : / . +."},
        {I::UPCE, "UPCE", F::Linear, P::Linear, "0123456", digits,
         "UPC-E takes 7 digits starting with 0 or 1.", true},
        {I::EAN8, "EAN-8", F::Linear, P::Linear, "9638507", digits,
         "EAN-8 takes 7 digits, or 8 with the right check digit.", true},
        {I::RoyalMail, "Royal Mail Barcode (RM4SCC / CBC)", F::Postal, P::Linear, "LU178XE", "0-9A-Za-z",
         "Royal Mail takes digits and letters A-Z."},
        {I::Planet, "Planet", F::Postal, P::Linear, "12345678901", digits,
         "Planet takes 5, 9, 11 or 13 digits."},
        {I::JapanPost, "Japan Post Barcode", F::Postal, P::Linear, "1234567", "0-9A-Z-",
         "Japan Post takes 7 digits of postcode, then digits, capital letters and -."},
        {I::QRCode, "QR Code", F::TwoD, P::QRCode, "https://zorv.example/label?id=42", nullptr,
         "QR Code takes any text up to its capacity."},
        {I::PDF417, "PDF417", F::TwoD, P::PDF417, "Zorv Label PDF417", "\x01-\xff",
         "PDF417 takes Latin-1 text of up to 5420 characters."},
        {I::DataMatrix, "DataMatrix", F::TwoD, P::DataMatrix, "Zorv DM 42", nullptr,
         "Data Matrix takes any text up to its capacity."},
    };
    return table;
}

bool Symbology::allows(QChar c) const
{
    const ushort u = c.unicode();
    if (!allowed)
        return family == SymbologyFamily::TwoD ? true : u < 128;
    // A set of single characters and ranges "a-b"; a '-' that starts or
    // ends the set, or follows a range, stands for itself.
    const QByteArray set = QByteArray(allowed);
    for (qsizetype i = 0; i < set.size(); ++i) {
        const uchar a = uchar(set[i]);
        if (i + 2 < set.size() && set[i + 1] == '-') {
            const uchar b = uchar(set[i + 2]);
            if (u >= a && u <= b)
                return true;
            i += 2;
            continue;
        }
        if (u == a)
            return true;
    }
    return false;
}

const QStringList& Symbology_Titles()
{
    static const QStringList titles = [] {
        QStringList l;
        for (const Symbology& s : Symbology_Table())
            l << s.name();
        return l;
    }();
    return titles;
}

const Symbology* Find_Symbology(const QString& title)
{
    for (const Symbology& s : Symbology_Table())
        if (title == QLatin1String(s.title))
            return &s;
    return nullptr;
}

const Symbology& Symbology_Of(SymbologyId id)
{
    const auto& t = Symbology_Table();
    return *std::find_if(t.begin(), t.end(), [id](const Symbology& s) { return s.id == id; });
}

int Symbology_Index(const QString& title)
{
    const Symbology* s = Find_Symbology(title);
    return s ? int(s - Symbology_Table().data()) : -1;
}

const Symbology* Symbology_At(int index)
{
    const auto& t = Symbology_Table();
    return index >= 0 && index < int(t.size()) ? &t[size_t(index)] : nullptr;
}

int Symbology_Index_From_Former_Order(int index)
{
    static const SymbologyId former[] = {
        SymbologyId::Code39,          SymbologyId::ExtendedCode39,     SymbologyId::Code128,
        SymbologyId::Code128A,        SymbologyId::Code128B,           SymbologyId::Code128C,
        SymbologyId::Codabar,         SymbologyId::Interleaved2of5,    SymbologyId::Industrial2of5,
        SymbologyId::ModifiedPlessey, SymbologyId::ModifiedPlesseyHex, SymbologyId::PostNet,
        SymbologyId::Planet,          SymbologyId::RoyalMail,          SymbologyId::JapanPost,
        SymbologyId::UPCA,            SymbologyId::UPCE,               SymbologyId::EAN13,
        SymbologyId::EAN8,            SymbologyId::QRCode,             SymbologyId::PDF417,
        SymbologyId::DataMatrix,
    };
    if (index < 0 || index >= int(std::size(former)))
        return -1;
    const Symbology& s = Symbology_Of(former[index]);
    return int(&s - Symbology_Table().data());
}

bool Is_TwoD_Symbology(const QString& title)
{
    const Symbology* s = Find_Symbology(title);
    return s && s->isTwoD();
}

bool Is_Accepted_2D_Title(const QString& title)
{
    static const char* const accepted[] = {"QR Code", "CODE_128", "AZTEC", "DATA_MATRIX", "DataMatrix",
                                           "MAXICODE", "ITF", "PDF417", "CODABAR"};
    return std::any_of(std::begin(accepted), std::end(accepted),
                       [&](const char* a) { return title == QLatin1String(a); });
}
