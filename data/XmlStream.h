#pragma once
// A streaming XML reader for the parts of packages and other spreadsheet
// files: bytes go in piece by piece as they are read or inflated, and the
// handler hears each element's start, its end and its text while they
// arrive. No document is built, so memory does not grow with the input.
//
// It checks what tells a damaged part from a sound one (tags that close
// what they opened, quoted attributes, a part that ends with its elements
// closed, one document element) and reads the rest leniently, as a
// repairing reader would: an '&' that starts no known reference stays an
// '&', bytes that are not UTF-8 are passed on for the string conversion to
// replace. Input that would make the reader itself hold much is refused: a
// document type declaration (no spreadsheet part needs one, and entity
// expansion is where XML grows without bound), elements nested deeper than
// Max_Depth, element names longer than Max_Name_Bytes (no part has them: such
// a name is damage) and any single tag, comment or instruction longer than
// Max_Token_Bytes. A token cut by the end of a piece is scanned on from where
// the scan stopped, never again from its start. Parts in UTF-16, UTF-32 or a
// declared 8-bit or multi-byte encoding are converted to UTF-8 as they are
// read, a character cut by the end of a piece carried over to the next, so
// what is read never depends on where the pieces end.
#include <QString>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

class Xml_Part_Decoder;

class Xml_Stream_Handler {
public:
    virtual ~Xml_Stream_Handler() = default;
    // `name` is the element's local name (its prefix dropped, whatever the
    // producer chose); `attributes` are name and value pairs ending in
    // nullptr, names local as well (Xml_Stream::prefixedAttribute tells
    // which carried a prefix), values with their references decoded.
    virtual void startElement(const char* name, const char** attributes) = 0;
    virtual void endElement(const char* name) = 0;
    // Text (UTF-8, references decoded, line ends as "\n"), possibly in
    // several pieces.
    virtual void text(const char* data, int size) {}
};

class Xml_Stream {
public:
    static constexpr qsizetype Max_Token_Bytes = qsizetype(16) << 20;
    static constexpr int Max_Depth = 4096;
    static constexpr qsizetype Max_Name_Bytes = 4096;

    explicit Xml_Stream(Xml_Stream_Handler& handler);
    ~Xml_Stream();
    Xml_Stream(const Xml_Stream&) = delete;
    Xml_Stream& operator=(const Xml_Stream&) = delete;

    // Feeds the next piece; `last` with the final one (it may be empty).
    // False once the markup is malformed (see error()) or the handler
    // stopped the reading.
    bool feed(const char* data, qsizetype size, bool last = false);
    // Asks the reading to stop (from inside a handler): feed() then answers
    // false with no error.
    void stop() { m_stopped = true; }
    bool stopped() const { return m_stopped; }
    // Why the markup was refused ("mismatched tag at byte 41"), empty while
    // it is sound.
    QString error() const { return m_error; }
    // While a handler runs: where in the part (in UTF-8) the markup it hears
    // begins; after a piece, how much of the part was read.
    qint64 position() const { return m_position; }

    // The local name of an element or attribute name.
    static const char* localName(const char* name)
    {
        const char* colon = std::strrchr(name, ':');
        return colon ? colon + 1 : name;
    }
    // The value of the attribute with that local name (any prefix), or nullptr.
    static const char* attribute(const char** attributes, const char* local)
    {
        for (const char** a = attributes; a && a[0]; a += 2)
            if (std::strcmp(a[0], local) == 0)
                return a[1];
        return nullptr;
    }
    // The value of the attribute with that local name that carries a prefix
    // ("r:id" for "id"), or nullptr.
    static const char* prefixedAttribute(const char** attributes, const char* local);

private:
    bool decideEncoding(bool last);
    bool push(const char* data, qsizetype size, bool last);
    // False (and the fault set) when the name of the tag at `p` is longer
    // than Max_Name_Bytes, as far as it has arrived.
    bool nameWithinLimit(const char* p, const char* end);
    // Reads what the buffer holds; false on a fault or a stop.
    bool parse(bool last);
    bool deliverText(const char* from, const char* to);
    bool startTag(char* from, char* gt);
    bool endTag(const char* from, const char* gt);
    bool fail(const QString& why, const char* at);

    Xml_Stream_Handler& m_handler;
    std::string m_raw;     // the first bytes, until their encoding is known
    bool m_encodingKnown = false;
    std::unique_ptr<Xml_Part_Decoder> m_decoder;  // for parts not in UTF-8
    std::string m_buffer;  // bytes not read yet (a token cut by the end of a piece)
    qint64 m_consumed = 0; // bytes read before the buffer's first
    qint64 m_position = 0;
    // Of a token cut by the end of a piece (it starts the buffer): how many
    // of its bytes were scanned, and the quote a tag's scan stopped inside.
    size_t m_scanned = 0;
    char m_quote = 0;
    std::vector<std::string> m_open;  // names of the open elements
    std::vector<size_t> m_localAt;    // where their local names begin
    int m_depth = 0;
    bool m_rootSeen = false;
    bool m_rootClosed = false;
    std::string m_scratch;
    std::vector<const char*> m_attributes;
    QString m_error;
    bool m_stopped = false;
    bool m_failed = false;
};
