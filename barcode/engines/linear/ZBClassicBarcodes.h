#pragma once
// Code 39, Extended Code 39, Codabar, Interleaved and Industrial 2 of 5,
// Modified Plessey (decimal and hex).
//
// All bars of these symbols are as high as barTop() gives and the caption is
// the content. Only Modified Plessey carries a check character.
#include "barcode/engines/linear/ZBBarcode.h"

// Code 39: 0-9, A-Z, '-', '.', space, '$', '/', '+', '%'; lower-case input is
// upper-cased. '*' is the start and stop character and never data.
class ZBCode39Barcode : public ZBBarcode {
public:
    explicit ZBCode39Barcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBCode39Barcode>(*this); }

    bool isContentValid() const override;
    std::string_view _encodeChar(char c) const override;
    // The modulo-43 check character of the content (not part of the symbol
    // unless the caller asks for it): stores it and recomputes the width.
    void generateChecksum() override;

    // The 13-module pattern of a Code 39 character ('*' included); empty
    // when Code 39 has none.
    static std::string_view Pattern(char c);
    // Value 0-42 of a Code 39 data character, -1 for others.
    static int Value(char c);

protected:
    struct KeepCase {};
    ZBCode39Barcode(const QString& content, bool printsCaption, KeepCase);
    bool acceptsChar(char c) const override { return c != '*' && !Pattern(c).empty(); }
    // Lower-case letters are written in upper case.
    bool acceptsTypedChar(char c) const override { return acceptsChar(Upper(c)); }
    QString acceptedCharacters() const override;
    void appendInitiator(std::string& out) const override;
    void appendTerminator(std::string& out) const override;
    size_t estimatedLength() const override { return 26 * (m_content.size() + 3); }
};

// Extended Code 39: every ASCII character (0-127), the ones Code 39 lacks as
// the standard full-ASCII pair of Code 39 characters. Case is kept.
class ZBExtendedCode39Barcode : public ZBCode39Barcode {
public:
    explicit ZBExtendedCode39Barcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBExtendedCode39Barcode>(*this); }

    bool isContentValid() const override;
    // The one or two Code 39 characters that stand for an ASCII character in
    // the full-ASCII table; empty for codes 128 and above.
    static std::string_view FullAsciiPair(char c);
    std::string_view _encodeChar(char c) const override;

protected:
    bool acceptsChar(char c) const override { return static_cast<unsigned char>(c) < 128; }
    QString acceptedCharacters() const override;
};

// Codabar: digits, '-', '$', ':', '/', '.', '+' between a start and a stop
// character A-D typed as part of the content.
class ZBCodabarBarcode : public ZBBarcode {
public:
    explicit ZBCodabarBarcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBCodabarBarcode>(*this); }

    bool isContentValid() const override;
    std::string_view _encodeChar(char c) const override;

protected:
    QString acceptedCharacters() const override;
    QString structureReason() const override;
    void appendBarcode(std::string& out) const override;
    size_t estimatedLength() const override { return 11 * m_content.size(); }
};

// Interleaved 2 of 5: digits in pairs, bars carrying the first digit of a
// pair and spaces the second; an odd length gets a leading '0'.
class ZBInterleavedTwoOfFiveBarcode : public ZBBarcode {
public:
    explicit ZBInterleavedTwoOfFiveBarcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBInterleavedTwoOfFiveBarcode>(*this); }

    bool isContentValid() const override;
    // The standard modulo-10 check (weights 3 and 1 over the padded pairs);
    // nothing in the symbol uses it unless the caller stores it.
    void generateChecksum() override;
    // True when element i (0-4) of the digit is narrow; any other character
    // reads as five narrow elements.
    static bool _getBarForDigit(char digit, int i);

protected:
    bool acceptsChar(char c) const override { return c >= '0' && c <= '9'; }
    QString acceptedCharacters() const override;
    void appendInitiator(std::string& out) const override;
    void appendTerminator(std::string& out) const override;
    void appendBarcode(std::string& out) const override;
    size_t estimatedLength() const override { return 9 * m_content.size() + 32; }
};

// Industrial 2 of 5: every digit as five bars (wide 3 modules, narrow 1),
// each followed by a narrow space; spaces carry nothing.
class ZBIndustrialTwoOfFiveBarcode : public ZBInterleavedTwoOfFiveBarcode {
public:
    explicit ZBIndustrialTwoOfFiveBarcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBIndustrialTwoOfFiveBarcode>(*this); }

protected:
    QString acceptedCharacters() const override;
    void appendInitiator(std::string& out) const override;
    void appendTerminator(std::string& out) const override;
    void appendBarcode(std::string& out) const override;
    size_t estimatedLength() const override { return 14 * m_content.size() + 32; }
};

// Modified Plessey: decimal digits, four bits each (most significant first),
// with a doubling modulo-10 check digit.
class ZBModifiedPlesseyBarcode : public ZBBarcode {
public:
    explicit ZBModifiedPlesseyBarcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBModifiedPlesseyBarcode>(*this); }

    // Content validity is the base rule: every character has a pattern (_encodeChar).
    void generateChecksum() override;
    std::string_view _encodeChar(char c) const override;

    // The check digit of a content by the doubling rule (see the .cpp).
    static char Check_Digit(std::string_view content);

protected:
    bool acceptsTypedChar(char c) const override { return acceptsChar(Upper(c)); }
    QString acceptedCharacters() const override;
    void appendInitiator(std::string& out) const override;
    void appendTerminator(std::string& out) const override;
    size_t estimatedLength() const override { return 16 * (m_content.size() + 1) + 8; }
    virtual bool acceptsHex() const { return false; }
};

// Modified Plessey with the hex digits 'A'-'F' as the values 10-15.
class ZBModifiedPlesseyHexBarcode : public ZBModifiedPlesseyBarcode {
public:
    explicit ZBModifiedPlesseyHexBarcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBModifiedPlesseyHexBarcode>(*this); }

protected:
    bool acceptsHex() const override { return true; }
};
