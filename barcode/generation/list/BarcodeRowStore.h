#pragma once
// Rows of four texts (value, header, footer, print quantity) kept packed:
// the characters of a row lie one after another in large blocks of UTF-16,
// and the row itself is a pointer and four 16-bit ends (16 bytes). A million
// rows of four short texts hold about 16 bytes a row beside their characters,
// where four strings of their own would cost four heap blocks with their
// headers and rounding.
//
// A row rewritten with texts no longer than before is rewritten where it
// lies; a longer one takes new space, and the blocks are packed afresh once
// the space given up outweighs half of what is in use.
#include <QString>
#include <QStringView>

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

class BarcodeRowStore {
public:
    BarcodeRowStore() = default;
    // A copy is packed (it holds no space the original gave up).
    BarcodeRowStore(const BarcodeRowStore& other);
    BarcodeRowStore& operator=(const BarcodeRowStore& other);
    BarcodeRowStore(BarcodeRowStore&& other) noexcept;
    BarcodeRowStore& operator=(BarcodeRowStore&& other) noexcept;
    ~BarcodeRowStore();

    int size() const { return int(m_rows.size()); }
    bool empty() const { return m_rows.empty(); }
    // A text of a row (0 value, 1 header, 2 footer, 3 quantity); the view
    // holds until the store next changes. Rows and columns must exist.
    QStringView text(int row, int column) const
    {
        const Entry& e = m_rows[size_t(row)];
        if (e.end[3] == Long_Row)
            return longText(e, column);
        const uint16_t from = column == 0 ? 0 : e.end[column - 1];
        return QStringView(e.chars + from, qsizetype(e.end[column] - from));
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
    // Empties the store and gives its space back.
    void clear();
    void reserve(int rows) { m_rows.reserve(size_t(std::max(0, rows))); }
    // Makes room in one block for about `chars` characters of short rows to
    // come (one allocation where rows appended one by one would take many).
    void reserveChars(qint64 chars);
    int capacity() const { return int(m_rows.capacity()); }

    // Bytes the store holds now (its rows and blocks, not the allocator's own).
    qint64 heldBytes() const;

    // Characters of one block; a row longer than a quarter of it gets a block
    // of its own.
    static constexpr qsizetype Block_Chars = qsizetype(1) << 17;

private:
    // A row of fewer than Long_Row characters: where each text ends, from
    // `chars`. A longer row (always in a block of its own) has Long_Row as
    // its last end; its four ends lie as 32-bit numbers in the first
    // Long_Header characters at `chars`, its texts after them.
    struct Entry {
        char16_t* chars;
        uint16_t end[4];
    };
    static constexpr uint16_t Long_Row = 0xFFFF;
    static constexpr qint64 Long_Header = 4 * qint64(sizeof(uint32_t)) / qint64(sizeof(char16_t));
    static constexpr qint64 Max_Row_Chars = 0xFFFFFFFFLL - Long_Header;

    // Characters a row of `total` takes in its block, and those an entry takes.
    static qint64 stored(qint64 total) { return total >= Long_Row ? total + Long_Header : total; }
    static qint64 stored(const Entry& e);
    static QStringView longText(const Entry& e, int column);

    // Space for `n` characters (null for none).
    char16_t* take(qint64 n);
    Entry write(QStringView texts[4]);
    Entry write(QStringView texts[4], char16_t* at);
    // Packs the blocks afresh when more than half of them lies unused.
    void packIfWasteful();

    std::vector<Entry> m_rows;
    std::vector<std::unique_ptr<char16_t[]>> m_blocks;
    char16_t* m_next = nullptr;  // the free end of the last block of Block_Chars
    qint64 m_free = 0;
    qint64 m_heldChars = 0;      // in all blocks
    qint64 m_liveChars = 0;      // in rows
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
    QStringView text(int row, int column) const;
    const_iterator begin() const { return {m_store.get(), 0}; }
    const_iterator end() const { return {m_store.get(), int(size())}; }

    std::vector<BarcodeRow> toVector() const;
    operator std::vector<BarcodeRow>() const { return toVector(); }
    bool operator==(const std::vector<BarcodeRow>& rows) const;

private:
    std::shared_ptr<const BarcodeRowStore> m_store;
};
