#pragma once
// Rows of four texts (value, header, footer, print quantity) kept packed: a
// row takes what its characters take and 8 bytes beside them. The characters
// of a row lie one after another in blocks shared by many rows, a byte a
// character when they are all Latin-1 (as a list of codes and numbers is),
// else two; the row itself is where they start and how long each text is (a
// byte each for texts of up to 253 characters). The quantity "1", which
// nearly every row holds, takes no room at all. A million rows of a
// ten-character value hold about 18 MB, where four strings of their own a
// row would take four heap blocks with their headers and rounding.
//
// Rows with a longer text keep their lengths before their texts, in UTF-16:
// in the shared blocks up to a quarter of a block, in a block of their own
// beyond. A row rewritten with texts that take no more room than before is
// rewritten where it lies; otherwise it takes new room, and the blocks are
// packed afresh once the room given up outweighs half of what is in use.
#include <QAnyStringView>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

struct BarcodeRow {
    QString Value;
    QString Header;
    QString Footer;
    QString PQ;
    bool operator==(const BarcodeRow&) const = default;
};

// A text of a row in UTF-16: the view itself when it is, else its
// characters copied into `buffer` (no heap for a short text).
QStringView Utf16_Of(QAnyStringView text, QVarLengthArray<char16_t, 64>& buffer);

class BarcodeRowStore {
public:
    BarcodeRowStore() = default;
    // A copy is packed (it holds no room the original gave up).
    BarcodeRowStore(const BarcodeRowStore& other);
    BarcodeRowStore& operator=(const BarcodeRowStore& other);
    BarcodeRowStore(BarcodeRowStore&& other) noexcept;
    BarcodeRowStore& operator=(BarcodeRowStore&& other) noexcept;
    ~BarcodeRowStore();

    int size() const { return int(m_rows.size()); }
    bool empty() const { return m_rows.empty(); }
    // A text of a row (0 value, 1 header, 2 footer, 3 quantity), Latin-1 or
    // UTF-16 as it is kept; the view holds until the store next changes.
    // Rows and columns must exist.
    QAnyStringView text(int row, int column) const
    {
        const Entry& e = m_rows[size_t(row)];
        if (e.len[0] > Max_Short)
            return wideText(e, column);
        if (column == 3 && e.len[3] == Quantity_One)
            return QStringView(u"1");
        const qsizetype n = e.len[column];
        if (n == 0)
            return QStringView();
        const qsizetype from = qsizetype(column > 0 ? e.len[0] : 0) + (column > 1 ? e.len[1] : 0)
            + (column > 2 ? e.len[2] : 0);
        const char* p = sharedBytes(e.at);
        if (e.at & Latin1_Row)
            return QLatin1StringView(p + from, n);
        return QStringView(reinterpret_cast<const char16_t*>(p) + from, n);
    }
    // The row as four strings of its own.
    BarcodeRow row(int row) const;

    void append(QStringView value, QStringView header, QStringView footer, QStringView pq);
    void append(const BarcodeRow& row) { append(row.Value, row.Header, row.Footer, row.PQ); }
    // Appends the first `count` rows of another store.
    void append(const BarcodeRowStore& rows, int count);
    void insert(int at, const BarcodeRow& row);
    void replace(int at, const BarcodeRow& row);
    // Removes the rows whose flag is set (flags past the end keep theirs);
    // answers how many went.
    int remove(const std::vector<char>& gone);
    // Empties the store and gives its room back.
    void clear();
    void reserve(int rows) { m_rows.reserve(size_t(std::max(0, rows))); }
    // Makes ready for about `chars` characters of rows to come.
    void reserveChars(qint64 chars);
    int capacity() const { return int(m_rows.capacity()); }

    // Bytes the store holds now (its rows and blocks, not the allocator's own).
    qint64 heldBytes() const;

    // UTF-16 characters of a full shared block; a row of more than a quarter
    // of it gets a block of its own.
    static constexpr qsizetype Block_Chars = qsizetype(1) << 17;

private:
    // Where a row's characters start and the lengths of its four texts.
    // Lengths up to Max_Short: the texts lie one after another at `at` in
    // the shared blocks (block (`at` & ~Latin1_Row) >> Block_Bits, from byte
    // `at` & Offset_Mask), a byte a character when `at` has Latin1_Row;
    // Quantity_One as the quantity's length: the quantity is "1" and not
    // stored. Medium_Row as the value's length: four 16-bit lengths lie at
    // `at`, the UTF-16 texts after them. Long_Row: the row has a block of
    // its own, m_long[at], four 32-bit lengths and then the texts.
    struct Entry {
        uint32_t at;
        uint8_t len[4];
    };
    static constexpr uint8_t Max_Short = 0xFD;
    static constexpr uint8_t Quantity_One = 0xFE;
    static constexpr uint8_t Medium_Row = 0xFE;
    static constexpr uint8_t Long_Row = 0xFF;
    static constexpr uint32_t Latin1_Row = uint32_t(1) << 31;
    static constexpr int Block_Bits = 18;                      // bytes of a full block: 2 x Block_Chars
    static constexpr qint64 Block_Bytes = qint64(1) << Block_Bits;
    static constexpr uint32_t Offset_Mask = uint32_t(Block_Bytes) - 1;
    static constexpr size_t Max_Blocks = size_t(1) << (31 - Block_Bits);
    static constexpr qint64 Medium_Header = 4;                 // 16-bit lengths, in characters
    static constexpr qint64 Long_Header = 8;                   // 32-bit lengths, in characters
    static constexpr qint64 Max_Medium_Chars = Block_Chars / 4;
    static constexpr qint64 Max_Row_Chars = 0xFFFFFFFFLL - Long_Header;

    struct Block {
        std::unique_ptr<char[]> bytes;
        qint64 capacity = 0;
    };

    const char* sharedBytes(uint32_t at) const
    {
        return m_blocks[(at & ~Latin1_Row) >> Block_Bits].bytes.get() + (at & Offset_Mask);
    }
    char* sharedBytes(uint32_t at)
    {
        return m_blocks[(at & ~Latin1_Row) >> Block_Bits].bytes.get() + (at & Offset_Mask);
    }
    QAnyStringView wideText(const Entry& e, int column) const;
    // Bytes a row takes in the shared blocks (0 for a long row).
    qint64 sharedBytesOf(const Entry& e) const;

    // Room for `n` bytes in the shared blocks, at an even byte when `even`;
    // false when they are full.
    bool take(qint64 n, bool even, uint32_t* at);
    Entry write(QStringView texts[4]);
    // Writes the row at `at` in the shared blocks: short (Latin-1 or
    // UTF-16) or medium.
    Entry writeShared(QStringView texts[4], uint32_t at, bool medium, bool latin1);
    Entry writeLong(QStringView texts[4]);
    void releaseLong(const Entry& e);
    // Appends a row of another store as its texts (the texts of a long row,
    // or of one the shared blocks have no room for).
    void appendTexts(const BarcodeRowStore& from, int row);
    // Packs the blocks afresh when more than half of them lies unused.
    void packIfWasteful();

    std::vector<Entry> m_rows;
    std::vector<Block> m_blocks;
    qint64 m_used = 0;           // bytes used of the last block
    qint64 m_heldBytes = 0;      // in all shared blocks
    qint64 m_liveBytes = 0;      // in rows, in the shared blocks
    std::vector<std::unique_ptr<char16_t[]>> m_long;
    std::vector<uint32_t> m_freeLong;   // slots of m_long given back
    qint64 m_longChars = 0;
};

// The rows of a list as a value: what the list held when it was taken,
// whatever the list does next (it shares the list's storage until the list
// changes). Reading a row gives a BarcodeRow of its own.
class BarcodeRowsView {
public:
    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = BarcodeRow;
        using difference_type = std::ptrdiff_t;
        using reference = BarcodeRow;
        using pointer = void;
        const_iterator() = default;
        const_iterator(const BarcodeRowStore* store, int row) : m_store(store), m_row(row) {}
        BarcodeRow operator*() const { return m_store->row(m_row); }
        const_iterator& operator++()
        {
            ++m_row;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator was = *this;
            ++m_row;
            return was;
        }
        bool operator==(const const_iterator& o) const { return m_row == o.m_row; }

    private:
        const BarcodeRowStore* m_store = nullptr;
        int m_row = 0;
    };
    using iterator = const_iterator;
    using value_type = BarcodeRow;
    using size_type = size_t;

    BarcodeRowsView() = default;
    explicit BarcodeRowsView(std::shared_ptr<const BarcodeRowStore> store) : m_store(std::move(store)) {}
    // Rows held elsewhere, packed into a store of the view's own.
    BarcodeRowsView(const std::vector<BarcodeRow>& rows);

    size_t size() const { return m_store ? size_t(m_store->size()) : 0; }
    bool empty() const { return size() == 0; }
    // A row; an empty one past the rows.
    BarcodeRow operator[](size_t row) const;
    BarcodeRow front() const { return (*this)[0]; }
    BarcodeRow back() const { return empty() ? BarcodeRow() : (*this)[size() - 1]; }
    // A text of a row without copying it ("" past the rows).
    QAnyStringView text(int row, int column) const;
    const_iterator begin() const { return {m_store.get(), 0}; }
    const_iterator end() const { return {m_store.get(), int(size())}; }

    std::vector<BarcodeRow> toVector() const;
    operator std::vector<BarcodeRow>() const { return toVector(); }
    bool operator==(const std::vector<BarcodeRow>& rows) const;

private:
    std::shared_ptr<const BarcodeRowStore> m_store;
};
