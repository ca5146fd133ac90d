#pragma once
// What the streaming XML reader hears, as one text: every element's start
// with its attributes, its end, and the text between them joined however
// many pieces it came in. For the XML reader's tests and fuzz target, which
// compare what is read whole with what is read in pieces.
#include "data/XmlStream.h"

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

namespace xmlevents {

// Every event as a line of text: "<name a=v>" (an attribute that carried a
// prefix marked "(p)"), "</name>", "'text'".
class Recorder : public Xml_Stream_Handler {
public:
    std::string events;
    // Stops the reading at the start of the element of this name.
    std::string stopName;
    Xml_Stream* stream = nullptr;

    void startElement(const char* name, const char** attributes) override
    {
        flushText();
        events += "<";
        events += name;
        for (const char** a = attributes; a[0]; a += 2) {
            events += ' ';
            events += a[0];
            if (Xml_Stream::prefixedAttribute(attributes, a[0]) == a[1])
                events += "(p)";
            events += '=';
            events += a[1];
        }
        events += ">";
        if (stream && !stopName.empty() && stopName == name)
            stream->stop();
    }
    void endElement(const char* name) override
    {
        flushText();
        events += "</";
        events += name;
        events += ">";
    }
    void text(const char* data, int size) override { m_text.append(data, size_t(size)); }
    std::string done()
    {
        flushText();
        return events;
    }

private:
    void flushText()
    {
        if (!m_text.empty())
            events += "'" + m_text + "'";
        m_text.clear();
    }
    std::string m_text;
};

struct Read {
    std::string events;
    QString error;
    bool ok = false;
};

// Reads the bytes in pieces of the given sizes (cycled; none: whole), the
// last one marked.
inline Read Read_In_Pieces(const QByteArray& bytes, const std::vector<int>& sizes = {})
{
    Recorder r;
    Xml_Stream xml(r);
    r.stream = &xml;
    bool ok = true;
    if (sizes.empty()) {
        ok = xml.feed(bytes.constData(), bytes.size(), true);
    } else {
        qsizetype at = 0;
        for (size_t k = 0; ok; ++k) {
            const qsizetype n = std::min<qsizetype>(sizes[k % sizes.size()], bytes.size() - at);
            const bool last = at + n >= bytes.size();
            ok = xml.feed(bytes.constData() + at, n, last);
            at += n;
            if (last)
                break;
        }
    }
    return Read{r.done(), xml.error(), ok};
}

} // namespace xmlevents
