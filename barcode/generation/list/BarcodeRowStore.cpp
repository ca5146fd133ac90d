#include "barcode/generation/list/BarcodeRowStore.h"

#include <cstring>

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
    : m_rows(std::move(other.m_rows)), m_blocks(std::move(other.m_blocks)), m_next(other.m_next),
      m_free(other.m_free), m_heldChars(other.m_heldChars), m_liveChars(other.m_liveChars)
{
    other.m_rows.clear();
    other.m_blocks.clear();
    other.m_next = nullptr;
    other.m_free = other.m_heldChars = other.m_liveChars = 0;
}

BarcodeRowStore& BarcodeRowStore::operator=(BarcodeRowStore&& other) noexcept
{
    if (this != &other) {
        m_rows = std::move(other.m_rows);
        m_blocks = std::move(other.m_blocks);
        m_next = other.m_next;
        m_free = other.m_free;
        m_heldChars = other.m_heldChars;
        m_liveChars = other.m_liveChars;
        other.m_rows.clear();
        other.m_blocks.clear();
        other.m_next = nullptr;
        other.m_free = other.m_heldChars = other.m_liveChars = 0;
    }
    return *this;
}

BarcodeRowStore::~BarcodeRowStore() = default;

BarcodeRow BarcodeRowStore::row(int row) const
{
    return {text(row, 0).toString(), text(row, 1).toString(), text(row, 2).toString(), text(row, 3).toString()};
}

void BarcodeRowStore::reserveChars(qint64 chars)
{
    if (chars <= m_free)
        return;
    const qint64 n = std::max<qint64>(chars, Block_Chars);
    m_blocks.emplace_back(new char16_t[size_t(n)]);
    m_heldChars += n;
    m_next = m_blocks.back().get();
    m_free = n;
}

char16_t* BarcodeRowStore::take(qint64 n)
{
    if (n <= 0)
        return nullptr;
    if (n > Block_Chars / 4) {
        // A long row: a block of its own, and the shared block goes on.
        m_blocks.emplace_back(new char16_t[size_t(n)]);
        m_heldChars += n;
        return m_blocks.back().get();
    }
    // What is left of the last block stays unused (a row never spans two).
    reserveChars(n);
    char16_t* at = m_next;
    m_next += n;
    m_free -= n;
    return at;
}

qint64 BarcodeRowStore::stored(const Entry& e)
{
    if (e.end[3] != Long_Row)
        return e.end[3];
    uint32_t ends[4];
    std::memcpy(ends, e.chars, sizeof ends);
    return qint64(ends[3]) + Long_Header;
}

QStringView BarcodeRowStore::longText(const Entry& e, int column)
{
    uint32_t ends[4];
    std::memcpy(ends, e.chars, sizeof ends);
    const uint32_t from = column == 0 ? 0 : ends[column - 1];
    return QStringView(e.chars + Long_Header + from, qsizetype(ends[column] - from));
}

BarcodeRowStore::Entry BarcodeRowStore::write(QStringView texts[4], char16_t* at)
{
    qint64 total = 0;
    for (int k = 0; k < 4; ++k)
        total += texts[k].size();
    const bool longRow = total >= Long_Row;
    char16_t* const chars = longRow ? at + Long_Header : at;
    Entry e{at, {}};
    uint32_t ends[4];
    uint32_t end = 0;
    for (int k = 0; k < 4; ++k) {
        if (!texts[k].isEmpty())
            std::memcpy(chars + end, texts[k].utf16(), size_t(texts[k].size()) * sizeof(char16_t));
        end += uint32_t(texts[k].size());
        ends[k] = end;
        e.end[k] = uint16_t(std::min<uint32_t>(end, Long_Row));
    }
    if (longRow) {
        std::memcpy(at, ends, sizeof ends);
        e.end[3] = Long_Row;
    }
    return e;
}

BarcodeRowStore::Entry BarcodeRowStore::write(QStringView texts[4])
{
    // Four texts of a row cannot reach 4 G characters in any memory this
    // program runs in; were it ever so, the texts are cut rather than wrapped.
    qint64 total = 0;
    for (int k = 0; k < 4; ++k) {
        texts[k] = texts[k].first(std::min<qint64>(texts[k].size(), Max_Row_Chars - total));
        total += texts[k].size();
    }
    m_liveChars += stored(total);
    return write(texts, take(stored(total)));
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
        const qint64 total = stored(from);
        char16_t* at = take(total);
        if (total > 0)
            std::memcpy(at, from.chars, size_t(total) * sizeof(char16_t));
        m_liveChars += total;
        Entry e = from;
        e.chars = at;
        m_rows.push_back(e);
    }
}

void BarcodeRowStore::insert(int at, const BarcodeRow& row)
{
    QStringView texts[4] = {row.Value, row.Header, row.Footer, row.PQ};
    m_rows.insert(m_rows.begin() + at, write(texts));
}

void BarcodeRowStore::replace(int at, const BarcodeRow& row)
{
    Entry& old = m_rows[size_t(at)];
    const qint64 total = qint64(row.Value.size()) + row.Header.size() + row.Footer.size() + row.PQ.size();
    QStringView texts[4] = {row.Value, row.Header, row.Footer, row.PQ};
    const qint64 was = stored(old);
    if (total > 0 && stored(total) <= was) {
        // The row fits where it lies.
        m_liveChars -= was - stored(total);
        old = write(texts, old.chars);
    } else {
        m_liveChars -= was;
        old = write(texts);
    }
    packIfWasteful();
}

int BarcodeRowStore::remove(const std::vector<char>& gone)
{
    size_t w = 0;
    for (size_t r = 0; r < m_rows.size(); ++r) {
        if (r < gone.size() && gone[r])
            m_liveChars -= stored(m_rows[r]);
        else
            m_rows[w++] = m_rows[r];
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
        + qint64(m_blocks.capacity() * sizeof(m_blocks[0]));
}

void BarcodeRowStore::packIfWasteful()
{
    const qint64 unused = m_heldChars - m_liveChars;
    if (unused <= std::max(m_liveChars / 2, 4 * Block_Chars))
        return;
    BarcodeRowStore packed;
    // Room for what is there and what may come, not for rows long gone.
    packed.reserve(int(std::max(m_rows.size(), std::min(m_rows.capacity(), 2 * m_rows.size() + 1024))));
    packed.append(*this, size());
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
