#include "data/XmlStream.h"

#include <expat.h>

#include <climits>

struct Xml_Stream_Callbacks {
    static Xml_Stream& self(void* data) { return *static_cast<Xml_Stream*>(data); }

    static void start(void* data, const XML_Char* name, const XML_Char** attributes)
    {
        Xml_Stream& s = self(data);
        s.m_sinceEvent = 0;
        s.m_handler.startElement(Xml_Stream::localName(name), attributes);
    }
    static void end(void* data, const XML_Char* name)
    {
        Xml_Stream& s = self(data);
        s.m_sinceEvent = 0;
        s.m_handler.endElement(Xml_Stream::localName(name));
    }
    static void text(void* data, const XML_Char* chars, int size)
    {
        Xml_Stream& s = self(data);
        s.m_sinceEvent = 0;
        s.m_handler.text(chars, size);
    }
    static void other(void* data, const XML_Char*, const XML_Char*) { self(data).m_sinceEvent = 0; }
    static void comment(void* data, const XML_Char*) { self(data).m_sinceEvent = 0; }
    static void doctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int)
    {
        Xml_Stream& s = self(data);
        s.m_failed = true;
        s.m_error = QStringLiteral("it holds a document type declaration");
        XML_StopParser(static_cast<XML_Parser>(s.m_parser), XML_FALSE);
    }
};

Xml_Stream::Xml_Stream(Xml_Stream_Handler& handler) : m_handler(handler)
{
    XML_Parser p = XML_ParserCreate(nullptr);
    m_parser = p;
    if (!p) {
        m_failed = true;
        m_error = QStringLiteral("there is not enough memory to read it");
        return;
    }
    XML_SetUserData(p, this);
    XML_SetElementHandler(p, &Xml_Stream_Callbacks::start, &Xml_Stream_Callbacks::end);
    XML_SetCharacterDataHandler(p, &Xml_Stream_Callbacks::text);
    XML_SetProcessingInstructionHandler(p, &Xml_Stream_Callbacks::other);
    XML_SetCommentHandler(p, &Xml_Stream_Callbacks::comment);
    XML_SetStartDoctypeDeclHandler(p, &Xml_Stream_Callbacks::doctype);
}

Xml_Stream::~Xml_Stream()
{
    if (m_parser)
        XML_ParserFree(static_cast<XML_Parser>(m_parser));
}

void Xml_Stream::stop()
{
    if (m_stopped || m_failed || !m_parser)
        return;
    m_stopped = true;
    XML_StopParser(static_cast<XML_Parser>(m_parser), XML_FALSE);
}

bool Xml_Stream::feed(const char* data, qsizetype size, bool last)
{
    if (m_failed || m_stopped)
        return false;
    auto* p = static_cast<XML_Parser>(m_parser);
    do {
        const int piece = int(std::min<qsizetype>(size, INT_MAX / 2));
        const bool final = last && piece == size;
        m_sinceEvent += piece;
        const XML_Status status = XML_Parse(p, data, piece, final ? XML_TRUE : XML_FALSE);
        if (m_stopped)
            return false;
        if (status != XML_STATUS_OK) {
            m_failed = true;
            if (m_error.isEmpty())
                m_error = QStringLiteral("%1 at line %2, column %3")
                              .arg(QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(p))))
                              .arg(qulonglong(XML_GetCurrentLineNumber(p)))
                              .arg(qulonglong(XML_GetCurrentColumnNumber(p)) + 1);
            return false;
        }
        if (m_sinceEvent > Max_Token_Bytes) {
            m_failed = true;
            m_error = QStringLiteral("it holds a tag or comment longer than %1 MB").arg(Max_Token_Bytes >> 20);
            return false;
        }
        data += piece;
        size -= piece;
    } while (size > 0);
    return true;
}

const char* Xml_Stream::attribute(const char** attributes, const char* local)
{
    for (const char** a = attributes; a && a[0]; a += 2)
        if (std::strcmp(localName(a[0]), local) == 0)
            return a[1];
    return nullptr;
}

const char* Xml_Stream::prefixedAttribute(const char** attributes, const char* local)
{
    for (const char** a = attributes; a && a[0]; a += 2) {
        const char* l = localName(a[0]);
        if (l != a[0] && std::strcmp(l, local) == 0)
            return a[1];
    }
    return nullptr;
}
