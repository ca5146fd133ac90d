#include "fuzz/FuzzSupport.h"

#include "platform/MessageSink.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

void Fuzz_Start()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QTemporaryDir home;
    qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    static int argc = 1;
    static char name[] = "zorv-fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    QApplication::setApplicationName("Zorv Label");
    QApplication::setOrganizationName("Zorv");
    qInstallMessageHandler(Quiet);
    Set_Message_Responder([](const MessageRequest& r) { return r.escapeButton >= 0 ? r.escapeButton : r.defaultButton; });
    Set_Modal_Runner([](QDialog&) { return int(QDialog::Rejected); });
}

QByteArray Fuzz_Bytes(const uint8_t* data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}

void Fuzz_Check(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "fuzz invariant failed: %s\n", what);
    std::abort();
}

uint64_t FuzzReader::bits(int bytes)
{
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) {
        v <<= 8;
        if (m_left > 0) {
            v |= *m_p++;
            --m_left;
        }
    }
    return v;
}

bool FuzzReader::boolean() { return bits(1) & 1; }

int FuzzReader::intIn(int lo, int hi)
{
    if (hi <= lo)
        return lo;
    const uint64_t span = uint64_t(int64_t(hi) - int64_t(lo)) + 1;
    const int bytes = span <= 0x100 ? 1 : span <= 0x10000 ? 2 : 4;   // as FuzzWriter
    return int(int64_t(lo) + int64_t(bits(bytes) % span));
}

float FuzzReader::floatIn(float lo, float hi)
{
    const double t = double(bits(2)) / 65535.0;
    return float(lo + (double(hi) - lo) * t);
}

QString FuzzReader::text(int maxBytes)
{
    QByteArray out;
    while (m_left > 0 && out.size() < maxBytes) {
        const char c = char(*m_p++);
        --m_left;
        if (c == '\0')
            break;
        out.append(c);
    }
    return QString::fromUtf8(out);
}

QByteArray FuzzReader::rest()
{
    QByteArray out(reinterpret_cast<const char*>(m_p), qsizetype(m_left));
    m_p += m_left;
    m_left = 0;
    return out;
}

namespace {

int Bytes_For_Span(uint64_t span) { return span <= 0x100 ? 1 : span <= 0x10000 ? 2 : 4; }

} // namespace

void FuzzWriter::bits(int bytes, uint64_t v)
{
    for (int i = bytes - 1; i >= 0; --i)
        m_bytes.append(char((v >> (8 * i)) & 0xFF));
}

void FuzzWriter::boolean(bool v) { bits(1, v ? 1 : 0); }

void FuzzWriter::intIn(int lo, int hi, int v)
{
    if (hi <= lo)
        return;
    const uint64_t span = uint64_t(int64_t(hi) - int64_t(lo)) + 1;
    bits(Bytes_For_Span(span), uint64_t(int64_t(v) - int64_t(lo)));
}

void FuzzWriter::floatIn(float lo, float hi, float v)
{
    const double t = hi > lo ? (double(v) - lo) / (double(hi) - lo) : 0.0;
    bits(2, uint64_t(std::lround(std::clamp(t, 0.0, 1.0) * 65535.0)));
}

void FuzzWriter::text(const QString& v)
{
    m_bytes.append(v.toUtf8());
    m_bytes.append('\0');
}

void FuzzWriter::rest(const QByteArray& v) { m_bytes.append(v); }
