#include "core/model/KeyedArchive.h"

#include "core/model/LMNGraphic.h"

#include "platform/PictureData.h"

#include <QCryptographicHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QPicture>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <deque>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the archive layout is written in host order");

namespace {

constexpr char Magic[4] = {'Z', 'L', 'K', 'A'};
constexpr quint8 Version = 2;
constexpr quint8 ImagePng = 3;
constexpr quint8 ImageReference = 4;
constexpr int DigestLength = 32;

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

// ---- Pictures archived by reference ----
// The pictures this process has put into archives by reference, newest last,
// so that reading an archive of this process gives back the very picture.

struct KeptPicture {
    QByteArray digest;
    PtImage image;
    qint64 bytes = 0;
};

// The pictures kept for the process, shared by every archive read in it (a
// cache keyed by content; guarded).
QMutex& Kept_Lock()
{
    static QMutex lock;
    return lock;
}

std::deque<KeptPicture>& Kept()
{
    static std::deque<KeptPicture> kept;
    return kept;
}

constexpr qint64 Kept_Byte_Budget = 256LL * 1024 * 1024;

bool Same_Picture_Object(const PtImage& a, const PtImage& b)
{
    if (a.isVector() != b.isVector() || a.size() != b.size())
        return false;
    if (a.isVector())
        return a.picture().size() == b.picture().size() && a.picture().data() == b.picture().data();
    return a.raster().cacheKey() == b.raster().cacheKey();
}

QByteArray Picture_Digest(const PtImage& v)
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    const double size[2] = {v.size().width(), v.size().height()};
    h.addData(QByteArrayView(reinterpret_cast<const char*>(size), sizeof size));
    if (v.isVector()) {
        h.addData("vector");
        h.addData(QByteArrayView(v.picture().data(), v.picture().size()));
    } else {
        const QImage& img = v.raster();
        const qint32 head[3] = {qint32(img.format()), qint32(img.width()), qint32(img.height())};
        h.addData(QByteArrayView(reinterpret_cast<const char*>(head), sizeof head));
        const qsizetype used = (qsizetype(img.width()) * img.depth() + 7) / 8;
        for (int y = 0; y < img.height(); ++y)
            h.addData(QByteArrayView(reinterpret_cast<const char*>(img.constScanLine(y)), used));
        const QList<QRgb> table = img.colorTable();
        h.addData(QByteArrayView(reinterpret_cast<const char*>(table.constData()), table.size() * qsizetype(sizeof(QRgb))));
    }
    return h.result();
}

// Keeps `v` and answers its digest.
QByteArray Keep_Picture(const PtImage& v)
{
    QMutexLocker lock(&Kept_Lock());
    auto& kept = Kept();
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        if (Same_Picture_Object(it->image, v)) {
            KeptPicture found = *it;
            kept.erase(it);
            kept.push_back(found);
            return found.digest;
        }
    }
    lock.unlock();
    const QByteArray digest = Picture_Digest(v);
    lock.relock();
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        if (it->digest == digest) {
            kept.erase(it);
            break;
        }
    }
    const qint64 bytes = v.isVector() ? v.picture().size() : v.raster().sizeInBytes();
    kept.push_back(KeptPicture{digest, v, bytes});
    qint64 total = 0;
    for (const KeptPicture& k : kept)
        total += k.bytes;
    while (kept.size() > 1 && (int(kept.size()) > Keyed_Archive_Kept_References || total > Kept_Byte_Budget)) {
        total -= kept.front().bytes;
        kept.pop_front();
    }
    return digest;
}

bool Find_Kept_Picture(const QByteArray& digest, PtImage& out)
{
    QMutexLocker lock(&Kept_Lock());
    for (const KeptPicture& k : Kept())
        if (k.digest == digest) {
            out = k.image;
            return true;
        }
    return false;
}

// ---- PNG bytes of recent rasters ----
// Undo steps archive every picture of the canvas again and again, and
// restoring one reads them all back: the PNG bytes of the last rasters
// written are kept with their image, so that writing the same image again
// and reading the same bytes again (compared in full) cost no encoding.

struct RecentPng {
    qint64 key;
    QByteArray png;
    QImage image;
};

// Recently encoded pictures, shared by the process as a cache (guarded).
QMutex& Recent_Lock()
{
    static QMutex lock;
    return lock;
}

std::deque<RecentPng>& Recent()
{
    static std::deque<RecentPng> recent;
    return recent;
}

constexpr size_t Recent_Count = 64;

QByteArray Png_Of(const QImage& img)
{
    const qint64 key = img.cacheKey();
    {
        QMutexLocker locker(&Recent_Lock());
        for (const RecentPng& r : Recent())
            if (r.key == key)
                return r.png;
    }
    const QByteArray png = Picture_To_Png(img);
    if (png.isEmpty())
        return png;
    QMutexLocker locker(&Recent_Lock());
    Recent().push_back(RecentPng{key, png, img});
    while (Recent().size() > Recent_Count)
        Recent().pop_front();
    return png;
}

// The picture of PNG bytes: a recent one with the very same bytes, else the
// bytes read (and checked) anew.
QImage Image_Of_Png(const char* bytes, qsizetype size)
{
    const QByteArrayView data(bytes, size);
    {
        QMutexLocker locker(&Recent_Lock());
        for (const RecentPng& r : Recent())
            if (r.png.size() == size && QByteArrayView(r.png) == data)
                return r.image;
    }
    const QByteArray copy(bytes, size);
    const QImage img = Picture_From_Data(copy, "png", Keyed_Archive_Max_Image_Pixels);
    if (img.isNull())
        return img;
    QMutexLocker locker(&Recent_Lock());
    Recent().push_back(RecentPng{img.cacheKey(), copy, img});
    while (Recent().size() > Recent_Count)
        Recent().pop_front();
    return img;
}

// A vector picture drawn into pixels, for archives that carry it as data.
QImage Raster_Of_Vector(const PtImage& v)
{
    double dpi = Keyed_Archive_Vector_Dpi;
    const double w = v.size().width(), h = v.size().height();
    if (!(w > 0) || !(h > 0))
        return {};
    const double pixels = (dpi * w / 72.0) * (dpi * h / 72.0);
    if (pixels > double(Picture_Max_Pixels) / 4)
        dpi *= std::sqrt(double(Picture_Max_Pixels) / 4 / pixels);
    if (dpi * std::max(w, h) / 72.0 > Picture_Max_Side)
        dpi = Picture_Max_Side * 72.0 / std::max(w, h);
    return v.toImage(dpi);
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
        if (kind == ImagePng) {
            const quint32 n = r.get<quint32>();
            return r.take(n) != nullptr;
        }
        if (kind == ImageReference)
            return r.take(DigestLength) != nullptr;
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

void KeyedArchiver::encodeImage(const char* k, const PtImage& v, ImageForm form)
{
    if (v.isNull())
        return null(k);
    if (form == ImageForm::Reference) {
        const QByteArray digest = Keep_Picture(v);
        key(k, KeyedUnarchiver::Image);
        Put<quint8>(m_data, ImageReference);
        Put<double>(m_data, v.size().width());
        Put<double>(m_data, v.size().height());
        m_data.append(digest);
        return;
    }
    const QByteArray png = v.isVector() ? Picture_To_Png(Raster_Of_Vector(v)) : Png_Of(v.raster());
    if (png.isEmpty())
        return null(k);
    key(k, KeyedUnarchiver::Image);
    Put<quint8>(m_data, ImagePng);
    Put<double>(m_data, v.size().width());
    Put<double>(m_data, v.size().height());
    Put<quint32>(m_data, quint32(png.size()));
    m_data.append(png);
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

bool KeyedUnarchiver::decodeImage(const char* key, PtImage& out, bool* unresolved)
{
    if (unresolved)
        *unresolved = false;
    ZL_ENTRY(Image)
    const quint8 kind = r.get<quint8>();
    const double w = r.get<double>(), h = r.get<double>();
    if (!(r.finite(w) && r.finite(h)) || w < 0 || h < 0)
        return false;
    if (kind == ImageReference) {
        const char* d = r.take(DigestLength);
        if (!d)
            return false;
        PtImage kept;
        if (Find_Kept_Picture(QByteArray(d, DigestLength), kept))
            out = kept;
        else if (unresolved)
            *unresolved = true;
        return true;
    }
    const quint32 n = r.get<quint32>();
    const char* d = r.take(n);
    if (!d)
        return false;
    const QImage img = Image_Of_Png(d, qsizetype(n));
    if (img.isNull())
        return false;
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

void Keyed_Archive_Forget_References()
{
    QMutexLocker lock(&Kept_Lock());
    Kept().clear();
}
