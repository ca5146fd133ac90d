#pragma once
// Values from the text files users import into series and lists: plain text
// (one value a line, whatever the line ending), CSV (RFC 4180, any line
// ending) and RTF (the whole text of the document). Each value is trimmed on
// its own; the file as a whole is not. Used by the import windows.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <vector>

// Cuts at "\r\n", "\n" or "\r"; a line ending at the very end makes no empty last line.
QStringList Split_Text_Lines(const QString& text);

// The records of CSV text: fields separated by commas, records by "\r\n",
// "\n" or "\r"; a field in double quotes may hold commas, line breaks and
// doubled quotes (""). Fields are not trimmed. An unclosed quote runs to the end.
QList<QStringList> Parse_CSV(const QString& text);

// The text of an RTF document: paragraphs and line breaks as "\n", tabs as
// "\t", \uN and \'hh characters decoded (\'hh in Windows-1252), font, colour
// and style tables, pictures, document information and other hidden groups
// left out (the raw bytes of \bin as well). `ok` is false for data that is not RTF.
QString Rtf_To_Plain_Text(const QByteArray& rtf, bool* ok = nullptr);

// Decodes the bytes of a text file in the encoding Text_Encoding_Probe
// finds. False for data that is not text (NUL bytes where no UTF-16 puts
// them). Bytes that do not decode become U+FFFD, and `note` (when given)
// says so and names their lines (empty when every byte decoded).
bool Decode_Text_File(const QByteArray& bytes, QString* text, QString* note = nullptr);

// ---- Text files read piece by piece ----
enum class Text_Encoding { Utf8, Utf16LE, Utf16BE, Utf32LE, Utf32BE, Windows1252, NotText };

// Tells the encoding of a file from its bytes, fed in pieces in order, the
// same for every import: the byte-order mark when there is one; UTF-16
// without a mark when the NUL bytes stand only at every other position of
// an even number of bytes; not text for other NUL bytes; else UTF-8 when
// the bytes are UTF-8 apart from some invalid sequences (which decode as
// U+FFFD), and Windows-1252 only when there is no valid multi-byte UTF-8
// sequence at all. It also counts the lines (at "\r\n", "\n" or "\r").
class Text_Encoding_Probe {
public:
    void feed(const char* data, qsizetype size);
    void feed(const QByteArray& bytes) { feed(bytes.constData(), bytes.size()); }
    Text_Encoding result() const;
    // Bytes of the byte-order mark found (0 without one).
    int bomLength() const { return m_bomLength; }
    // Lines of the file as far as it was fed (when it is 8-bit or UTF-8 text).
    qint64 lines() const;

private:
    QByteArray m_head;          // the first bytes, for the mark
    mutable int m_bomLength = 0;
    bool m_headDone = false;
    qint64 m_size = 0;
    qint64 m_nulEven = 0, m_nulOdd = 0;
    int m_utf8Pending = 0;      // continuation bytes still expected
    unsigned m_utf8Lead = 0;    // first byte of the sequence being checked
    int m_utf8Seen = 0;         // continuation bytes seen of it
    qint64 m_multibyte = 0;     // valid sequences of two to four bytes
    qint64 m_invalid = 0;       // invalid sequences
    qint64 m_line = 1;
    bool m_afterCR = false;
};

// Decodes pieces of a file's bytes in one encoding. What comes out never
// depends on where the pieces end: a character cut by the end of a piece is
// kept back and finished with the next (finish() ends the text). A
// byte-order mark at the start is dropped. Bytes that are no character of
// the encoding become U+FFFD: invalid UTF-8 (each broken sequence once),
// UTF-16 surrogates without their partner, UTF-32 values that are no
// character, and the five bytes Windows-1252 leaves undefined (81 8D 8F 90
// 9D); the decoder notes the lines (counted at "\r\n", "\n" or "\r") where
// they stood.
class Text_Stream_Decoder {
public:
    explicit Text_Stream_Decoder(Text_Encoding encoding);
    QString decode(const char* data, qsizetype size);
    // The end of the text: an unfinished character becomes U+FFFD.
    QString finish();
    Text_Encoding encoding() const { return m_encoding; }
    // True once bytes did not decode (they became U+FFFD), or always for NotText.
    bool hasError() const { return m_encoding == Text_Encoding::NotText || m_badLines > 0; }
    // Lines holding bytes that did not decode: how many, and the first few (1-based).
    qint64 badLines() const { return m_badLines; }
    const QList<qint64>& firstBadLines() const { return m_firstBad; }
    static constexpr int Bad_Lines_Named = 10;

private:
    void invalid();
    void put(char16_t*& out, char32_t c);
    void unit16(char16_t*& out, char16_t u);

    Text_Encoding m_encoding;
    bool m_start = true;
    // UTF-8: the code point being read, continuation bytes still expected
    // and the range the next one must lie in.
    char32_t m_cp = 0;
    int m_need = 0;
    unsigned char m_low = 0x80, m_high = 0xBF;
    // UTF-16 and UTF-32: bytes of a unit not complete yet; a high surrogate waiting.
    unsigned char m_bytes[4] = {};
    int m_have = 0;
    char16_t m_pendingHigh = 0;
    qint64 m_line = 1;
    bool m_afterCR = false;
    qint64 m_lastBadLine = 0;
    qint64 m_badLines = 0;
    QList<qint64> m_firstBad;
};

// What to tell the user after a file was decoded: the lines whose bytes
// did not decode (read as U+FFFD); empty when everything decoded.
QString Text_Decoding_Note(const Text_Stream_Decoder& decoder);

// The bytes a text import reads at a time.
inline constexpr qsizetype Text_Piece_Bytes = qsizetype(256) << 10;

// One line cut from a text: its characters, or only the mark that it was
// longer than the limit (then `text` is empty).
struct Text_Line {
    QString text;
    bool tooLong = false;
};

// Cuts text fed in pieces into lines at "\r\n", "\n" or "\r" (a "\r" at the
// end of one piece and a "\n" at the start of the next end one line). A line
// of more than `maxLength` characters (-1: no limit) is not kept: it comes
// out marked too long. A line ending at the very end makes no empty last line.
class Line_Stream_Splitter {
public:
    explicit Line_Stream_Splitter(qsizetype maxLength = -1) : m_max(maxLength) {}
    void feed(QStringView text, std::vector<Text_Line>& out);
    void finish(std::vector<Text_Line>& out);

private:
    qsizetype m_max;
    QString m_line;
    bool m_tooLong = false;
    bool m_afterCR = false;
};

// One CSV record; `tooLong` when one of its fields was longer than the
// limit (its fields are then not kept). `line` is the 1-based line where it
// starts.
struct Csv_Record {
    QStringList fields;
    bool tooLong = false;
    qint64 line = 1;
};

// CSV records of text fed in pieces: fields separated by commas, records by
// "\r\n", "\n" or "\r"; a field in double quotes may hold commas, line
// breaks and doubled quotes. Fields are not trimmed. A quote left open at
// the end runs to the end; endedInsideQuote() then says so, with the line
// where that field started.
class Csv_Stream_Parser {
public:
    explicit Csv_Stream_Parser(qsizetype maxFieldLength = -1) : m_max(maxFieldLength) {}
    void feed(QStringView text, std::vector<Csv_Record>& out);
    void finish(std::vector<Csv_Record>& out);
    bool endedInsideQuote() const { return m_endedQuoted; }
    qint64 openQuoteLine() const { return m_quoteLine; }

private:
    void endField();
    void endRecord(std::vector<Csv_Record>& out);

    qsizetype m_max;
    Csv_Record m_record;
    QString m_field;
    bool m_quoted = false;
    bool m_wasQuoted = false;
    bool m_pending = false;
    bool m_quoteSeen = false;   // a quote inside a quoted field, waiting for the next character
    bool m_afterCR = false;
    bool m_endedQuoted = false;
    qint64 m_line = 1;
    qint64 m_quoteLine = 0;
};

enum class Import_File_Kind { Text, CSV, RTF };
// By the extension, in any case: "csv", "rtf", else text.
Import_File_Kind Import_Kind_For_Path(const QString& path);

// The values of a file for a series or a list: text lines, CSV fields in
// record order, or the RTF document's lines, each trimmed (Trim_Str), empty
// ones left out. False, with `error` holding the message to show, when the
// file cannot be read or decoded.
bool Import_Values_From_File(const QString& path, QStringList* values, QString* error = nullptr);
QStringList Import_Values_From_Bytes(const QByteArray& bytes, Import_File_Kind kind, bool* ok = nullptr);
