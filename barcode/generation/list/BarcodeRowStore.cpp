#include "barcode/generation/list/BarcodeRowStore.h"

#include <cstring>

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

} // namespace

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
        m_heldChars = other.m_heldChars;
        m_liveChars = other.m_liveChars;
        m_longChars = other.m_longChars;
        other.m_rows.clear();
        other.m_blocks.clear();
        other.m_long.clear();
        other.m_freeLong.clear();
        other.m_used = other.m_heldChars = other.m_liveChars = other.m_longChars = 0;
    }
    return *this;
}

BarcodeRowStore::~BarcodeRowStore() = default;

BarcodeRow BarcodeRowStore::row(int row) const
{
    return {text(row, 0).toString(), text(row, 1).toString(), text(row, 2).toString(), text(row, 3).toString()};
}

QStringView BarcodeRowStore::wideText(const Entry& e, int column) const
{
    if (e.len[0] == Medium_Row) {
        const char16_t* p = shortChars(e.at);
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

qint64 BarcodeRowStore::sharedChars(const Entry& e) const
{
    if (e.len[0] == Long_Row)
        return 0;
    if (e.len[0] == Medium_Row) {
        const char16_t* p = shortChars(e.at);
        return Medium_Header + qint64(p[0]) + p[1] + p[2] + p[3];
    }
    return qint64(e.len[0]) + e.len[1] + e.len[2] + (e.len[3] == Quantity_One ? 0 : e.len[3]);
}

void BarcodeRowStore::reserveChars(qint64 chars)
{
    if (chars <= 0)
        return;
    m_blocks.reserve(m_blocks.size() + size_t(chars / Block_Chars) + 2);
    // A first block as large as what comes (rather than small ones first).
    if (m_blocks.empty()) {
        const qint64 cap = std::min<qint64>(Block_Chars, chars);
        m_blocks.push_back({std::unique_ptr<char16_t[]>(new char16_t[size_t(cap)]), cap});
        m_heldChars += cap;
        m_used = 0;
    }
}

bool BarcodeRowStore::take(qint64 n, uint32_t* at)
{
    if (!m_blocks.empty() && m_blocks.back().capacity - m_used >= n) {
        *at = (uint32_t(m_blocks.size() - 1) << Block_Bits) | uint32_t(m_used);
        m_used += n;
        return true;
    }
    if (m_blocks.size() >= Max_Blocks)
        return false;
    // What is left of the last block stays unused (a row never spans two).
    // Blocks grow to their full size, so a store of a few rows stays small.
    const qint64 last = m_blocks.empty() ? 0 : m_blocks.back().capacity;
    const qint64 cap = std::min<qint64>(Block_Chars, std::max<qint64>({n, 2 * last, 256}));
    m_blocks.push_back({std::unique_ptr<char16_t[]>(new char16_t[size_t(cap)]), cap});
    m_heldChars += cap;
    m_used = n;
    *at = uint32_t(m_blocks.size() - 1) << Block_Bits;
    return true;
}

BarcodeRowStore::Entry BarcodeRowStore::writeShared(QStringView texts[4], uint32_t at, bool medium)
{
    Entry e{at, {0, 0, 0, 0}};
    qint64 off = 0;
    if (medium) {
        char16_t* p = shortChars(at);
        for (int k = 0; k < 4; ++k)
            p[k] = char16_t(texts[k].size());
        off = Medium_Header;
        for (int k = 0; k < 4; ++k) {
            Put(p + off, texts[k]);
            off += texts[k].size();
        }
        e.len[0] = Medium_Row;
        return e;
    }
    const bool one = texts[3] == u"1";
    for (int k = 0; k < 4; ++k) {
        if (k == 3 && one) {
            e.len[3] = Quantity_One;
            continue;
        }
        if (!texts[k].isEmpty())
            Put(shortChars(at) + off, texts[k]);
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
// length), medium (its lengths before it) or neither (a block of its own).
struct Shape {
    bool shortRow = false;
    bool medium = false;
    qint64 chars = 0;   // in the shared blocks
};

Shape Shape_Of(QStringView texts[4], qint64 total, qint64 maxShort, qint64 maxMedium, qint64 mediumHeader)
{
    const bool one = texts[3] == u"1";
    Shape s;
    s.shortRow = texts[0].size() <= maxShort && texts[1].size() <= maxShort && texts[2].size() <= maxShort
        && (one || texts[3].size() <= maxShort);
    if (s.shortRow) {
        s.chars = total - (one ? 1 : 0);
    } else if (total <= maxMedium) {
        s.medium = true;
        s.chars = total + mediumHeader;
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
        if (shape.chars == 0 || take(shape.chars, &at)) {
            m_liveChars += shape.chars;
            return writeShared(texts, at, shape.medium);
        }
    }
    return writeLong(texts);
}

void BarcodeRowStore::textsOf(const BarcodeRowStore& s, int row, QStringView texts[4])
{
    for (int k = 0; k < 4; ++k)
        texts[k] = s.text(row, k);
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
        const qint64 n = rows.sharedChars(from);
        uint32_t at = 0;
        if (from.len[0] == Long_Row || (n > 0 && !take(n, &at))) {
            QStringView texts[4];
            textsOf(rows, r, texts);
            m_rows.push_back(writeLong(texts));
            continue;
        }
        if (n > 0)
            std::memcpy(shortChars(at), rows.shortChars(from.at), size_t(n) * sizeof(char16_t));
        m_liveChars += n;
        Entry e = from;
        e.at = at;
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
        // The row fits where it lies.
        const qint64 was = sharedChars(old);
        const Shape shape = Shape_Of(texts, total, Max_Short, Max_Medium_Chars, Medium_Header);
        if ((shape.shortRow || shape.medium) && shape.chars <= was) {
            m_liveChars -= was - shape.chars;
            m_rows[size_t(at)] = writeShared(texts, old.at, shape.medium);
            packIfWasteful();
            return;
        }
        m_liveChars -= was;
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
                m_liveChars -= sharedChars(m_rows[r]);
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
    return qint64(m_rows.capacity() * sizeof(Entry)) + m_heldChars * qint64(sizeof(char16_t))
        + qint64(m_blocks.capacity() * sizeof(Block)) + m_longChars * qint64(sizeof(char16_t))
        + qint64(m_long.capacity() * sizeof(m_long[0])) + qint64(m_freeLong.capacity() * sizeof(uint32_t));
}

void BarcodeRowStore::packIfWasteful()
{
    const qint64 unused = m_heldChars - m_liveChars;
    if (unused <= std::max(m_liveChars / 2, 4 * Block_Chars))
        return;
    BarcodeRowStore packed;
    // Room for what is there and what may come, not for rows long gone.
    packed.reserve(int(std::max(m_rows.size(), std::min(m_rows.capacity(), 2 * m_rows.size() + 1024))));
    packed.reserveChars(m_liveChars);
    // The rows of blocks of their own stay where they are.
    packed.m_long = std::move(m_long);
    packed.m_freeLong = std::move(m_freeLong);
    packed.m_longChars = m_longChars;
    for (const Entry& e : m_rows) {
        Entry copy = e;
        const qint64 n = sharedChars(e);
        if (n > 0) {
            uint32_t at = 0;
            if (!packed.take(n, &at)) {
                QStringView texts[4];
                for (int k = 0; k < 4; ++k)
                    texts[k] = text(int(&e - m_rows.data()), k);
                packed.m_rows.push_back(packed.writeLong(texts));
                continue;
            }
            std::memcpy(packed.shortChars(at), shortChars(e.at), size_t(n) * sizeof(char16_t));
            copy.at = at;
            packed.m_liveChars += n;
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

QStringView BarcodeRowsView::text(int row, int column) const
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
