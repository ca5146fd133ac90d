#include "core/model/KeyedArchive.h"

#include "core/model/LMNGraphic.h"

#include <QBuffer>
#include <QPicture>
#include <QtEndian>

#include <cmath>
#include <cstring>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the archive layout is written in host order");

namespace {

constexpr char Magic[4] = {'Z', 'L', 'K', 'A'};
constexpr quint8 Version = 1;
constexpr quint8 ImageRaster = 1;
constexpr quint8 ImageVector = 2;

template <class T>
void Put(QByteArray& d, T v)
{
    d.append(reinterpret_cast<const char*>(&v), sizeof(T));
}

void Put_String(QByteArray& d, const QString& s)
{
    Put<quint32>(d, quint32(s.size()));
    d.append(reinterpret_cast<const char*>(s.constData()), s.size() * 2);
}

void Put_Color(QByteArray& d, const QColor& c)
{
    const QRgba64 v = c.rgba64();
    Put<quint16>(d, v.red());
    Put<quint16>(d, v.green());
    Put<quint16>(d, v.blue());
    Put<quint16>(d, v.alpha());
}

// Fonts are written as their description; a few recent ones are remembered
// because every item of a design tends to use the same fonts.
QString Font_To_String(const QFont& f)
{
    static thread_local QFont lastFont[4];
    static thread_local QString lastText[4];
    static thread_local int next = 0;
    for (int i = 0; i < 4; ++i)
        if (!lastText[i].isEmpty() && lastFont[i] == f && lastFont[i].resolveMask() == f.resolveMask())
            return lastText[i];
    const QString s = f.toString();
    lastFont[next] = f;
    lastText[next] = s;
    next = (next + 1) % 4;
    return s;
}

bool Font_From_String(const QString& s, QFont& out)
{
    static thread_local QString lastText[4];
    static thread_local QFont lastFont[4];
    static thread_local int next = 0;
    for (int i = 0; i < 4; ++i)
        if (!lastText[i].isEmpty() && lastText[i] == s) {
            out = lastFont[i];
            return true;
        }
    QFont f;
    if (s.isEmpty() || !f.fromString(s))
        return false;
    lastText[next] = s;
    lastFont[next] = f;
    next = (next + 1) % 4;
    out = f;
    return true;
}

int Bits_Per_Pixel(QImage::Format f)
{
    return QImage::toPixelFormat(f).bitsPerPixel();
}

bool Raster_Format_Allowed(qint32 f)
{
    if (f <= QImage::Format_Invalid || f >= QImage::NImageFormats)
        return false;
    switch (QImage::Format(f)) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        return false;
    default:
        return Bits_Per_Pixel(QImage::Format(f)) > 0;
    }
}

qint64 Bytes_Per_Line(qint64 width, QImage::Format f)
{
    return ((width * Bits_Per_Pixel(f) + 31) >> 5) << 2;
}

// A bounds-checked reader over the archive bytes.
struct Reader {
    const char* p;
    qint64 left;
    bool ok = true;
    template <class T>
    T get()
    {
        T v{};
        if (!ok || left < qint64(sizeof(T))) {
            ok = false;
            return v;
        }
        std::memcpy(&v, p, sizeof(T));
        p += sizeof(T);
        left -= sizeof(T);
        return v;
    }
    const char* take(qint64 n)
    {
        if (!ok || n < 0 || left < n) {
            ok = false;
            return nullptr;
        }
        const char* r = p;
        p += n;
        left -= n;
        return r;
    }
    QString string()
    {
        const quint32 n = get<quint32>();
        const char* d = take(qint64(n) * 2);
        if (!d)
            return {};
        QString s(qsizetype(n), Qt::Uninitialized);
        std::memcpy(s.data(), d, size_t(n) * 2);
        return s;
    }
    bool finite(double v) { return std::isfinite(v) ? true : (ok = false); }
};

// Skips one payload of `type`, checking it; false when it is malformed.
bool Skip_Payload(Reader& r, quint8 type)
{
    switch (type) {
    case KeyedUnarchiver::Rect: return r.take(32) != nullptr;
    case KeyedUnarchiver::Point:
    case KeyedUnarchiver::Size: return r.take(16) != nullptr;
    case KeyedUnarchiver::Bool: return r.take(1) != nullptr;
    case KeyedUnarchiver::Int32:
    case KeyedUnarchiver::Float: return r.take(4) != nullptr;
    case KeyedUnarchiver::String:
    case KeyedUnarchiver::Font: r.string(); return r.ok;
    case KeyedUnarchiver::Color: return r.take(8) != nullptr;
    case KeyedUnarchiver::Null: return true;
    case KeyedUnarchiver::TextStorage:
        r.string();
        r.string();
        r.take(1);
        r.take(8);
        return r.ok;
    case KeyedUnarchiver::Image: {
        const quint8 kind = r.get<quint8>();
        r.take(16);
        if (kind == ImageRaster) {
            const qint32 fmt = r.get<qint32>(), w = r.get<qint32>(), h = r.get<qint32>(), bpl = r.get<qint32>();
            if (!r.ok || !Raster_Format_Allowed(fmt) || w <= 0 || h <= 0 || w > 32767 || h > 32767
                || qint64(w) * h > Keyed_Archive_Max_Image_Pixels
                || bpl != Bytes_Per_Line(w, QImage::Format(fmt)))
                return false;
            return r.take(qint64(bpl) * h) != nullptr;
        }
        if (kind == ImageVector) {
            const quint32 n = r.get<quint32>();
            return r.take(n) != nullptr;
        }
        return false;
    }
    default: return false;
    }
}

} // namespace

// ---------------------------------------------------------------- writer

KeyedArchiver::KeyedArchiver(const QString& className, int reserve)
{
    m_data.reserve(reserve);
    m_data.append(Magic, 4);
    Put<quint8>(m_data, Version);
    const QByteArray name = className.toLatin1().left(255);
    Put<quint8>(m_data, quint8(name.size()));
    m_data.append(name);
    m_countPos = int(m_data.size());
    Put<quint16>(m_data, 0);
}

void KeyedArchiver::key(const char* k, quint8 type)
{
    const size_t n = std::min<size_t>(std::strlen(k), 255);
    Put<quint8>(m_data, quint8(n));
    m_data.append(k, qsizetype(n));
    Put<quint8>(m_data, type);
    ++m_count;
}

void KeyedArchiver::encodeRect(const char* k, const QRectF& v)
{
    key(k, KeyedUnarchiver::Rect);
    Put<double>(m_data, v.x());
    Put<double>(m_data, v.y());
    Put<double>(m_data, v.width());
    Put<double>(m_data, v.height());
}

void KeyedArchiver::encodePoint(const char* k, const QPointF& v)
{
    key(k, KeyedUnarchiver::Point);
    Put<double>(m_data, v.x());
    Put<double>(m_data, v.y());
}

void KeyedArchiver::encodeSize(const char* k, const QSizeF& v)
{
    key(k, KeyedUnarchiver::Size);
    Put<double>(m_data, v.width());
    Put<double>(m_data, v.height());
}

void KeyedArchiver::encodeBool(const char* k, bool v)
{
    key(k, KeyedUnarchiver::Bool);
    Put<quint8>(m_data, v ? 1 : 0);
}

void KeyedArchiver::encodeInt32(const char* k, qint32 v)
{
    key(k, KeyedUnarchiver::Int32);
    Put<qint32>(m_data, v);
}

void KeyedArchiver::encodeFloat(const char* k, float v)
{
    key(k, KeyedUnarchiver::Float);
    Put<float>(m_data, v);
}

void KeyedArchiver::encodeString(const char* k, const QString& v)
{
    if (v.isNull())
        return null(k);
    key(k, KeyedUnarchiver::String);
    Put_String(m_data, v);
}

void KeyedArchiver::encodeColor(const char* k, const QColor& v)
{
    if (!v.isValid())
        return null(k);
    key(k, KeyedUnarchiver::Color);
    Put_Color(m_data, v);
}

void KeyedArchiver::encodeFont(const char* k, const QFont& v)
{
    key(k, KeyedUnarchiver::Font);
    Put_String(m_data, Font_To_String(v));
}

void KeyedArchiver::encodeImage(const char* k, const PtImage& v)
{
    if (v.isNull())
        return null(k);
    if (v.isVector()) {
        const QPicture& pic = v.picture();
        key(k, KeyedUnarchiver::Image);
        Put<quint8>(m_data, ImageVector);
        Put<double>(m_data, v.size().width());
        Put<double>(m_data, v.size().height());
        Put<quint32>(m_data, pic.size());
        m_data.append(pic.data(), pic.size());
        return;
    }
    QImage img = v.raster();
    if (!Raster_Format_Allowed(img.format()))
        img = img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (img.isNull() || qint64(img.width()) * img.height() > Keyed_Archive_Max_Image_Pixels)
        return null(k);
    key(k, KeyedUnarchiver::Image);
    Put<quint8>(m_data, ImageRaster);
    Put<double>(m_data, v.size().width());
    Put<double>(m_data, v.size().height());
    const qint64 bpl = Bytes_Per_Line(img.width(), img.format());
    Put<qint32>(m_data, img.format());
    Put<qint32>(m_data, img.width());
    Put<qint32>(m_data, img.height());
    Put<qint32>(m_data, qint32(bpl));
    if (bpl == img.bytesPerLine()) {
        m_data.append(reinterpret_cast<const char*>(img.constBits()), bpl * img.height());
    } else {
        for (int y = 0; y < img.height(); ++y)
            m_data.append(reinterpret_cast<const char*>(img.constScanLine(y)), bpl);
    }
}

void KeyedArchiver::encodeTextStorage(const char* k, const LMNTextStorage* v)
{
    if (!v)
        return null(k);
    key(k, KeyedUnarchiver::TextStorage);
    Put_String(m_data, v->string);
    Put_String(m_data, Font_To_String(v->font));
    Put<quint8>(m_data, v->color.isValid() ? 1 : 0);
    Put_Color(m_data, v->color.isValid() ? v->color : QColor(Qt::black));
}

QByteArray KeyedArchiver::finish()
{
    const quint16 n = quint16(std::min(m_count, 65535));
    std::memcpy(m_data.data() + m_countPos, &n, 2);
    return m_data;
}

// ---------------------------------------------------------------- reader

bool KeyedUnarchiver::open(const QByteArray& data, QString* error)
{
    m_data = data;
    m_entries.clear();
    m_className.clear();
    m_hint = 0;
    auto fail = [&](const char* why) {
        if (error)
            *error = QString::fromLatin1(why);
        m_entries.clear();
        return false;
    };
    Reader r{m_data.constData(), m_data.size()};
    const char* magic = r.take(4);
    if (!magic || std::memcmp(magic, Magic, 4) != 0)
        return fail("not an item archive");
    if (r.get<quint8>() != Version)
        return fail("unknown archive version");
    const quint8 nameLen = r.get<quint8>();
    const char* name = r.take(nameLen);
    if (!name)
        return fail("truncated archive");
    m_className = QString::fromLatin1(name, nameLen);
    const quint16 count = r.get<quint16>();
    if (!r.ok)
        return fail("truncated archive");
    m_entries.reserve(count);
    for (int i = 0; i < count; ++i) {
        const quint8 keyLen = r.get<quint8>();
        const char* key = r.take(keyLen);
        const quint8 type = r.get<quint8>();
        if (!r.ok)
            return fail("truncated archive");
        const char* start = r.p;
        if (!Skip_Payload(r, type) || !r.ok)
            return fail("damaged or truncated value");
        m_entries.push_back(Entry{key, keyLen, type, int(start - m_data.constData()), int(r.p - start)});
    }
    if (r.left != 0)
        return fail("trailing bytes after the archive");
    return true;
}

QStringList KeyedUnarchiver::keys() const
{
    QStringList k;
    for (const Entry& e : m_entries)
        k << QString::fromLatin1(e.key, e.keyLen);
    return k;
}

int KeyedUnarchiver::find(const char* key) const
{
    const int n = int(m_entries.size());
    if (n == 0)
        return -1;
    const size_t len = std::strlen(key);
    for (int i = 0; i < n; ++i) {
        const int j = (m_hint + i) % n;
        const Entry& e = m_entries[size_t(j)];
        if (size_t(e.keyLen) == len && std::memcmp(e.key, key, len) == 0) {
            m_hint = (j + 1) % n;
            return j;
        }
    }
    return -1;
}

const KeyedUnarchiver::Entry* KeyedUnarchiver::entry(const char* key, quint8 type, bool& ok)
{
    ok = true;
    const int i = find(key);
    if (i < 0)
        return nullptr;
    const Entry* e = &m_entries[size_t(i)];
    const bool objectType = type == String || type == Color || type == Font || type == Image || type == TextStorage;
    if (e->type == Null && objectType)
        return nullptr;   // nil: leave the field as it is
    if (e->type != type) {
        ok = false;
        return nullptr;
    }
    return e;
}

#define ZL_ENTRY(TYPE)                          \
    bool ok = true;                             \
    const Entry* e = entry(key, TYPE, ok);      \
    if (!e)                                     \
        return ok;                              \
    Reader r{m_data.constData() + e->offset, e->length};

bool KeyedUnarchiver::decodeRect(const char* key, QRectF& out)
{
    ZL_ENTRY(Rect)
    const double x = r.get<double>(), y = r.get<double>(), w = r.get<double>(), h = r.get<double>();
    if (!(r.finite(x) && r.finite(y) && r.finite(w) && r.finite(h)))
        return false;
    out = QRectF(x, y, w, h);
    return r.ok;
}

bool KeyedUnarchiver::decodePoint(const char* key, QPointF& out)
{
    ZL_ENTRY(Point)
    const double x = r.get<double>(), y = r.get<double>();
    if (!(r.finite(x) && r.finite(y)))
        return false;
    out = QPointF(x, y);
    return r.ok;
}

bool KeyedUnarchiver::decodeSize(const char* key, QSizeF& out)
{
    ZL_ENTRY(Size)
    const double w = r.get<double>(), h = r.get<double>();
    if (!(r.finite(w) && r.finite(h)))
        return false;
    out = QSizeF(w, h);
    return r.ok;
}

bool KeyedUnarchiver::decodeBool(const char* key, bool& out)
{
    ZL_ENTRY(Bool)
    out = r.get<quint8>() != 0;
    return r.ok;
}

bool KeyedUnarchiver::decodeInt32(const char* key, int& out)
{
    ZL_ENTRY(Int32)
    out = r.get<qint32>();
    return r.ok;
}

bool KeyedUnarchiver::decodeFloat(const char* key, float& out)
{
    ZL_ENTRY(Float)
    const float v = r.get<float>();
    if (!std::isfinite(v))
        return false;
    out = v;
    return r.ok;
}

bool KeyedUnarchiver::decodeDouble(const char* key, double& out)
{
    float f = 0;
    const bool had = contains(key);
    if (!decodeFloat(key, f))
        return false;
    if (had)
        out = double(f);
    return true;
}

bool KeyedUnarchiver::decodeString(const char* key, QString& out)
{
    ZL_ENTRY(String)
    QString s = r.string();
    if (!r.ok)
        return false;
    out = s.isNull() ? QStringLiteral("") : s;
    return true;
}

static QColor Read_Color(Reader& r)
{
    const quint16 red = r.get<quint16>(), green = r.get<quint16>(), blue = r.get<quint16>();
    const quint16 alpha = r.get<quint16>();
    return QColor::fromRgba64(red, green, blue, alpha);
}

bool KeyedUnarchiver::decodeColor(const char* key, QColor& out)
{
    ZL_ENTRY(Color)
    const QColor c = Read_Color(r);
    if (!r.ok)
        return false;
    out = c;
    return true;
}

bool KeyedUnarchiver::decodeFont(const char* key, QFont& out)
{
    ZL_ENTRY(Font)
    const QString s = r.string();
    return r.ok && Font_From_String(s, out);
}

bool KeyedUnarchiver::decodeImage(const char* key, PtImage& out)
{
    ZL_ENTRY(Image)
    const quint8 kind = r.get<quint8>();
    const double w = r.get<double>(), h = r.get<double>();
    if (!(r.finite(w) && r.finite(h)) || w < 0 || h < 0)
        return false;
    if (kind == ImageVector) {
        const quint32 n = r.get<quint32>();
        const char* d = r.take(n);
        if (!d)
            return false;
        QPicture pic;
        pic.setData(d, n);
        out = PtImage(pic, QSizeF(w, h));
        return true;
    }
    const qint32 fmt = r.get<qint32>(), iw = r.get<qint32>(), ih = r.get<qint32>(), bpl = r.get<qint32>();
    const char* bits = r.take(qint64(bpl) * ih);
    if (!bits)
        return false;
    QImage img(iw, ih, QImage::Format(fmt));
    if (img.isNull())
        return false;
    for (int y = 0; y < ih; ++y)
        std::memcpy(img.scanLine(y), bits + qint64(y) * bpl, size_t(bpl));
    out = PtImage(img, QSizeF(w, h));
    return true;
}

bool KeyedUnarchiver::decodeTextStorage(const char* key, std::unique_ptr<LMNTextStorage>& out)
{
    ZL_ENTRY(TextStorage)
    auto ts = std::make_unique<LMNTextStorage>();
    ts->string = r.string();
    const QString font = r.string();
    const bool hasColor = r.get<quint8>() != 0;
    const QColor c = Read_Color(r);
    if (!r.ok || !Font_From_String(font, ts->font))
        return false;
    if (ts->string.isNull())
        ts->string = QStringLiteral("");
    ts->color = hasColor ? c : QColor();
    out = std::move(ts);
    return true;
}
