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

bool Check_PQ_Number(const QString& text)
{
    const QString t = Trim_Str(text);
    if (t.isEmpty() || t.size() > 3)
        return true;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return true;
    return t.toInt() < 1;
}

int PQ_Value(const QString& text)
{
    // The leading integer of the trimmed text, as a number reader takes it.
    const QString t = Trim_Str(text);
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

int Row_Copies(const QString& pq)
{
    return std::max(1, PQ_Value(pq));
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

BarcodeListModel::BarcodeListModel(QObject* parent) : QAbstractTableModel(parent) {}

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
    const QString& text = Barcode_Row_Text(rows()[size_t(index.row())], index.column());
    switch (role) {
    case Qt::DisplayRole:
        if (text.size() > Display_Limit)
            return QString(text.left(Display_Limit) + QChar(0x2026));
        return text;
    case Qt::EditRole:
        return text;
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
    Barcode_Row_Text(writableRows()[size_t(index.row())], index.column()) = text;
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
        *row = rows()[size_t(index)];
    return true;
}

QList<QMap<QString, QString>> BarcodeListModel::toMapList() const
{
    QList<QMap<QString, QString>> list;
    list.reserve(count());
    const QString k0 = Barcode_Row_Key(0), k1 = Barcode_Row_Key(1), k2 = Barcode_Row_Key(2), k3 = Barcode_Row_Key(3);
    for (const BarcodeRow& r : rows())
        list.append(QMap<QString, QString>{{k0, r.Value}, {k1, r.Header}, {k2, r.Footer}, {k3, r.PQ}});
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
    std::vector<BarcodeRow>& stored = writableRows();
    stored.insert(stored.begin() + index, std::move(row));
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
    writableRows()[size_t(index)] = std::move(row);
    rowsChangedAt(index, index);
    return true;
}

std::vector<BarcodeRow>& BarcodeListModel::writableRows()
{
    // Only this thread makes snapshots, so a count of one stays one.
    if (m_rows.use_count() > 1)
        m_rows = std::make_shared<std::vector<BarcodeRow>>(*m_rows);
    return *m_rows;
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
    std::vector<BarcodeRow>& stored = writableRows();
    size_t w = 0;
    for (size_t r = 0; r < stored.size(); ++r)
        if (!gone[r])
            stored[w++] = std::move(stored[r]);
    stored.resize(w);
    endResetModel();
    emit countChanged(count());
    return largest;
}

bool BarcodeListModel::Is_Blank_Row(const BarcodeRow& row)
{
    if (!Trim_Str(row.Value).isEmpty() || !Trim_Str(row.Header).isEmpty() || !Trim_Str(row.Footer).isEmpty())
        return false;
    const QString pq = Trim_Str(row.PQ);
    return pq.isEmpty() || pq == QLatin1String("1");
}

bool BarcodeListModel::Has_Blank_Row() const
{
    return std::any_of(rows().begin(), rows().end(), Is_Blank_Row);
}

int BarcodeListModel::Remove_Blank_Rows()
{
    const int before = count();
    if (!Has_Blank_Row())
        return 0;
    beginResetModel();
    std::vector<BarcodeRow>& stored = writableRows();
    stored.erase(std::remove_if(stored.begin(), stored.end(), Is_Blank_Row), stored.end());
    endResetModel();
    emit countChanged(count());
    return before - count();
}

void BarcodeListModel::Remove_All_Rows()
{
    if (isEmpty())
        return;
    beginResetModel();
    // The storage goes too: an emptied list of a million rows holds nothing.
    m_rows = std::make_shared<std::vector<BarcodeRow>>();
    endResetModel();
    emit countChanged(0);
}

void BarcodeListModel::Clear_Column(int column)
{
    const bool flagged = column == 3 || column < 0;
    for (BarcodeRow& row : writableRows()) {
        if (column < 0)
            row = BarcodeRow();
        else
            Barcode_Row_Text(row, column).clear();
        Normalise_Replaced_Row(row, flagged);
    }
    if (!isEmpty())
        rowsChangedAt(0, count() - 1);
}

bool BarcodeListModel::Move_And_Replace_List_Item(int from, int to)
{
    if (from < 0 || to < 0 || from >= count() || to >= count())
        return false;
    const BarcodeRow source = rows()[size_t(from)];
    const BarcodeRow target = rows()[size_t(to)];
    Replace_Item_List(source.Value, source.Header, source.Footer, source.PQ, to);
    Replace_Item_List(target.Value, target.Header, target.Footer, target.PQ, from);
    return true;
}

void BarcodeListModel::Load_Rows(const std::vector<BarcodeRow>& rows)
{
    beginResetModel();
    auto loaded = std::make_shared<std::vector<BarcodeRow>>();
    loaded->reserve(std::min<size_t>(rows.size(), Barcode_List_Max_Rows));
    for (BarcodeRow row : rows) {
        if (loaded->size() >= size_t(Barcode_List_Max_Rows))
            break;
        if (Normalise_New_Row(row))
            loaded->push_back(std::move(row));
    }
    m_rows = std::move(loaded);
    endResetModel();
    emit countChanged(count());
}

void BarcodeListModel::Reserve_Rows(int count)
{
    if (count > int(m_rows->capacity()))
        writableRows().reserve(size_t(std::min(count, Barcode_List_Max_Rows)));
}

int BarcodeListModel::Apply_Import_Rows(std::vector<BarcodeRow> rows, int* index, int previousCount, bool normalised)
{
    int placed = 0;
    int firstReplaced = -1, lastReplaced = -1;
    std::vector<BarcodeRow> appended;
    appended.reserve(rows.size());
    int pos = *index;
    for (BarcodeRow& row : rows) {
        if ((normalised ? row.Value : Trim_Str(row.Value)) == Barcode_List_Separator())
            continue;
        if (pos < previousCount && pos < count()) {
            Normalise_Replaced_Row(row);
            writableRows()[size_t(pos)] = std::move(row);
            if (firstReplaced < 0)
                firstReplaced = pos;
            lastReplaced = pos;
        } else {
            if (count() + int(appended.size()) >= Barcode_List_Max_Rows)
                break;
            if (!normalised)
                Normalise_New_Row(row);
            appended.push_back(std::move(row));
        }
        ++pos;
        ++placed;
    }
    *index = pos;
    if (firstReplaced >= 0)
        rowsChangedAt(firstReplaced, lastReplaced);
    if (!appended.empty()) {
        const int first = count();
        beginInsertRows(QModelIndex(), first, first + int(appended.size()) - 1);
        std::vector<BarcodeRow>& stored = writableRows();
        stored.insert(stored.end(), std::make_move_iterator(appended.begin()), std::make_move_iterator(appended.end()));
        endInsertRows();
        emit countChanged(count());
    }
    return placed;
}
