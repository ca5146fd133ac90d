// The streaming XML reader on its own: whatever the bytes, and wherever the
// pieces they arrive in end, it hears the same elements and text, and gives
// the same verdict, as when it is given the bytes whole. The first byte of
// the input chooses the piece sizes; the rest is the part.
#include "data/XmlStream.h"
#include "fuzz/FuzzSupport.h"

#include <string>
#include <vector>

namespace {

// Every event as text: "<name a=v>", "</name>", and the text between them
// joined, however many pieces it came in.
class Recorder : public Xml_Stream_Handler {
public:
    std::string events;
    void startElement(const char* name, const char** attributes) override
    {
        flush();
        events += '<';
        events += name;
        for (const char** a = attributes; a[0]; a += 2) {
            events += ' ';
            events += a[0];
            events += '=';
            events += a[1];
        }
        events += '>';
    }
    void endElement(const char* name) override
    {
        flush();
        events += "</";
        events += name;
        events += '>';
    }
    void text(const char* data, int size) override { m_text.append(data, size_t(size)); }
    void flush()
    {
        if (!m_text.empty())
            events += "'" + m_text + "'";
        m_text.clear();
    }

private:
    std::string m_text;
};

struct Result {
    bool ok = false;
    std::string events;
    QString error;
};

Result Read(const QByteArray& bytes, const std::vector<int>& sizes)
{
    Recorder r;
    Xml_Stream xml(r);
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
    r.flush();
    return Result{ok, r.events, xml.error()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    if (size < 1)
        return 0;
    // Pieces of 1 to 16 bytes in a cycle of four sizes.
    const uint8_t choice = data[0];
    const std::vector<int> sizes = {1 + (choice & 3), 1 + ((choice >> 2) & 7), 1 + (choice >> 5), 13};
    const QByteArray bytes = Fuzz_Bytes(data + 1, size - 1);
    const Result whole = Read(bytes, {});
    const Result cut = Read(bytes, sizes);
    Fuzz_Check(whole.ok == cut.ok, "the verdict does not depend on the pieces");
    Fuzz_Check(whole.error == cut.error, "the fault found does not depend on the pieces");
    if (whole.ok)
        Fuzz_Check(whole.events == cut.events, "what is read does not depend on the pieces");
    return 0;
}
