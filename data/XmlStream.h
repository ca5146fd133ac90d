#pragma once
// A streaming XML reader for the parts of packages and other spreadsheet
// files: bytes go in piece by piece as they are read or inflated, and the
// handler hears each element's start, its end and its text while they
// arrive. No document is built, so memory does not grow with the input.
//
// Input that would make the reader itself hold much is refused: a document
// type declaration (no spreadsheet part needs one, and entity expansion is
// where XML grows without bound) and any single tag, comment or
// instruction longer than Max_Token_Bytes.
#include <QString>

#include <cstring>

class Xml_Stream_Handler {
public:
    virtual ~Xml_Stream_Handler() = default;
    // `name` is the element's local name (its prefix dropped, whatever the
    // producer chose); `attributes` are name and value pairs ending in
    // nullptr, names as written (with their prefixes).
    virtual void startElement(const char* name, const char** attributes) = 0;
    virtual void endElement(const char* name) = 0;
    // Text (UTF-8), possibly in several pieces.
    virtual void text(const char* data, int size) {}
};

class Xml_Stream {
public:
    static constexpr qsizetype Max_Token_Bytes = qsizetype(16) << 20;

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
    void stop();
    bool stopped() const { return m_stopped; }
    // Why the markup was refused ("mismatched tag at line 3, column 5"),
    // empty while it is sound.
    QString error() const { return m_error; }

    // The local name of an element or attribute name.
    static const char* localName(const char* name)
    {
        const char* colon = std::strrchr(name, ':');
        return colon ? colon + 1 : name;
    }
    // The value of the attribute with that local name (any prefix), or nullptr.
    static const char* attribute(const char** attributes, const char* local);
    // The value of the attribute with that local name that carries a prefix
    // ("r:id" for "id"), or nullptr.
    static const char* prefixedAttribute(const char** attributes, const char* local);

private:
    friend struct Xml_Stream_Callbacks;
    void* m_parser = nullptr;
    Xml_Stream_Handler& m_handler;
    QString m_error;
    bool m_stopped = false;
    bool m_failed = false;
    qsizetype m_sinceEvent = 0;
};
