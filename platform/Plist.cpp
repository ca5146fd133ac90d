#include "platform/Plist.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QTimeZone>

#include <plist/plist.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Deeper trees than this are refused: a hostile file must not exhaust the stack.
constexpr int kMaxDepth = 512;
// libplist takes 32-bit lengths.
constexpr qint64 kMaxInput = std::numeric_limits<qint32>::max();

// Dates in property lists count seconds from 2001-01-01 00:00:00 UTC.
const QDateTime& referenceDate()
{
    static const QDateTime ref(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    return ref;
}

struct PlistDeleter {
    void operator()(void* node) const { if (node) plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

void setError(QString* error, const QString& text)
{
    if (error) *error = text;
}

// The ranges both directions keep to (see Plist.h). libplist's writers
// convert reals to 64-bit integers and negate integers, and its date getter
// narrows to 32 bits, all without checking.
constexpr double kRealLimit = 9223372036854775808.0;   // 2^63
constexpr uint64_t kInt64MinPattern = uint64_t(1) << 63;

bool realInRange(double v) { return std::isfinite(v) && std::fabs(v) < kRealLimit; }

bool dateSecondsInRange(double sec)
{
    return std::isfinite(sec) && sec >= double(std::numeric_limits<int32_t>::min())
        && sec < double(std::numeric_limits<int32_t>::max()) + 1.0;
}

// The seconds a date node holds, read through its binary form (a 0x33
// marker and a big-endian double), so that no out-of-range value is ever
// narrowed. False when the node cannot be written.
bool dateNodeSeconds(plist_t node, double& sec)
{
    char* out = nullptr;
    uint32_t length = 0;
    plist_to_bin(node, &out, &length);
    bool ok = false;
    if (out && length >= 8 + 9 && static_cast<unsigned char>(out[8]) == 0x33) {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits = (bits << 8) | static_cast<unsigned char>(out[9 + i]);
        std::memcpy(&sec, &bits, sizeof sec);
        ok = true;
    }
    if (out) plist_to_bin_free(out);
    return ok;
}

std::optional<QVariant> toVariant(plist_t node, int depth, QString* error)
{
    if (!node) { setError(error, QStringLiteral("missing value")); return std::nullopt; }
    if (depth > kMaxDepth) { setError(error, QStringLiteral("property list nested too deeply")); return std::nullopt; }
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t v = 0;
        plist_get_bool_val(node, &v);
        return QVariant(v != 0);
    }
    case PLIST_UINT: {
        // libplist keeps every integer in 64 bits; stored signed values come
        // back as their two's complement pattern.
        uint64_t v = 0;
        plist_get_uint_val(node, &v);
        if (v == kInt64MinPattern) {
            setError(error, QStringLiteral("integer out of range"));
            return std::nullopt;
        }
        return QVariant(static_cast<qint64>(v));
    }
    case PLIST_REAL: {
        double v = 0;
        plist_get_real_val(node, &v);
        if (!realInRange(v)) {
            setError(error, QStringLiteral("real number out of range"));
            return std::nullopt;
        }
        return QVariant(v);
    }
    case PLIST_STRING: {
        uint64_t len = 0;
        const char* s = plist_get_string_ptr(node, &len);
        if (!s || len >= static_cast<uint64_t>(kMaxInput) || std::memchr(s, 0, size_t(len))) {
            setError(error, QStringLiteral("string holding a NUL character"));
            return std::nullopt;
        }
        return QVariant(QString::fromUtf8(s, static_cast<qsizetype>(len)));
    }
    case PLIST_DATA: {
        uint64_t len = 0;
        const char* d = plist_get_data_ptr(node, &len);
        QByteArray bytes;
        if (d && len > 0 && len < static_cast<uint64_t>(kMaxInput))
            bytes = QByteArray(d, static_cast<qsizetype>(len));
        return QVariant(bytes);
    }
    case PLIST_DATE: {
        double seconds = 0;
        if (!dateNodeSeconds(node, seconds) || !dateSecondsInRange(seconds)) {
            setError(error, QStringLiteral("date out of range"));
            return std::nullopt;
        }
        // Rounded to the millisecond, so that a date written and read again
        // keeps its value.
        return QVariant(referenceDate().addMSecs(std::llround(seconds * 1000.0)));
    }
    case PLIST_UID: {
        // Keyed-archive references appear as a one-key dictionary, as XML shows them.
        uint64_t v = 0;
        plist_get_uid_val(node, &v);
        if (v == kInt64MinPattern) {
            setError(error, QStringLiteral("integer out of range"));
            return std::nullopt;
        }
        QVariantMap m;
        m.insert(QStringLiteral("CF$UID"), QVariant(static_cast<qint64>(v)));
        return QVariant(m);
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t n = plist_array_get_size(node);
        for (uint32_t i = 0; i < n; ++i) {
            auto item = toVariant(plist_array_get_item(node, i), depth + 1, error);
            if (!item) return std::nullopt;
            list.append(std::move(*item));
        }
        return QVariant(list);
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        if (!it) return QVariant(map);
        bool ok = true;
        for (;;) {
            char* key = nullptr;
            plist_t val = nullptr;
            plist_dict_next_item(node, it, &key, &val);
            if (!val) { std::free(key); break; }
            auto item = toVariant(val, depth + 1, error);
            const QString k = key ? QString::fromUtf8(key) : QString();
            std::free(key);
            if (!item) { ok = false; break; }
            map.insert(k, std::move(*item));
        }
        std::free(it);
        if (!ok) return std::nullopt;
        return QVariant(map);
    }
    default:
        setError(error, QStringLiteral("unknown value type in property list"));
        return std::nullopt;
    }
}

plist_t fromVariant(const QVariant& v, int depth, QString* error)
{
    if (depth > kMaxDepth) { setError(error, QStringLiteral("value nested too deeply")); return nullptr; }
    auto refuse = [error](const QString& why) -> plist_t {
        setError(error, why);
        return nullptr;
    };
    switch (v.typeId()) {
    case QMetaType::Bool:
        return plist_new_bool(v.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar: {
        const qint64 n = v.toLongLong();
        if (n == std::numeric_limits<qint64>::min()) return refuse(QStringLiteral("integer out of range"));
        return plist_new_uint(static_cast<uint64_t>(n));
    }
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar: {
        const quint64 n = v.toULongLong();
        if (n == kInt64MinPattern) return refuse(QStringLiteral("integer out of range"));
        return plist_new_uint(static_cast<uint64_t>(n));
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        if (!realInRange(d)) return refuse(QStringLiteral("real number out of range"));
        return plist_new_real(d);
    }
    case QMetaType::QString: {
        const QString s = v.toString();
        if (s.contains(QChar(0))) return refuse(QStringLiteral("string holding a NUL character"));
        const QByteArray utf8 = s.toUtf8();
        return plist_new_string(utf8.constData());
    }
    case QMetaType::QByteArray: {
        const QByteArray bytes = v.toByteArray();
        return plist_new_data(bytes.constData(), static_cast<uint64_t>(bytes.size()));
    }
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        if (!dt.isValid()) return refuse(QStringLiteral("invalid date"));
        const qint64 ms = referenceDate().msecsTo(dt.toUTC());
        qint64 sec = ms / 1000;
        qint64 rem = ms % 1000;
        if (rem < 0) { rem += 1000; --sec; }
        if (sec < std::numeric_limits<int32_t>::min() || sec > std::numeric_limits<int32_t>::max())
            return refuse(QStringLiteral("date out of range"));
        return plist_new_date(static_cast<int32_t>(sec), static_cast<int32_t>(rem * 1000));
    }
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        plist_t arr = plist_new_array();
        for (const QVariant& item : v.toList()) {
            plist_t child = fromVariant(item, depth + 1, error);
            if (!child) { plist_free(arr); return nullptr; }
            plist_array_append_item(arr, child);
        }
        return arr;
    }
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash: {
        plist_t dict = plist_new_dict();
        const QVariantMap map = v.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            if (it.key().contains(QChar(0))) {
                plist_free(dict);
                return refuse(QStringLiteral("key holding a NUL character"));
            }
            plist_t child = fromVariant(it.value(), depth + 1, error);
            if (!child) { plist_free(dict); return nullptr; }
            const QByteArray key = it.key().toUtf8();
            plist_dict_set_item(dict, key.constData(), child);
        }
        return dict;
    }
    default:
        return refuse(QStringLiteral("value of a type property lists do not hold"));
    }
}

// A cheap look at nesting before libplist's recursive parsers see the data.
bool xmlNestingAcceptable(const QByteArray& data)
{
    int depth = 0;
    const char* p = data.constData();
    const char* end = p + data.size();
    for (; p < end; ++p) {
        if (*p != '<' || p + 1 >= end) continue;
        const char c = p[1];
        if (c == '/') { if (depth > 0) --depth; continue; }
        if (c == '?' || c == '!') continue;
        // Opening tag: is it self-closing?
        const char* q = p + 1;
        while (q < end && *q != '>') ++q;
        if (q < end && q[-1] == '/') continue;
        if (++depth > kMaxDepth + 4) return false;
    }
    return true;
}

// XML forbids NUL characters, and libplist's XML reader would keep them in
// strings and cut keys at them. Its date parser is handed only the plain
// form "YYYY-MM-DDTHH:MM:SSZ" (white space around it allowed).
bool xmlTextAcceptable(const QByteArray& data, QString* error)
{
    if (data.contains('\0')) {
        setError(error, QStringLiteral("NUL character in an XML property list"));
        return false;
    }
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    qsizetype from = 0;
    for (;;) {
        const qsizetype open = data.indexOf("<date", from);
        if (open < 0) return true;
        qsizetype p = open + 5;
        if (p >= data.size()) break;
        const char after = data.at(p);
        if (!(after == '>' || after == '/' || isSpace(after))) { from = p; continue; }
        while (p < data.size() && isSpace(data.at(p))) ++p;
        if (p >= data.size() || data.at(p) != '>') break;
        ++p;
        const qsizetype close = data.indexOf("</date>", p);
        if (close < 0) break;
        QByteArray text = data.mid(p, close - p);
        while (!text.isEmpty() && isSpace(text.front())) text.remove(0, 1);
        while (!text.isEmpty() && isSpace(text.back())) text.chop(1);
        static const char pattern[] = "dddd-dd-ddTdd:dd:ddZ";
        bool ok = text.size() == qsizetype(sizeof pattern - 1);
        for (qsizetype i = 0; ok && i < text.size(); ++i)
            ok = pattern[i] == 'd' ? isDigit(text.at(i)) : text.at(i) == pattern[i];
        if (!ok) break;
        from = close + 7;
    }
    setError(error, QStringLiteral("unreadable date in an XML property list"));
    return false;
}

uint64_t readBigEndian(const unsigned char* p, int n)
{
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}

// libplist's binary reader trusts its input more than a hostile file
// deserves: it aborts the process on a string or key holding a NUL byte, it
// recurses once per nesting level (a chain of a hundred thousand one-element
// arrays overflows the stack), and it expands every reference to a shared
// object anew (thirty levels of two references to the same array make a
// billion nodes). Walk the object table first and refuse such lists, and
// lists whose tables point outside the data.
constexpr uint64_t kMaxExpandedNodes = 4'000'000;

bool binaryPlistAcceptable(const QByteArray& data)
{
    const auto* base = reinterpret_cast<const unsigned char*>(data.constData());
    const uint64_t size = static_cast<uint64_t>(data.size());
    if (size < 8 + 32) return false;
    const unsigned char* trailer = base + size - 32;
    const int offsetSize = trailer[6];
    const int refSize = trailer[7];
    const uint64_t count = readBigEndian(trailer + 8, 8);
    const uint64_t top = readBigEndian(trailer + 16, 8);
    const uint64_t tableStart = readBigEndian(trailer + 24, 8);
    if (offsetSize < 1 || offsetSize > 8 || refSize < 1 || refSize > 8) return false;
    if (count == 0 || top >= count) return false;
    if (tableStart >= size || count > size || count * uint64_t(offsetSize) > size - tableStart)
        return false;

    std::vector<uint64_t> offsets(count);
    for (uint64_t i = 0; i < count; ++i) {
        offsets[i] = readBigEndian(base + tableStart + i * offsetSize, offsetSize);
        if (offsets[i] < 8 || offsets[i] >= size) return false;
    }

    // Length of the object at `off` and where its contents start.
    auto lengthAt = [&](uint64_t off, uint64_t& length, uint64_t& pos) {
        length = base[off] & 0x0F;
        pos = off + 1;
        if (length != 0x0F) return true;
        if (pos >= size) return false;
        const unsigned char intMarker = base[pos];
        if ((intMarker >> 4) != 0x1) return false;
        const int bytes = 1 << (intMarker & 0x0F);
        if (bytes > 8 || pos + 1 + bytes > size) return false;
        length = readBigEndian(base + pos + 1, bytes);
        pos += 1 + bytes;
        return length <= size;
    };

    // Strings and keys without NUL units.
    for (uint64_t i = 0; i < count; ++i) {
        const int type = base[offsets[i]] >> 4;
        if (type != 0x5 && type != 0x6) continue;
        uint64_t length = 0, pos = 0;
        if (!lengthAt(offsets[i], length, pos)) return false;
        const uint64_t unit = type == 0x6 ? 2 : 1;
        if (pos + length * unit > size) return false;
        for (uint64_t k = 0; k < length; ++k) {
            if (unit == 1 && base[pos + k] == 0) return false;
            if (unit == 2 && base[pos + 2 * k] == 0 && base[pos + 2 * k + 1] == 0) return false;
        }
    }

    // The containers reachable from the top object: no cycle, bounded depth,
    // bounded size once every shared reference is expanded. Iterative, so
    // the check itself cannot overflow the stack.
    auto refsOf = [&](uint64_t obj, uint64_t& n, uint64_t& pos) {
        const int type = base[offsets[obj]] >> 4;
        n = 0;
        pos = 0;
        if (type != 0xA && type != 0xC && type != 0xD) return true;
        uint64_t length = 0;
        if (!lengthAt(offsets[obj], length, pos)) return false;
        n = type == 0xD ? 2 * length : length;
        return n <= size && pos + n * uint64_t(refSize) <= size;
    };
    enum : unsigned char { Unseen, Open, Closed };
    std::vector<unsigned char> state(count, Unseen);
    std::vector<uint64_t> expanded(count, 0);
    struct Frame { uint64_t obj, n, pos, next; bool dict; };
    std::vector<Frame> stack;
    auto push = [&](uint64_t obj) {
        Frame f{obj, 0, 0, 0, (base[offsets[obj]] >> 4) == 0xD};
        if (!refsOf(obj, f.n, f.pos)) return false;
        state[obj] = Open;
        expanded[obj] = 1;
        stack.push_back(f);
        return stack.size() <= size_t(kMaxDepth);
    };
    if (!push(top)) return false;
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next == f.n) {
            state[f.obj] = Closed;
            const uint64_t done = expanded[f.obj];
            stack.pop_back();
            if (!stack.empty()) {
                uint64_t& parent = expanded[stack.back().obj];
                parent = std::min(parent + done, kMaxExpandedNodes + 1);
                if (parent > kMaxExpandedNodes) return false;
            }
            continue;
        }
        const uint64_t child = readBigEndian(base + f.pos + f.next * refSize, refSize);
        ++f.next;
        if (child >= count || state[child] == Open) return false;
        // Dictionary keys (the first half of the references) are strings.
        if (f.dict && f.next <= f.n / 2) {
            const int keyType = base[offsets[child]] >> 4;
            if (keyType != 0x5 && keyType != 0x6) return false;
        }
        if (state[child] == Closed) {
            uint64_t& self = expanded[f.obj];
            self = std::min(self + expanded[child], kMaxExpandedNodes + 1);
            if (self > kMaxExpandedNodes) return false;
            continue;
        }
        if (!push(child)) return false;
    }
    return true;
}

} // namespace

std::optional<QVariant> Plist_Parse(const QByteArray& data, QString* error)
{
    if (data.isEmpty()) { setError(error, QStringLiteral("empty property list")); return std::nullopt; }
    if (data.size() >= kMaxInput) { setError(error, QStringLiteral("property list too large")); return std::nullopt; }
    const auto len = static_cast<uint32_t>(data.size());
    plist_t root = nullptr;
    if (plist_is_binary(data.constData(), len)) {
        if (!binaryPlistAcceptable(data)) {
            setError(error, QStringLiteral("damaged binary property list"));
            return std::nullopt;
        }
        plist_from_bin(data.constData(), len, &root);
    } else {
        if (!xmlNestingAcceptable(data)) {
            setError(error, QStringLiteral("property list nested too deeply"));
            return std::nullopt;
        }
        if (!xmlTextAcceptable(data, error))
            return std::nullopt;
        // libplist's XML reader wants the text terminated.
        const QByteArray text = data + '\0';
        plist_from_xml(text.constData(), len, &root);
    }
    if (!root) { setError(error, QStringLiteral("not a readable property list")); return std::nullopt; }
    PlistPtr guard(root);
    return toVariant(root, 0, error);
}

QByteArray Plist_Serialize(const QVariant& root, PlistFormat format, QString* error)
{
    plist_t node = fromVariant(root, 0, error);
    if (!node) return {};
    PlistPtr guard(node);
    char* out = nullptr;
    uint32_t length = 0;
    QByteArray result;
    if (format == PlistFormat::Xml) {
        plist_to_xml(node, &out, &length);
        if (out) result = QByteArray(out, static_cast<qsizetype>(length));
        if (out) plist_to_xml_free(out);
    } else {
        plist_to_bin(node, &out, &length);
        if (out) result = QByteArray(out, static_cast<qsizetype>(length));
        if (out) plist_to_bin_free(out);
    }
    return result;
}

std::optional<QVariant> Plist_Read_File(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, file.errorString());
        return std::nullopt;
    }
    if (file.size() >= kMaxInput) { setError(error, QStringLiteral("property list too large")); return std::nullopt; }
    return Plist_Parse(file.readAll(), error);
}

bool Plist_Write_File(const QString& path, const QVariant& root, PlistFormat format, QString* error)
{
    QString why;
    const QByteArray bytes = Plist_Serialize(root, format, &why);
    if (bytes.isEmpty()) {
        setError(error, QStringLiteral("value cannot be stored in a property list: %1").arg(why));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) { setError(error, file.errorString()); return false; }
    if (file.write(bytes) != bytes.size()) { setError(error, file.errorString()); file.cancelWriting(); return false; }
    if (!file.commit()) { setError(error, file.errorString()); return false; }
    return true;
}
