#pragma once
// The linear barcode model: one object holds one linear or postal symbol.
//
// The object knows its content, its check character, the bar string that
// encodes it ('1' one bar module, '0' one space module), the module width and
// the symbol's size in points, the caption pieces printed with the bars, the
// header and footer texts with their visibility, and the heights those texts
// take. It never draws: the off-screen barcode view reads everything from it.
//
// Each symbology is a subclass that overrides only what differs: its valid
// characters, check character, start and stop patterns, per-character
// patterns, bar extents and caption pieces.
//
// Objects are plain values with no widget behind them. Presentation settings
// (fonts, margins) come from a BarcodeSettings given with setSettings(); when
// none was given, the active owner's settings are read at each use through
// Current_Barcode_Settings(). Bar strings are built into std::string without
// per-character allocation; patterns come from static tables.
#include "core/util/BarcodeSettings.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <string_view>

class ZBBarcode {
public:
    // Bar states of four-state postal symbols (2-bit values).
    enum BarState { Tracker = 0, Descender = 1, Ascender = 2, Full = 3 };

    explicit ZBBarcode(const QString& content, bool printsCaption = true);
    virtual ~ZBBarcode();

    ZBBarcode(const ZBBarcode&) = default;
    ZBBarcode& operator=(const ZBBarcode&) = default;

    // A copy of this symbol with the same class, content and configuration.
    virtual std::unique_ptr<ZBBarcode> clone() const = 0;

    // True when the content given had an ASCII form. A content without one
    // gives no symbol: isContentValid() is false and the bar string empty.
    bool hasAsciiContent() const { return m_ascii; }

    // --- Fields --------------------------------------------------------------
    QString content() const;
    const std::string& contentBytes() const { return m_content; }
    virtual void setContent(const QString& content);

    QString header() const { return m_header; }
    QString footer() const { return m_footer; }
    void setHeader(const QString& header) { m_header = header; }
    void setFooter(const QString& footer) { m_footer = footer; }

    float height() const { return m_height; }
    virtual void setHeight(float height) { m_height = height; }
    float width() const { return m_width; }
    void setWidth(float width) { m_width = width; }
    virtual void calculateWidth();

    // The check character; 0 means none. Code 128 keeps its check value 0-102.
    char checkDigit() const { return m_checkDigit; }
    // Stores the character; -1 is stored as 0 (none).
    void setCheckDigit(int c) { m_checkDigit = c == -1 ? char(0) : char(c); }

    float barWidth() const { return m_barWidth; }
    virtual void setBarWidth(float barWidth) { m_barWidth = barWidth; }

    virtual bool printsCaption() const { return m_printsCaption; }
    virtual bool printsHeader() const { return m_printsHeader; }
    virtual bool printsFooter() const { return m_printsFooter; }
    void setPrintsCaption(bool on) { m_printsCaption = on; }
    void setPrintsHeader(bool on) { m_printsHeader = on; }
    void setPrintsFooter(bool on) { m_printsFooter = on; }

    bool isSizeValid() const { return true; }

    // --- Encoding ------------------------------------------------------------
    virtual void generateChecksum() {}
    // False for an empty content, a content without an ASCII form, characters
    // outside the symbology's set and lengths the symbology does not accept.
    virtual bool isContentValid() const;
    // Why the content gives no symbol, as one line the user can act on: the
    // characters that are not allowed (and what the symbology takes), an
    // empty value, the lengths accepted, a wrong check digit. Empty exactly
    // when isContentValid() is true.
    virtual QString invalidReason() const;
    // What the user should know of a valid content that was not encoded as
    // typed (a value cut to the symbol's capacity), as one line saying what
    // happened and what to change; empty when it was encoded whole.
    virtual QString contentNote() const { return QString(); }

    std::string initiator() const;
    std::string terminator() const;
    // Pattern of one character; empty when the symbology has none for it.
    virtual std::string_view _encodeChar(char c) const;
    // The data part of the bar string (without start and stop); empty when
    // the content is not valid.
    std::string barcode() const;
    // Start + data + stop; empty when the content is not valid.
    std::string completeBarcode() const;
    // The same into a caller's buffer (cleared first), for loops that reuse one.
    void completeBarcode(std::string& out) const;

    // --- Caption -------------------------------------------------------------
    virtual int digitsToLeft() const { return 0; }
    virtual int digitsToRight() const { return 0; }
    // The human-readable value. Control characters read as spaces here; a
    // tab splits only the UPC and EAN captions, which override this.
    virtual QString caption() const;
    QString leftCaption() const;
    virtual QString rightCaption() const;

    // --- Text metrics --------------------------------------------------------
    float captionHeight() const { return m_captionHeight; }   // inches
    float headerHeight() const { return m_headerHeight; }    // inches
    float footerHeight() const { return m_footerHeight; }    // inches
    float headerWidth() const { return m_headerWidth; }      // points
    float footerWidth() const { return m_footerWidth; }      // points
    void setCaptionHeight(float h) { m_captionHeight = h; }
    void setHeaderHeight(float h) { m_headerHeight = h; }
    void setFooterHeight(float h) { m_footerHeight = h; }
    void setHeaderWidth(float w) { m_headerWidth = w; }
    void setFooterWidth(float w) { m_footerWidth = w; }
    float caption_fontSize() const { return m_captionFontSize; }
    float header_fontSize() const { return m_headerFontSize; }
    float footer_fontSize() const { return m_footerFontSize; }
    // Store the size; the text height (1.35 x cap height) follows the
    // settings' font, not the size passed. Header and footer also measure
    // their text's width, so set the texts first.
    void setCaptionFontSize(float size);
    void setHeaderFontSize(float size);
    void setFooterFontSize(float size);

    // --- Presentation settings ----------------------------------------------
    // Takes a copy of the settings (fonts and margins) this symbol is laid
    // out with. Without it, the active owner's settings are read at each use.
    void setSettings(const BarcodeSettings& settings);
    BarcodeSettings settings() const;

    // --- Geometry for the drawer --------------------------------------------
    // Height in points of the bar whose module index is n (the bars stand on
    // a base line), and the raised foot of that bar in points.
    virtual float barTop(int n) const;
    virtual float barBottom(int n) const;
    // True when bars differ in extent, so barTop/barBottom must be read per bar.
    virtual bool hasBarExtents() const { return false; }
    // True for the four-state postal codes, whose bars each stand on their
    // own foot (barBottom) whatever the caption layout.
    virtual bool isFourState() const { return false; }
    // x of the first bar module in points; lastBar nothing relies on.
    virtual float firstBar() const { return 0.0f; }
    virtual float lastBar() const { return m_width - m_barWidth; }

    QString description() const;
    const char* className() const { return m_className; }

    // Equal when the two contents are equal strings (also for values without
    // an ASCII form, which keep the text as given).
    bool isEqual(const ZBBarcode& other) const { return content() == other.content(); }

protected:
    // True when the symbology can encode the (ASCII) character.
    virtual bool acceptsChar(char c) const { return !_encodeChar(c).empty(); }
    // The same for a character of a value that has characters beyond ASCII
    // (and so was not stored): the symbology's own case folding applied.
    virtual bool acceptsTypedChar(char c) const { return acceptsChar(c); }
    // The characters of the value the symbology refuses, named for the user
    // ("'a', tab"); empty when there are none.
    virtual QString refusedCharacters() const;
    // What the symbology takes, as a sentence ("Code 39 takes 0-9, A-Z, ...").
    virtual QString acceptedCharacters() const { return {}; }
    // The length or arrangement fault of a value whose characters are all
    // accepted; empty when there is none.
    virtual QString structureReason() const { return {}; }

    // Append start pattern, data part and stop pattern to `out`.
    virtual void appendInitiator(std::string& out) const;
    virtual void appendTerminator(std::string& out) const;
    virtual void appendBarcode(std::string& out) const;
    // Upper bound of the complete bar string's length (for reserving).
    virtual size_t estimatedLength() const { return 16 * (m_content.size() + 4); }

    // Sets the content bytes from an already converted ASCII string.
    void setContentBytes(std::string bytes) { m_content = std::move(bytes); }
    void setAscii(bool ascii) { m_ascii = ascii; }
    // ASCII upper-casing of the stored content, and of one character.
    void upperCaseContent();
    static char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

    const char* m_className = "ZBBarcode";

    std::string m_content;      // ASCII bytes of the content
    QString m_nonAscii;         // the value as given, kept only when it had no ASCII form
    bool m_ascii = true;
    char m_checkDigit = 0;
    float m_barWidth = 0.0f;
    float m_height = 0.0f;
    float m_width = 0.0f;
    bool m_printsCaption = true;
    bool m_printsHeader = false;
    bool m_printsFooter = false;

private:
    QString m_header;
    QString m_footer;
    float m_captionFontSize = 0.0f;
    float m_headerFontSize = 0.0f;
    float m_footerFontSize = 0.0f;
    float m_captionHeight = 0.0f;
    float m_headerHeight = 0.0f;
    float m_footerHeight = 0.0f;
    float m_headerWidth = 0.0f;
    float m_footerWidth = 0.0f;
    std::shared_ptr<const BarcodeSettings> m_settings;
};

// ASCII form of a value: true and the bytes when every character is below
// 128, false (and `out` cleared) otherwise.
bool To_Ascii_Bytes(const QString& value, std::string& out);

// Modulo-10 check digit with weights 3, 1, 3, ... from the rightmost digit.
char Mod10_Check_Digit(std::string_view digits);

// True when every byte is '0'-'9' (false for an empty string).
bool All_Digits(std::string_view s);

// A character as the user reads it in a message: 'a', space, tab, DEL, U+001F.
QString Character_Name(char16_t c);

// The distinct characters of `text` for which `refused` holds, named and
// joined in the order they first appear ("'a', '*', tab"); at most eight,
// then " and more".
template <typename Pred>
QString Refused_Character_List(const QString& text, Pred refused)
{
    QString seen;
    QStringList names;
    bool more = false;
    for (QChar ch : text) {
        if (seen.contains(ch) || !refused(ch.unicode()))
            continue;
        seen += ch;
        if (names.size() == 8) {
            more = true;
            break;
        }
        names << Character_Name(ch.unicode());
    }
    QString out = names.join(QStringLiteral(", "));
    if (more)
        out += QStringLiteral(" and more");
    return out;
}

// The engine object of a linear or postal symbology of the symbology table
// (Code 128 names give their code set before initialisation). Null for a 2D
// symbology or a content without an ASCII form.
enum class SymbologyId;
std::unique_ptr<ZBBarcode> Make_Linear_Barcode(SymbologyId id, const QString& content,
                                               bool printsCaption = true);
// The same by type name; null for a name that is not a linear or postal one.
std::unique_ptr<ZBBarcode> Make_Linear_Barcode(const QString& typeName, const QString& content,
                                               bool printsCaption = true);

// Why the value gives no symbol of that type, in one line (see
// ZBBarcode::invalidReason); empty when it gives one, and for a 2D symbology
// or a name that is not a linear or postal one.
QString Linear_Invalid_Reason(SymbologyId id, const QString& value);
QString Linear_Invalid_Reason(const QString& typeName, const QString& value);

// True when the name is one of the linear or postal type names.
bool Is_Linear_Barcode_Type(const QString& typeName);
