#pragma once
// The one table of barcode symbologies.
//
// Every question of the kind "which symbology is this type name, is it linear
// or 2D, which option pane goes with it, what value does it accept" is
// answered here: the type popup of both barcode windows lists the titles in
// the table's order (stored type indexes refer to it), the generation road
// and the linear factory choose by its ids, and the tests and benchmarks walk
// it with its sample values. No other code compares type names.
#include <QString>
#include <QStringList>

#include <vector>

enum class SymbologyId {
    Code39,
    ExtendedCode39,
    Code128,
    Code128A,
    Code128B,
    Code128C,
    Codabar,
    Interleaved2of5,
    Industrial2of5,
    ModifiedPlessey,
    ModifiedPlesseyHex,
    PostNet,
    Planet,
    RoyalMail,
    JapanPost,
    UPCA,
    UPCE,
    EAN13,
    EAN8,
    QRCode,
    PDF417,
    DataMatrix,
};

enum class SymbologyFamily { Linear, Postal, TwoD };

// The settings pane that holds a symbology's own options.
enum class OptionPane { Linear, QRCode, PDF417, DataMatrix };

struct Symbology {
    SymbologyId id;
    const char* title;        // the type name of the popup
    SymbologyFamily family;
    OptionPane pane;
    const char* sample;       // a value the symbology accepts
    // What the symbology takes, told to the user when a value is refused:
    // the characters it can encode (null: every ASCII character; "0-9" and
    // "A-Z" stand for their ranges) and a sentence on characters and length.
    const char* allowed;
    const char* accepts;
    // UPC and EAN captions stand in fixed digit groups: no letter spacing.
    bool fixedCaption = false;

    QString name() const { return QString::fromLatin1(title); }
    bool isTwoD() const { return family == SymbologyFamily::TwoD; }
    QString sampleValue() const { return QString::fromLatin1(sample); }
    // Whether the symbology can encode the character at all (the engine
    // still judges the value as a whole).
    bool allows(QChar c) const;
};

// The 22 symbologies in the order of the type popup: the order of the
// barcode type names of the design file format, which stored type indexes
// refer to (Code 39, Extended Code 39, Interleaved 2 of 5, UPCA, PostNet,
// Modified Plessey, Modified Plessey (Hex), Industrial 2 of 5, EAN-13,
// Code 128, its sets A, B and C, Codabar, UPCE, EAN-8, Royal Mail, Planet,
// Japan Post, QR Code, PDF417, DataMatrix).
const std::vector<Symbology>& Symbology_Table();

// The popup's titles in that order.
const QStringList& Symbology_Titles();

// The entry of a type name or an id; null for a name that is not in the table.
const Symbology* Find_Symbology(const QString& title);
const Symbology& Symbology_Of(SymbologyId id);

// Position of a type name in the popup order, -1 for an unknown name.
int Symbology_Index(const QString& title);

// The entry at a stored popup position; null out of range.
const Symbology* Symbology_At(int index);

// Design files written by earlier builds of this program stored type indexes
// in another order (Code 39, Extended Code 39, Code 128, sets A, B, C,
// Codabar, Interleaved and Industrial 2 of 5, the two Plesseys, PostNet,
// Planet, Royal Mail, Japan Post, UPCA, UPCE, EAN-13, EAN-8, then the three
// 2D names). The position in today's order of such an index; -1 out of range.
int Symbology_Index_From_Former_Order(int index);

// True for the three 2D type names that draw a symbol.
bool Is_TwoD_Symbology(const QString& title);

// Titles the 2D branch of generation accepts beside the table's three 2D
// names (they draw nothing: the preview turns blank).
bool Is_Accepted_2D_Title(const QString& title);
