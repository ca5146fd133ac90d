#include "barcode/generation/list/BarcodeList.h"

#include "core/util/Helpers.h"

#include <algorithm>


namespace {

const char* const kKeys[4] = {"Value", "Header", "Footer", "PQ"};

} // namespace

QString Barcode_Row_Key(int column)
{
    return column >= 0 && column < 4 ? QString::fromLatin1(kKeys[column]) : QString();
}

const QString& Barcode_Row_Text(const BarcodeRow& row, int column)
{
    switch (column) {
    case 0: return row.Value;
    case 1: return row.Header;
    case 2: return row.Footer;
    default: return row.PQ;
    }
}

QString& Barcode_Row_Text(BarcodeRow& row, int column)
{
    switch (column) {
    case 0: return row.Value;
    case 1: return row.Header;
    case 2: return row.Footer;
    default: return row.PQ;
    }
}

bool Check_PQ_Number(QStringView text)
{
    const QStringView t = Trim_View(text);
    if (t.isEmpty() || t.size() > 3)
        return true;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return true;
    return t.toInt() < 1;
}

int PQ_Value(QStringView text)
{
    // The leading integer of the trimmed text, as a number reader takes it.
    const QStringView t = Trim_View(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        negative = t[i++] == QLatin1Char('-');
    long long v = 0;
    for (; i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9'); ++i) {
        v = v * 10 + (t[i].unicode() - '0');
        if (v > 1000000000)
            break;
    }
    return int(negative ? -v : v);
}

int Row_Copies(QStringView pq)
{
    return std::max(1, PQ_Value(pq));
}

int Row_Copies(QAnyStringView pq)
{
    QVarLengthArray<char16_t, 64> buffer;
    return Row_Copies(Utf16_Of(pq, buffer));
}

const QString& Barcode_List_Separator()
{
    static const QString line(76, QLatin1Char('='));
    return line;
}

BarcodeRow Default_Barcode_Row()
{
    return {QStringLiteral("123456789012"), QStringLiteral("Header"), QStringLiteral("Footer"), QStringLiteral("1")};
}

BarcodeListModel::BarcodeListModel(QObject* parent)
    : QAbstractTableModel(parent), m_rows(std::make_shared<BarcodeRowStore>())
{
}

BarcodeRowStore& BarcodeListModel::store()
{
    // Only this thread makes new views of the store, so a count of one
    // means no view is left that could see the change.
    if (m_rows.use_count() > 1)
        m_rows = std::make_shared<BarcodeRowStore>(*m_rows);
    return *m_rows;
}

int BarcodeListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

int BarcodeListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant BarcodeListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= count() || index.column() < 0
        || index.column() > 3)
        return {};
    const QAnyStringView text = m_rows->text(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        if (text.size() > Display_Limit)
            return text.toString().left(Display_Limit) + QChar(0x2026);
        return text.toString();
    case Qt::EditRole:
        return text.toString();
    case Qt::ToolTipRole:
        return text.size() > Display_Limit ? QVariant(QStringLiteral("%1 characters").arg(text.size())) : QVariant();
    default:
        return {};
    }
}

bool BarcodeListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() < 0 || index.row() >= count()
        || index.column() < 0 || index.column() > 3)
        return false;
    QString text = value.toString();
    // A quantity typed into its cell follows the quantity rule.
    if (index.column() == 3 && Check_PQ_Number(text))
        text = QStringLiteral("1");
    BarcodeRow row = m_rows->row(index.row());
    Barcode_Row_Text(row, index.column()) = text;
    store().replace(index.row(), row);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags BarcodeListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QVariant BarcodeListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole)
            return section + 1;
        return {};
    }
    if (section < 0 || section > 3)
        return {};
    if (role == Column_Key_Role)
        return Barcode_Row_Key(section);
    if (role == Qt::DisplayRole) {
        static const char* const titles[4] = {"Value", "Header", "Footer", "Print Qty"};
        return tr(titles[section]);
    }
    return {};
}

bool BarcodeListModel::rowAt(int index, BarcodeRow* row) const
{
    if (index < 0 || index >= count())
        return false;
    if (row)
        *row = m_rows->row(index);
    return true;
}

QAnyStringView BarcodeListModel::textAt(int index, int column) const
{
    if (index < 0 || index >= count() || column < 0 || column > 3)
        return {};
    return m_rows->text(index, column);
}

QList<QMap<QString, QString>> BarcodeListModel::toMapList() const
{
    QList<QMap<QString, QString>> list;
    list.reserve(count());
    const QString k0 = Barcode_Row_Key(0), k1 = Barcode_Row_Key(1), k2 = Barcode_Row_Key(2), k3 = Barcode_Row_Key(3);
    for (int i = 0; i < count(); ++i) {
        const BarcodeRow r = m_rows->row(i);
        list.append(QMap<QString, QString>{{k0, r.Value}, {k1, r.Header}, {k2, r.Footer}, {k3, r.PQ}});
    }
    return list;
}

// ---------------------------------------------------------------- row operations

namespace {
// Trims a text where it stands (most need nothing, and are not touched).
void trimInPlace(QString& text)
{
    if (!Is_Trimmed(text))
        text = Trim_Str(text);
}

// True when trimming leaves the text empty. Trimming takes only white space
// and control characters, so a text holding any other character is decided
// without making a string.
bool Trims_To_Empty(QStringView text)
{
    for (QChar c : text)
        if (!c.isSpace() && c.category() != QChar::Other_Control && c.category() != QChar::Other_Format)
            return false;
    return Trim_Str(text.toString()).isEmpty();
}

bool Is_Blank(QStringView value, QStringView header, QStringView footer, QStringView pq);

// The same for texts as the list keeps them.
bool Is_Blank_Kept(QAnyStringView value, QAnyStringView header, QAnyStringView footer, QAnyStringView pq)
{
    QVarLengthArray<char16_t, 64> b[4];
    return Is_Blank(Utf16_Of(value, b[0]), Utf16_Of(header, b[1]), Utf16_Of(footer, b[2]), Utf16_Of(pq, b[3]));
}

bool Is_Blank(QStringView value, QStringView header, QStringView footer, QStringView pq)
{
    if (!Trims_To_Empty(value) || !Trims_To_Empty(header) || !Trims_To_Empty(footer))
        return false;
    if (pq.isEmpty() || pq == u"1")
        return true;
    const QString t = Trim_Str(pq.toString());
    return t.isEmpty() || t == QLatin1String("1");
}
} // namespace

bool BarcodeListModel::Normalise_New_Row(BarcodeRow& row)
{
    trimInPlace(row.Value);
    if (row.Value == Barcode_List_Separator())
        return false;
    trimInPlace(row.Header);
    trimInPlace(row.Footer);
    trimInPlace(row.PQ);
    if (Check_PQ_Number(row.PQ))
        row.PQ = QStringLiteral("1");
    return true;
}

bool BarcodeListModel::Normalise_New_Texts(QStringView texts[4])
{
    texts[0] = Trim_View(texts[0]);
    if (texts[0] == Barcode_List_Separator())
        return false;
    for (int k = 1; k < 4; ++k)
        texts[k] = Trim_View(texts[k]);
    if (Check_PQ_Number(texts[3]))
        texts[3] = QStringView(u"1");
    return true;
}

void BarcodeListModel::Normalise_Replaced_Row(BarcodeRow& row, bool clear_PQ_Flag)
{
    row.Value = Trim_Str(row.Value);
    row.Header = Trim_Str(row.Header);
    row.Footer = Trim_Str(row.Footer);
    row.PQ = Trim_Str(row.PQ);
    if (!clear_PQ_Flag) {
        if (Check_PQ_Number(row.PQ))
            row.PQ = QStringLiteral("1");
        // An empty row carries no quantity.
        if (row.Value.isEmpty() && row.Header.isEmpty() && row.Footer.isEmpty())
            row.PQ.clear();
    }
}

bool BarcodeListModel::Create_Item_List(const QString& value, const QString& header, const QString& footer,
                                        const QString& pq, int index)
{
    BarcodeRow row{value, header, footer, pq};
    if (!Normalise_New_Row(row) || count() >= Barcode_List_Max_Rows)
        return false;
    if (isEmpty())
        index = 0;
    if (index < 0 || index > count())
        return false;
    beginInsertRows(QModelIndex(), index, index);
    store().insert(index, row);
    endInsertRows();
    emit countChanged(count());
    return true;
}

bool BarcodeListModel::Replace_Item_List(const QString& value, const QString& header, const QString& footer,
                                         const QString& pq, int index)
{
    if (index < 0 || index >= count())
        return false;
    BarcodeRow row{value, header, footer, pq};
    Normalise_Replaced_Row(row);
    store().replace(index, row);
    rowsChangedAt(index, index);
    return true;
}

void BarcodeListModel::rowsChangedAt(int first, int last)
{
    if (first > last)
        return;
    emit dataChanged(this->index(first, 0), this->index(last, 3), {Qt::DisplayRole, Qt::EditRole});
}

// ---------------------------------------------------------------- whole-list changes

int BarcodeListModel::Remove_Rows(const QList<int>& indexes)
{
    std::vector<char> gone(size_t(count()), 0);
    int largest = -1;
    for (int i : indexes)
        if (i >= 0 && i < count()) {
            gone[size_t(i)] = 1;
            largest = std::max(largest, i);
        }
    if (largest < 0)
        return -1;
    beginResetModel();
    store().remove(gone);
    endResetModel();
    emit countChanged(count());
    return largest;
}

bool BarcodeListModel::Is_Blank_Row(const BarcodeRow& row)
{
    return Is_Blank(row.Value, row.Header, row.Footer, row.PQ);
}

bool BarcodeListModel::Has_Blank_Row() const
{
    const BarcodeRowStore& s = *m_rows;
    for (int i = 0; i < s.size(); ++i)
        if (Is_Blank_Kept(s.text(i, 0), s.text(i, 1), s.text(i, 2), s.text(i, 3)))
            return true;
    return false;
}

int BarcodeListModel::Remove_Blank_Rows()
{
    if (!Has_Blank_Row())
        return 0;
    const BarcodeRowStore& s = *m_rows;
    std::vector<char> gone(size_t(s.size()), 0);
    for (int i = 0; i < s.size(); ++i)
        gone[size_t(i)] = Is_Blank_Kept(s.text(i, 0), s.text(i, 1), s.text(i, 2), s.text(i, 3));
    beginResetModel();
    const int removed = store().remove(gone);
    endResetModel();
    emit countChanged(count());
    return removed;
}

void BarcodeListModel::Remove_All_Rows()
{
    if (isEmpty())
        return;
    beginResetModel();
    // The storage goes too: an emptied list of a million rows holds nothing.
    m_rows = std::make_shared<BarcodeRowStore>();
    endResetModel();
    emit countChanged(0);
}

void BarcodeListModel::Clear_Column(int column)
{
    const bool flagged = column == 3 || column < 0;
    BarcodeRowStore& s = store();
    for (int i = 0; i < s.size(); ++i) {
        BarcodeRow row;
        if (column >= 0) {
            row = s.row(i);
            Barcode_Row_Text(row, column).clear();
        }
        Normalise_Replaced_Row(row, flagged);
        s.replace(i, row);
    }
    if (!isEmpty())
        rowsChangedAt(0, count() - 1);
}

bool BarcodeListModel::Move_And_Replace_List_Item(int from, int to)
{
    if (from < 0 || to < 0 || from >= count() || to >= count())
        return false;
    const BarcodeRow source = m_rows->row(from);
    const BarcodeRow target = m_rows->row(to);
    Replace_Item_List(source.Value, source.Header, source.Footer, source.PQ, to);
    Replace_Item_List(target.Value, target.Header, target.Footer, target.PQ, from);
    return true;
}

void BarcodeListModel::Load_Rows(const std::vector<BarcodeRow>& rows)
{
    beginResetModel();
    auto loaded = std::make_shared<BarcodeRowStore>();
    loaded->reserve(int(std::min<size_t>(rows.size(), Barcode_List_Max_Rows)));
    for (BarcodeRow row : rows) {
        if (loaded->size() >= Barcode_List_Max_Rows)
            break;
        if (Normalise_New_Row(row))
            loaded->append(row);
    }
    m_rows = std::move(loaded);
    endResetModel();
    emit countChanged(count());
}

void BarcodeListModel::Reserve_Rows(int count)
{
    if (count > m_rows->capacity())
        store().reserve(std::min(count, Barcode_List_Max_Rows));
}

int BarcodeListModel::Apply_Import_Rows(std::vector<BarcodeRow> rows, int* index, int previousCount, bool normalised)
{
    int placed = 0;
    int firstReplaced = -1, lastReplaced = -1;
    BarcodeRowStore appended;
    int pos = *index;
    for (BarcodeRow& row : rows) {
        if ((normalised ? row.Value : Trim_Str(row.Value)) == Barcode_List_Separator())
            continue;
        if (pos < previousCount && pos < count()) {
            Normalise_Replaced_Row(row);
            store().replace(pos, row);
            if (firstReplaced < 0)
                firstReplaced = pos;
            lastReplaced = pos;
        } else {
            if (count() + appended.size() >= Barcode_List_Max_Rows)
                break;
            if (!normalised)
                Normalise_New_Row(row);
            appended.append(row);
        }
        ++pos;
        ++placed;
    }
    *index = pos;
    if (firstReplaced >= 0)
        rowsChangedAt(firstReplaced, lastReplaced);
    Append_Rows(appended);
    return placed;
}

int BarcodeListModel::Append_Rows(const BarcodeRowStore& rows)
{
    const int n = std::min(rows.size(), Barcode_List_Max_Rows - count());
    if (n <= 0)
        return 0;
    const int first = count();
    beginInsertRows(QModelIndex(), first, first + n - 1);
    store().append(rows, n);
    endInsertRows();
    emit countChanged(count());
    return n;
}
