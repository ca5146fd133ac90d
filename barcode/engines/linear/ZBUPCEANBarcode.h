#pragma once
// UPC-A, UPC-E, EAN-13 and EAN-8.
//
// Guard bars reach lower than the data bars (barBottom), the outer digits are
// printed beside the bars (leftCaption, rightCaption), the caption is split in
// two halves by a tab, and the symbol is 20 % wider than its bars to leave
// room for the outer digits (firstBar is 10 % of the width).
#include "barcode/engines/linear/ZBBarcode.h"

#include <vector>

// Digit patterns, 7 modules each: L (odd parity, left half), R (right half,
// L inverted) and G (even parity, R reversed).
std::string_view UPCEAN_L_Pattern(char digit);
std::string_view UPCEAN_R_Pattern(char digit);
std::string_view UPCEAN_G_Pattern(char digit);
// Every '0' becomes '1' and every other character '0'.
std::string Swap_Handedness(std::string_view s);
// Swap_Handedness of the string read backwards.
std::string Swap_Parity(std::string_view s);

class ZBAbstractUPCEANBarcode : public ZBBarcode {
public:
    // One piece of the caption as the drawer lays it out: the text, and the
    // horizontal span in points (from the symbol's left edge) it is centred in.
    struct CaptionPiece {
        QString text;
        float x = 0.0f;
        float width = 0.0f;
    };

    void calculateWidth() override;
    float firstBar() const override { return m_width * 0.1f; }
    float lastBar() const override { return m_width * 0.9f - m_barWidth; }
    int digitsToLeft() const override { return 1; }
    int digitsToRight() const override { return 1; }
    // The check digit as a one-character string.
    QString rightCaption() const override;
    float barBottom(int n) const override;
    bool hasBarExtents() const override { return true; }
    // The modulo-10 check digit when the content has exactly 11 characters.
    void generateChecksum() override;
    std::string_view _encodeChar(char c) const override { return UPCEAN_L_Pattern(c); }

    // The caption split into its pieces (left digit, left half, right half,
    // right digit; empty pieces left out), placed under the modules they
    // belong to. Uses width() and barWidth().
    std::vector<CaptionPiece> captionPieces() const;

protected:
    explicit ZBAbstractUPCEANBarcode(const QString& content, bool printsCaption);
    bool acceptsChar(char c) const override { return c >= '0' && c <= '9'; }
    void appendInitiator(std::string& out) const override { out += "101"; }
    void appendTerminator(std::string& out) const override { out += "101"; }
    size_t estimatedLength() const override { return 96; }
    // Module spans [first, last] of the two caption halves in the complete bar string.
    virtual void captionHalves(int& l0, int& l1, int& r0, int& r1) const = 0;
    // Number of modules of the complete symbol.
    virtual int moduleCount() const = 0;
    // Check digit over the content's first `count` characters.
    void computeCheck(size_t count);
    // A check digit typed with the value that differs from the computed one,
    // and the digit typed (0 when none was).
    bool m_checkMismatch = false;
    char m_typedCheck = 0;
};

class ZBUPCABarcode : public ZBAbstractUPCEANBarcode {
public:
    explicit ZBUPCABarcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBUPCABarcode>(*this); }
    bool isContentValid() const override;
    QString caption() const override;

protected:
    struct NoInit {};
    ZBUPCABarcode(const QString& content, bool printsCaption, NoInit);
    QString acceptedCharacters() const override;
    QString structureReason() const override;
    void appendBarcode(std::string& out) const override;
    void captionHalves(int& l0, int& l1, int& r0, int& r1) const override;
    int moduleCount() const override { return 95; }
};

class ZBUPCEBarcode : public ZBUPCABarcode {
public:
    explicit ZBUPCEBarcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBUPCEBarcode>(*this); }
    bool isContentValid() const override;
    QString caption() const override;
    float barBottom(int n) const override;
    void generateChecksum() override;

    // The 11-digit UPC-A value a 7-character UPC-E value stands for.
    static std::string Expand_To_UPCA(std::string_view upce);
    // The six UPC-E digits of a 12-character UPC-A value; "" when it has none.
    static QString UPCAToUPCE(const QString& upca);
    // True when digit i (1-6) takes the even-parity (G) pattern.
    bool parityForDigit(int i) const;
    // Why a 7-digit value (number system and six digits) has no UPC-E form:
    // the digits the zero-suppression rules require are not there. Empty
    // when the value is a proper UPC-E value.
    static QString Zero_Suppression_Fault(std::string_view upce);

protected:
    QString acceptedCharacters() const override;
    QString structureReason() const override;
    void appendBarcode(std::string& out) const override;
    void appendTerminator(std::string& out) const override { out += "010101"; }
    void captionHalves(int& l0, int& l1, int& r0, int& r1) const override;
    int moduleCount() const override { return 51; }
};

class ZBEAN13Barcode : public ZBAbstractUPCEANBarcode {
public:
    explicit ZBEAN13Barcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBEAN13Barcode>(*this); }
    bool isContentValid() const override;
    QString caption() const override;
    int digitsToRight() const override { return 0; }
    QString rightCaption() const override { return QString(); }
    void generateChecksum() override;
    // True when the left-half digit at index i (1-6) takes the G pattern for
    // the given first digit.
    static bool _parityForSystemDigit(char first, int i);

protected:
    struct NoInit {};
    ZBEAN13Barcode(const QString& content, bool printsCaption, NoInit);
    QString acceptedCharacters() const override;
    QString structureReason() const override;
    void appendBarcode(std::string& out) const override;
    void captionHalves(int& l0, int& l1, int& r0, int& r1) const override;
    int moduleCount() const override { return 95; }
};

class ZBEAN8Barcode : public ZBEAN13Barcode {
public:
    explicit ZBEAN8Barcode(const QString& content, bool printsCaption = true);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBEAN8Barcode>(*this); }
    bool isContentValid() const override;
    QString caption() const override;
    int digitsToLeft() const override { return 0; }
    int digitsToRight() const override { return 0; }
    QString rightCaption() const override { return QString(); }
    float barBottom(int n) const override;
    void generateChecksum() override;

protected:
    QString acceptedCharacters() const override;
    QString structureReason() const override;
    void appendBarcode(std::string& out) const override;
    void captionHalves(int& l0, int& l1, int& r0, int& r1) const override;
    int moduleCount() const override { return 67; }
};
