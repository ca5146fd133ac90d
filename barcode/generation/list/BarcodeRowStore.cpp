#include "barcode/generation/list/BarcodeRowStore.h"

#include <cstring>
#include <type_traits>

namespace {

// Four texts of a row cannot reach 4 G characters in any memory this
// program runs in; were it ever so, they are cut rather than wrapped.
qint64 Cut_To(QStringView texts[4], qint64 most)
{
    qint64 total = 0;
    for (int k = 0; k < 4; ++k) {
        texts[k] = texts[k].first(std::min<qint64>(texts[k].size(), most - total));
        total += texts[k].size();
    }
    return total;
}

void Put(char16_t* to, QStringView text)
{
    if (!text.isEmpty())
        std::memcpy(to, text.utf16(), size_t(text.size()) * sizeof(char16_t));
}

// The characters as Latin-1 bytes (each below U+0100).
void Put_Latin1(char* to, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        to[i] = char(text[i].unicode());
}

bool Latin1(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

} // namespace

QStringView Utf16_Of(QAnyStringView text, QVarLengthArray<char16_t, 64>& buffer)
{
    return text.visit([&buffer](auto view) -> QStringView {
        using View = decltype(view);
        if constexpr (std::is_same_v<View, QStringView>) {
            return view;
        } else if constexpr (std::is_same_v<View, QLatin1StringView>) {
            buffer.resize(view.size());
            for (qsizetype i = 0; i < view.size(); ++i)
                buffer[i] = char16_t(uchar(view.data()[i]));
            return QStringView(buffer.data(), buffer.size());
        } else {
            const QString s = view.toString();
            buffer.resize(s.size());
            if (!s.isEmpty())
                std::memcpy(buffer.data(), s.utf16(), size_t(s.size()) * sizeof(char16_t));
            return QStringView(buffer.data(), buffer.size());
        }
    });
}

BarcodeRowStore::BarcodeRowStore(const BarcodeRowStore& other)
{
    append(other, other.size());
}

BarcodeRowStore& BarcodeRowStore::operator=(const BarcodeRowStore& other)
{
    if (this != &other) {
        BarcodeRowStore copy(other);
        *this = std::move(copy);
    }
    return *this;
}

BarcodeRowStore::BarcodeRowStore(BarcodeRowStore&& other) noexcept
{
    *this = std::move(other);
}

BarcodeRowStore& BarcodeRowStore::operator=(BarcodeRowStore&& other) noexcept
{
    if (this != &other) {
        m_rows = std::move(other.m_rows);
        m_blocks = std::move(other.m_blocks);
        m_long = std::move(other.m_long);
        m_freeLong = std::move(other.m_freeLong);
        m_used = other.m_used;
        m_heldBytes = other.m_heldBytes;
        m_liveBytes = other.m_liveBytes;
        m_longChars = other.m_longChars;
        other.m_rows.clear();
        other.m_blocks.clear();
        other.m_long.clear();
        other.m_freeLong.clear();
        other.m_used = other.m_heldBytes = other.m_liveBytes = other.m_longChars = 0;
    }
    return *this;
}

BarcodeRowStore::~BarcodeRowStore() = default;

BarcodeRow BarcodeRowStore::row(int row) const
{
    return {text(row, 0).toString(), text(row, 1).toString(), text(row, 2).toString(), text(row, 3).toString()};
}

QAnyStringView BarcodeRowStore::wideText(const Entry& e, int column) const
{
    if (e.len[0] == Medium_Row) {
        const char16_t* p = reinterpret_cast<const char16_t*>(sharedBytes(e.at));
        qsizetype from = Medium_Header;
        for (int k = 0; k < column; ++k)
            from += p[k];
        return QStringView(p + from, qsizetype(p[column]));
    }
    const char16_t* p = m_long[e.at].get();
    uint32_t lens[4];
    std::memcpy(lens, p, sizeof lens);
    qsizetype from = Long_Header;
    for (int k = 0; k < column; ++k)
        from += lens[k];
    return QStringView(p + from, qsizetype(lens[column]));
}

qint64 BarcodeRowStore::sharedBytesOf(const Entry& e) const
{
    if (e.len[0] == Long_Row)
        return 0;
    if (e.len[0] == Medium_Row) {
        const char16_t* p = reinterpret_cast<const char16_t*>(sharedBytes(e.at));
        return 2 * (Medium_Header + qint64(p[0]) + p[1] + p[2] + p[3]);
    }
    const qint64 chars = qint64(e.len[0]) + e.len[1] + e.len[2] + (e.len[3] == Quantity_One ? 0 : e.len[3]);
    return (e.at & Latin1_Row) ? chars : 2 * chars;
}

void BarcodeRowStore::reserveChars(qint64 chars)
{
    if (chars <= 0)
        return;
    m_blocks.reserve(m_blocks.size() + size_t(chars / Block_Chars) + 2);
    // A first block as large as what comes (rather than small ones first).
    if (m_blocks.empty()) {
        const qint64 cap = std::min<qint64>(Block_Bytes, 2 * chars);
        m_blocks.push_back({std::unique_ptr<char[]>(new char[size_t(cap)]), cap});
        m_heldBytes += cap;
        m_used = 0;
    }
}

bool BarcodeRowStore::take(qint64 n, bool even, uint32_t* at)
{
    if (!m_blocks.empty()) {
        const qint64 from = even ? (m_used + 1) & ~qint64(1) : m_used;
        if (m_blocks.back().capacity - from >= n) {
            *at = (uint32_t(m_blocks.size() - 1) << Block_Bits) | uint32_t(from);
            m_used = from + n;
            return true;
        }
    }
    if (m_blocks.size() >= Max_Blocks)
        return false;
    // What is left of the last block stays unused (a row never spans two).
    // Blocks grow to their full size, so a store of a few rows stays small.
    const qint64 last = m_blocks.empty() ? 0 : m_blocks.back().capacity;
    const qint64 cap = std::min<qint64>(Block_Bytes, std::max<qint64>({n, 2 * last, 512}));
    m_blocks.push_back({std::unique_ptr<char[]>(new char[size_t(cap)]), cap});
    m_heldBytes += cap;
    m_used = n;
    *at = uint32_t(m_blocks.size() - 1) << Block_Bits;
    return true;
}

BarcodeRowStore::Entry BarcodeRowStore::writeShared(QStringView texts[4], uint32_t at, bool medium, bool latin1)
{
    Entry e{at, {0, 0, 0, 0}};
    if (medium) {
        char16_t* p = reinterpret_cast<char16_t*>(sharedBytes(at));
        for (int k = 0; k < 4; ++k)
            p[k] = char16_t(texts[k].size());
        qint64 off = Medium_Header;
        for (int k = 0; k < 4; ++k) {
            Put(p + off, texts[k]);
            off += texts[k].size();
        }
        e.len[0] = Medium_Row;
        return e;
    }
    if (latin1)
        e.at |= Latin1_Row;
    const bool one = texts[3] == u"1";
    qint64 off = 0;   // characters
    for (int k = 0; k < 4; ++k) {
        if (k == 3 && one) {
            e.len[3] = Quantity_One;
            continue;
        }
        if (!texts[k].isEmpty()) {
            if (latin1)
                Put_Latin1(sharedBytes(at) + off, texts[k]);
            else
                Put(reinterpret_cast<char16_t*>(sharedBytes(at)) + off, texts[k]);
        }
        off += texts[k].size();
        e.len[k] = uint8_t(texts[k].size());
    }
    return e;
}

BarcodeRowStore::Entry BarcodeRowStore::writeLong(QStringView texts[4])
{
    const qint64 total = Cut_To(texts, Max_Row_Chars);
    std::unique_ptr<char16_t[]> block(new char16_t[size_t(total + Long_Header)]);
    uint32_t lens[4];
    for (int k = 0; k < 4; ++k)
        lens[k] = uint32_t(texts[k].size());
    std::memcpy(block.get(), lens, sizeof lens);
    qint64 off = Long_Header;
    for (int k = 0; k < 4; ++k) {
        Put(block.get() + off, texts[k]);
        off += texts[k].size();
    }
    uint32_t slot;
    if (!m_freeLong.empty()) {
        slot = m_freeLong.back();
        m_freeLong.pop_back();
        m_long[slot] = std::move(block);
    } else {
        slot = uint32_t(m_long.size());
        m_long.push_back(std::move(block));
    }
    m_longChars += total + Long_Header;
    return Entry{slot, {Long_Row, 0, 0, 0}};
}

void BarcodeRowStore::releaseLong(const Entry& e)
{
    uint32_t lens[4];
    std::memcpy(lens, m_long[e.at].get(), sizeof lens);
    m_longChars -= qint64(lens[0]) + lens[1] + lens[2] + lens[3] + Long_Header;
    m_long[e.at].reset();
    m_freeLong.push_back(e.at);
}

namespace {

// How a row of these texts lies in the shared blocks: short (a byte a
// length; a byte a character when all are Latin-1), medium (its lengths
// before it) or neither (a block of its own).
struct Shape {
    bool shortRow = false;
    bool latin1 = false;
    bool medium = false;
    qint64 bytes = 0;   // in the shared blocks
};

Shape Shape_Of(QStringView texts[4], qint64 total, qint64 maxShort, qint64 maxMedium, qint64 mediumHeader)
{
    const bool one = texts[3] == u"1";
    Shape s;
    s.shortRow = texts[0].size() <= maxShort && texts[1].size() <= maxShort && texts[2].size() <= maxShort
        && (one || texts[3].size() <= maxShort);
    if (s.shortRow) {
        s.latin1 = Latin1(texts[0]) && Latin1(texts[1]) && Latin1(texts[2]) && (one || Latin1(texts[3]));
        const qint64 chars = total - (one ? 1 : 0);
        s.bytes = s.latin1 ? chars : 2 * chars;
    } else if (total <= maxMedium) {
        s.medium = true;
        s.bytes = 2 * (total + mediumHeader);
    }
    return s;
}

} // namespace

BarcodeRowStore::Entry BarcodeRowStore::write(QStringView texts[4])
{
    const qint64 total = Cut_To(texts, Max_Row_Chars);
    const Shape shape = Shape_Of(texts, total, Max_Short, Max_Medium_Chars, Medium_Header);
    if (shape.shortRow || shape.medium) {
        uint32_t at = 0;
        if (shape.bytes == 0 || take(shape.bytes, !shape.latin1, &at)) {
            m_liveBytes += shape.bytes;
            return writeShared(texts, at, shape.medium, shape.latin1);
        }
    }
    return writeLong(texts);
}

void BarcodeRowStore::appendTexts(const BarcodeRowStore& from, int row)
{
    QVarLengthArray<char16_t, 64> buffers[4];
    QStringView texts[4];
    for (int k = 0; k < 4; ++k)
        texts[k] = Utf16_Of(from.text(row, k), buffers[k]);
    m_rows.push_back(write(texts));
}

void BarcodeRowStore::append(QStringView value, QStringView header, QStringView footer, QStringView pq)
{
    QStringView texts[4] = {value, header, footer, pq};
    m_rows.push_back(write(texts));
}

void BarcodeRowStore::append(const BarcodeRowStore& rows, int count)
{
    count = std::max(0, std::min(count, rows.size()));
    // Grown by half at least, so appending chunk after chunk stays linear.
    const size_t needed = m_rows.size() + size_t(count);
    if (m_rows.capacity() < needed)
        m_rows.reserve(std::max(needed, m_rows.capacity() + m_rows.capacity() / 2));
    for (int r = 0; r < count; ++r) {
        const Entry& from = rows.m_rows[size_t(r)];
        const qint64 n = rows.sharedBytesOf(from);
        uint32_t at = 0;
        const bool latin1 = from.len[0] <= Max_Short && (from.at & Latin1_Row);
        if (from.len[0] == Long_Row || (n > 0 && !take(n, !latin1, &at))) {
            appendTexts(rows, r);
            continue;
        }
        if (n > 0)
            std::memcpy(sharedBytes(at), rows.sharedBytes(from.at), size_t(n));
        m_liveBytes += n;
        Entry e = from;
        e.at = at | (latin1 ? Latin1_Row : 0);
        m_rows.push_back(e);
    }
}

void BarcodeRowStore::insert(int at, const BarcodeRow& row)
{
    QStringView texts[4] = {row.Value, row.Header, row.Footer, row.PQ};
    const Entry e = write(texts);
    m_rows.insert(m_rows.begin() + at, e);
}

void BarcodeRowStore::replace(int at, const BarcodeRow& row)
{
    QStringView texts[4] = {row.Value, row.Header, row.Footer, row.PQ};
    const qint64 total = Cut_To(texts, Max_Row_Chars);
    const Entry old = m_rows[size_t(at)];
    if (old.len[0] != Long_Row) {
        // The row fits where it lies (a row of UTF-16 at an even byte; one
        // of Latin-1 anywhere).
        const qint64 was = sharedBytesOf(old);
        const Shape shape = Shape_Of(texts, total, Max_Short, Max_Medium_Chars, Medium_Header);
        const uint32_t where = old.at & ~Latin1_Row;
        const bool aligned = shape.latin1 || (where & 1) == 0;
        if ((shape.shortRow || shape.medium) && shape.bytes <= was && (shape.bytes == 0 || aligned)) {
            m_liveBytes -= was - shape.bytes;
            m_rows[size_t(at)] = writeShared(texts, where, shape.medium, shape.latin1);
            packIfWasteful();
            return;
        }
        m_liveBytes -= was;
    } else {
        releaseLong(old);
    }
    m_rows[size_t(at)] = write(texts);
    packIfWasteful();
}

int BarcodeRowStore::remove(const std::vector<char>& gone)
{
    size_t w = 0;
    for (size_t r = 0; r < m_rows.size(); ++r) {
        if (r < gone.size() && gone[r]) {
            if (m_rows[r].len[0] == Long_Row)
                releaseLong(m_rows[r]);
            else
                m_liveBytes -= sharedBytesOf(m_rows[r]);
        } else {
            m_rows[w++] = m_rows[r];
        }
    }
    const int removed = int(m_rows.size() - w);
    m_rows.resize(w);
    if (removed > 0)
        packIfWasteful();
    return removed;
}

void BarcodeRowStore::clear()
{
    *this = BarcodeRowStore();
}

qint64 BarcodeRowStore::heldBytes() const
{
    return qint64(m_rows.capacity() * sizeof(Entry)) + m_heldBytes + qint64(m_blocks.capacity() * sizeof(Block))
        + m_longChars * qint64(sizeof(char16_t)) + qint64(m_long.capacity() * sizeof(m_long[0]))
        + qint64(m_freeLong.capacity() * sizeof(uint32_t));
}

void BarcodeRowStore::packIfWasteful()
{
    const qint64 unused = m_heldBytes - m_liveBytes;
    if (unused <= std::max(m_liveBytes / 2, 4 * Block_Bytes))
        return;
    BarcodeRowStore packed;
    // Room for what is there and what may come, not for rows long gone.
    packed.reserve(int(std::max(m_rows.size(), std::min(m_rows.capacity(), 2 * m_rows.size() + 1024))));
    packed.reserveChars(m_liveBytes / 2);
    // The rows of blocks of their own stay where they are.
    packed.m_long = std::move(m_long);
    packed.m_freeLong = std::move(m_freeLong);
    packed.m_longChars = m_longChars;
    for (size_t r = 0; r < m_rows.size(); ++r) {
        const Entry& e = m_rows[r];
        Entry copy = e;
        const qint64 n = sharedBytesOf(e);
        if (n > 0) {
            const bool latin1 = e.len[0] <= Max_Short && (e.at & Latin1_Row);
            uint32_t at = 0;
            if (!packed.take(n, !latin1, &at)) {
                packed.appendTexts(*this, int(r));
                continue;
            }
            std::memcpy(packed.sharedBytes(at), sharedBytes(e.at), size_t(n));
            copy.at = at | (latin1 ? Latin1_Row : 0);
            packed.m_liveBytes += n;
        }
        packed.m_rows.push_back(copy);
    }
    *this = std::move(packed);
}

// ---------------------------------------------------------------- view

BarcodeRowsView::BarcodeRowsView(const std::vector<BarcodeRow>& rows)
{
    auto store = std::make_shared<BarcodeRowStore>();
    store->reserve(int(rows.size()));
    for (const BarcodeRow& r : rows)
        store->append(r);
    m_store = std::move(store);
}

BarcodeRow BarcodeRowsView::operator[](size_t row) const
{
    return row < size() ? m_store->row(int(row)) : BarcodeRow();
}

QAnyStringView BarcodeRowsView::text(int row, int column) const
{
    if (row < 0 || size_t(row) >= size() || column < 0 || column > 3)
        return {};
    return m_store->text(row, column);
}

std::vector<BarcodeRow> BarcodeRowsView::toVector() const
{
    std::vector<BarcodeRow> rows;
    rows.reserve(size());
    for (size_t r = 0; r < size(); ++r)
        rows.push_back(m_store->row(int(r)));
    return rows;
}

bool BarcodeRowsView::operator==(const std::vector<BarcodeRow>& rows) const
{
    if (rows.size() != size())
        return false;
    for (size_t r = 0; r < rows.size(); ++r) {
        const QString* texts[4] = {&rows[r].Value, &rows[r].Header, &rows[r].Footer, &rows[r].PQ};
        for (int k = 0; k < 4; ++k)
            if (m_store->text(int(r), k) != *texts[k])
                return false;
    }
    return true;
}
