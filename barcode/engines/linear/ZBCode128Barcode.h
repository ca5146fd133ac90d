#pragma once
// Code 128 in one code set for the whole symbol: set A (upper case and
// control characters), set B (printable ASCII) or set C (digit pairs), fixed
// by the caller or chosen from the content. The symbol never switches sets;
// characters outside the chosen set make the content invalid.
#include "barcode/engines/linear/ZBBarcode.h"

class ZBCode128Barcode : public ZBBarcode {
public:
    enum CodeSet { SetA = 0, SetB = 1, SetC = 2, Automatic = 3 };

    // codeSet 0-2 fixes the set; 3 chooses it from the content.
    explicit ZBCode128Barcode(const QString& content, bool printsCaption = true, int codeSet = Automatic);
    std::unique_ptr<ZBBarcode> clone() const override { return std::make_unique<ZBCode128Barcode>(*this); }

    // The set in use (0-2 once resolved). Setting 3 chooses again from the
    // content; the check value follows.
    int codeSet() const { return m_codeSet; }
    void setCodeSet(int codeSet);
    void setContent(const QString& content) override;

    int _bestCodeSetForContent() const;
    bool isContentValid() const override;
    QString invalidReason() const override;
    // The check value 0-102 (held as a number in checkDigit()).
    void generateChecksum() override;

    // Value of a set A or set B character (A and B agree where they overlap).
    static int _valueForChar(char c);
    // 11-module pattern of a symbol value 0-105, 13 modules for the stop
    // (106); empty for anything else.
    static std::string_view Pattern(int value);
    // The character's pattern in the given set; empty when the set lacks it.
    std::string_view _encodeChar_withSet(char c, int set) const;
    bool _canEncodeChar_withSet(char c, int set) const { return !_encodeChar_withSet(c, set).empty(); }
    std::string_view _encodeChar(char c) const override { return _encodeChar_withSet(c, m_codeSet); }
    // Pattern of the number at the start of a two-character string (0-102).
    static std::string_view _encodeNumberPair(std::string_view pair);

protected:
    bool acceptsChar(char c) const override;
    // The set asked for; with the set chosen from the content, any character
    // of set A or set B.
    bool acceptsTypedChar(char c) const override;
    QString acceptedCharacters() const override;
    void appendInitiator(std::string& out) const override;
    void appendTerminator(std::string& out) const override;
    void appendBarcode(std::string& out) const override;
    size_t estimatedLength() const override { return 11 * (m_content.size() + 3) + 2; }

private:
    void resolveAndCheck();
    int m_requestedSet = Automatic;
    int m_codeSet = SetA;
};
