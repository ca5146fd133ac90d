#include "barcode/engines/linear/ZBBarcode.h"

#include "barcode/engines/view/BarcodeText.h"

#include <optional>

bool To_Ascii_Bytes(const QString& value, std::string& out)
{
    const qsizetype n = value.size();
    out.resize(size_t(n));
    const char16_t* p = reinterpret_cast<const char16_t*>(value.utf16());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if (c >= 128) {
            out.clear();
            return false;
        }
        out[size_t(i)] = char(c);
    }
    return true;
}

char Mod10_Check_Digit(std::string_view digits)
{
    int sum = 0;
    int weight = 3;
    for (size_t i = digits.size(); i-- > 0;) {
        const char c = digits[i];
        if (c >= '0' && c <= '9')
            sum += weight * (c - '0');
        weight = 4 - weight;
    }
    return char('0' + (10 - sum % 10) % 10);
}

bool All_Digits(std::string_view s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

QString Character_Name(char16_t c)
{
    switch (c) {
    case ' ': return QStringLiteral("space");
    case '\t': return QStringLiteral("tab");
    case '\n': return QStringLiteral("line feed");
    case '\r': return QStringLiteral("carriage return");
    case 127: return QStringLiteral("DEL");
    default: break;
    }
    if (c < 32 || (c >= 0x80 && c < 0xA0) || (c >= 0xD800 && c < 0xE000))
        return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    return QLatin1Char('\'') + QString(QChar(c)) + QLatin1Char('\'');
}

ZBBarcode::ZBBarcode(const QString& content, bool printsCaption)
    : m_printsCaption(printsCaption)
{
    ZBBarcode::setContent(content);
}

ZBBarcode::~ZBBarcode() = default;

QString ZBBarcode::content() const
{
    if (!m_ascii)
        return m_nonAscii;
    return QString::fromLatin1(m_content.data(), qsizetype(m_content.size()));
}

void ZBBarcode::setContent(const QString& content)
{
    m_ascii = To_Ascii_Bytes(content, m_content);
    if (m_ascii)
        m_nonAscii.clear();
    else
        m_nonAscii = content;
}

void ZBBarcode::upperCaseContent()
{
    for (char& c : m_content)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
}

void ZBBarcode::calculateWidth()
{
    // A module width of 0 gives 0 whatever the bar string; skip building it.
    if (m_barWidth == 0.0f) {
        m_width = 0.0f;
        return;
    }
    m_width = float(completeBarcode().size()) * m_barWidth;
}

bool ZBBarcode::isContentValid() const
{
    if (!m_ascii || m_content.empty())
        return false;
    for (char c : m_content)
        if (_encodeChar(c).empty())
            return false;
    return true;
}

QString ZBBarcode::refusedCharacters() const
{
    if (!m_ascii)
        return Refused_Character_List(m_nonAscii, [this](char16_t c) { return c >= 128 || !acceptsTypedChar(char(c)); });
    return Refused_Character_List(content(), [this](char16_t c) { return !acceptsChar(char(c)); });
}

QString ZBBarcode::invalidReason() const
{
    const QString refused = refusedCharacters();
    if (!refused.isEmpty()) {
        const QString takes = acceptedCharacters();
        return QStringLiteral("Characters not allowed: %1.").arg(refused)
               + (takes.isEmpty() ? QString() : QLatin1Char(' ') + takes);
    }
    if (m_content.empty())
        return QStringLiteral("The value is empty.");
    return structureReason();
}

std::string_view ZBBarcode::_encodeChar(char) const
{
    return "1010";
}

void ZBBarcode::appendInitiator(std::string&) const {}
void ZBBarcode::appendTerminator(std::string&) const {}

void ZBBarcode::appendBarcode(std::string& out) const
{
    for (char c : m_content)
        out += _encodeChar(c);
    if (m_checkDigit != 0)
        out += _encodeChar(m_checkDigit);
}

std::string ZBBarcode::initiator() const
{
    std::string s;
    appendInitiator(s);
    return s;
}

std::string ZBBarcode::terminator() const
{
    std::string s;
    appendTerminator(s);
    return s;
}

std::string ZBBarcode::barcode() const
{
    std::string s;
    if (isContentValid())
        appendBarcode(s);
    return s;
}

void ZBBarcode::completeBarcode(std::string& out) const
{
    out.clear();
    if (!isContentValid())
        return;
    out.reserve(estimatedLength());
    appendInitiator(out);
    appendBarcode(out);
    appendTerminator(out);
}

std::string ZBBarcode::completeBarcode() const
{
    std::string s;
    completeBarcode(s);
    return s;
}

QString ZBBarcode::caption() const
{
    const int l = digitsToLeft();
    const int r = digitsToRight();
    QString c = content();
    if (l == 0 && r == 0) {
        // Only the UPC and EAN captions are split (at a tab, by their own
        // caption()); a control character typed in any other value is shown
        // as a space and never splits the caption or lifts the bars.
        for (QChar& ch : c)
            if (ch.unicode() < 32 || ch.unicode() == 127)
                ch = QLatin1Char(' ');
        return c;
    }
    const qsizetype count = c.size() - l - r;
    if (count <= 0)
        return QString();
    return c.mid(l, count);
}

QString ZBBarcode::leftCaption() const
{
    return content().left(digitsToLeft());
}

QString ZBBarcode::rightCaption() const
{
    return content().right(digitsToRight());
}

void ZBBarcode::setSettings(const BarcodeSettings& settings)
{
    m_settings = std::make_shared<const BarcodeSettings>(settings);
}

BarcodeSettings ZBBarcode::settings() const
{
    return m_settings ? *m_settings : Current_Barcode_Settings();
}

namespace {
// Texts are measured in points whatever device later draws them.
float Text_Height_Inches(const QFont& font)
{
    return float(zbtext::Text_Height_Inches(font));
}

float Text_Width_Points(const QFont& font, const QString& text)
{
    return text.isEmpty() ? 0.0f : float(zbtext::Text_Size(text, font).width());
}
} // namespace

void ZBBarcode::setCaptionFontSize(float size)
{
    m_captionFontSize = size;
    m_captionHeight = Text_Height_Inches(settings().value_font);
}

void ZBBarcode::setHeaderFontSize(float size)
{
    m_headerFontSize = size;
    const BarcodeSettings s = settings();
    m_headerHeight = Text_Height_Inches(s.header_font);
    m_headerWidth = Text_Width_Points(s.header_font, m_header);
}

void ZBBarcode::setFooterFontSize(float size)
{
    m_footerFontSize = size;
    const BarcodeSettings s = settings();
    m_footerHeight = Text_Height_Inches(s.footer_font);
    m_footerWidth = Text_Width_Points(s.footer_font, m_footer);
}

float ZBBarcode::barBottom(int) const
{
    float b = 0.0f;
    if (printsCaption())
        b += m_captionHeight * 72.0f;
    if (printsHeader())
        b += m_headerHeight * 72.0f;
    if (printsFooter())
        b += m_footerHeight * 72.0f;
    return b;
}

float ZBBarcode::barTop(int) const
{
    // Read per bar by the drawer: no copy of settings given with setSettings().
    std::optional<BarcodeSettings> active;
    const BarcodeSettings& s = m_settings ? *m_settings : active.emplace(Current_Barcode_Settings());
    float t = m_height;
    if (printsCaption())
        t -= m_captionHeight * 72.0f + s.value_margin;
    if (printsHeader())
        t -= m_headerHeight * 72.0f + s.header_margin;
    if (printsFooter())
        t -= m_footerHeight * 72.0f + s.footer_margin;
    return t - 2.0f * s.TB_margin;
}

QString ZBBarcode::description() const
{
    const char check = m_checkDigit;
    return QStringLiteral("\n\tBarcode Class: %1\n\tContent: %2\n\tCheck Digit:%3\n\tWidth:%4\n\tHeight:%5"
                          "\n\tBar Width:%6\n\tCaption Font Size:%7\n\tCaption Height:%8")
        .arg(QLatin1String(m_className), content(), check ? QString(QLatin1Char(check)) : QString())
        .arg(double(m_width), 0, 'f', 6)
        .arg(double(m_height), 0, 'f', 6)
        .arg(double(m_barWidth), 0, 'f', 6)
        .arg(double(m_captionFontSize), 0, 'f', 6)
        .arg(double(m_captionHeight), 0, 'f', 6);
}
