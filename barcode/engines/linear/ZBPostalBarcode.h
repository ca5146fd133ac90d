#pragma once
// Height-modulated postal symbologies: POSTNET and PLANET (tall and short
// bars on one base line) and the four-state codes of Royal Mail (RM4SCC) and
// Japan Post (customer barcode), whose bars are full, ascending, descending or
// short trackers.
//
// Every bar is one module wide and followed by space; the data is in each
// bar's vertical extent, which barTop(n) and barBottom(n) give in points for
// module index n of the complete bar string (barBottom is the foot of the bar
// above the base line, barTop its top).
#include "barcode/engines/linear/ZBBarcode.h"

#include <array>

class ZBPostnetBarcode : public ZBBarcode {
public:
    explicit ZBPostnetBarcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBPostnetBarcode>(*this); }

    bool isContentValid() const override;
    void generateChecksum() override;
    std::string_view _encodeChar(char c) const override;
    float barTop(int n) const override;
    bool hasBarExtents() const override { return true; }

    // Height in inches of bar b (1-5) of the k-th character (the check digit
    // for k equal to the content's length); 0 for a character that is no digit.
    float _heightForDigit_andBar(int k, int b) const;

protected:
    bool acceptsChar(char c) const override { return c >= '0' && c <= '9'; }
    QString acceptedCharacters() const override;
    QString structureReason() const override;
    void appendInitiator(std::string& out) const override { out += "100"; }
    void appendTerminator(std::string& out) const override { out += "1"; }
    size_t estimatedLength() const override { return 15 * (m_content.size() + 1) + 4; }
    virtual bool lengthAccepted(size_t n) const { return n == 5 || n == 9 || n == 11; }
    // True when bar b (1-5) of the digit is tall in POSTNET.
    static bool Tall(char digit, int b);
    virtual bool exchanged() const { return false; }
};

// PLANET: POSTNET with tall and short bars exchanged; 5, 9, 11 or 13 digits.
class ZBPlanetBarcode : public ZBPostnetBarcode {
public:
    explicit ZBPlanetBarcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBPlanetBarcode>(*this); }

protected:
    QString acceptedCharacters() const override;
    QString structureReason() const override;
    bool lengthAccepted(size_t n) const override { return n == 5 || n == 9 || n == 11 || n == 13; }
    bool exchanged() const override { return true; }
};

// Royal Mail 4-state customer code: 0-9 and A-Z (lower case is upper-cased),
// with the row and column check character. Caption, header and footer are
// printed as the settings say, as for every other symbology.
class ZBRoyalMailBarcode : public ZBBarcode {
public:
    explicit ZBRoyalMailBarcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBRoyalMailBarcode>(*this); }

    bool isContentValid() const override;
    void generateChecksum() override;
    std::string_view _encodeChar(char c) const override;
    float barTop(int n) const override;
    float barBottom(int n) const override;
    bool hasBarExtents() const override { return true; }
    bool isFourState() const override { return true; }

    // Bar state (BarState) of module index n of the complete bar string.
    int _barDescriptor(int n) const;
    // The four bar states of a character, first bar first; all trackers for
    // a character outside 0-9 and A-Z.
    static std::array<int, 4> Character_States(char c);

protected:
    bool acceptsTypedChar(char c) const override { return acceptsChar(Upper(c)); }
    QString acceptedCharacters() const override;
    void appendInitiator(std::string& out) const override { out += "10"; }
    void appendTerminator(std::string& out) const override { out += "1"; }
    size_t estimatedLength() const override { return 8 * (m_content.size() + 1) + 4; }
};

// Japan Post customer barcode: a value of a 7-digit postal code and an
// address part, converted to 20 symbols (letters as a control symbol and a
// digit, padded with CC4) and a modulo-19 check symbol.
class JapanPostBarcode : public ZBBarcode {
public:
    explicit JapanPostBarcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<JapanPostBarcode>(*this); }

    // Converts the value; the content becomes the characters that were encoded.
    void setContent(const QString& content) override;
    QString japanpostContents() const { return QString::fromLatin1(m_symbols.data(), qsizetype(m_symbols.size())); }

    // The nominal size of the symbol (10 is the standard size), which scales
    // every bar length and the module width (size / 6). It is set apart from
    // the outer height: the height holds the bars, the caption, the header,
    // the footer and their margins, like every other symbology's.
    float size() const { return m_size; }
    // Clamped to 8.5-11.5; the module width follows as size / 6.
    void setSize(float size);
    // Clamped to 4/3-23/12 points; the size follows as 6 x module width.
    void setBarWidth(float barWidth) override;

    bool isContentValid() const override;
    // A value of more than 20 symbols is cut to 20: the note names the part
    // kept.
    QString contentNote() const override;
    void generateChecksum() override;
    std::string_view _encodeChar(char c) const override;
    float barTop(int n) const override;
    float barBottom(int n) const override;
    bool hasBarExtents() const override { return true; }
    bool isFourState() const override { return true; }

    int _barDescriptor(int n) const;
    // Value 0-18 of a symbol, -1 for a character that is no symbol.
    static int Symbol_Value(char symbol);
    // The three bar states of a symbol.
    static std::array<int, 3> Symbol_States(char symbol);
    // True for the control symbols that stand before the digit of a letter.
    static bool Is_Control_Symbol(char symbol);

protected:
    bool acceptsTypedChar(char c) const override
    {
        const char u = Upper(c);
        return (u >= '0' && u <= '9') || u == '-' || (u >= 'A' && u <= 'Z');
    }
    QString refusedCharacters() const override;
    QString acceptedCharacters() const override;
    QString structureReason() const override;
    void appendInitiator(std::string& out) const override { out += "1010"; }
    void appendTerminator(std::string& out) const override { out += "101"; }
    void appendBarcode(std::string& out) const override;
    size_t estimatedLength() const override { return 133; }

private:
    std::string m_symbols;     // the 20 symbols
    QString m_refused;         // characters of the value that cannot be encoded
    bool m_cut = false;        // the value took more than 20 symbols and was cut
    float m_size = 10.0f;      // nominal size
};
