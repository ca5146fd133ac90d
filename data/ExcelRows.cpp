#include "data/ExcelRows.h"

#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"

QString Excel_Column_Key(int column)
{
    return column == 0 ? QStringLiteral("Extension") : QStringLiteral("Column%1").arg(column);
}

Excel_Rows::Excel_Rows() : m_titles{Excel_Row_Number_Title} {}

int Excel_Rows::rowCount() const
{
    QMutexLocker lock(&m_lock);
    return int(m_rows.size());
}

int Excel_Rows::columnCount() const
{
    QMutexLocker lock(&m_lock);
    return int(m_titles.size());
}

QStringList Excel_Rows::columnTitles() const
{
    QMutexLocker lock(&m_lock);
    return m_titles;
}

QList<ExcelRow> Excel_Rows::ListData() const
{
    QMutexLocker lock(&m_lock);
    return m_rows;
}

ExcelRow Excel_Rows::row(int r) const
{
    QMutexLocker lock(&m_lock);
    return r >= 0 && r < m_rows.size() ? m_rows.at(r) : ExcelRow();
}

bool Excel_Rows::Create_List_By_Array(const QStringList& cells, int count)
{
    if (count < 0 || cells.size() < count) {
        Show_NSLog_Message(QStringLiteral("A spreadsheet row has %1 cells where %2 were expected.")
                               .arg(cells.size())
                               .arg(count));
        return false;
    }
    QMutexLocker lock(&m_lock);
    ExcelRow row;
    row.insert(Excel_Column_Key(0), QString::number(m_rows.size() + 1));
    for (int i = 1; i <= count; ++i)
        row.insert(Excel_Column_Key(i), Trim_Str(cells.at(i - 1)));
    m_rows << row;
    ++m_revision;
    return true;
}

QString Excel_Rows::Get_Item_Text(int r, int col) const
{
    QMutexLocker lock(&m_lock);
    if (r < 0 || r >= m_rows.size()) {
        Show_NSLog_Message(QStringLiteral("No spreadsheet row %1.").arg(r));
        return QStringLiteral("");
    }
    if (col < 0)
        return QStringLiteral("");
    return m_rows.at(r).value(Excel_Column_Key(col), QStringLiteral(""));
}

bool Excel_Rows::setValue(int r, const QString& key, const QString& value)
{
    QMutexLocker lock(&m_lock);
    if (r < 0 || r >= m_rows.size()) {
        Show_NSLog_Message(QStringLiteral("No spreadsheet row %1.").arg(r));
        return false;
    }
    m_rows[r].insert(key, value);
    ++m_revision;
    return true;
}

void Excel_Rows::Clear_Rows()
{
    QMutexLocker lock(&m_lock);
    m_rows.clear();
    ++m_revision;
}

void Excel_Rows::Set_Columns(const QStringList& chosenTitles)
{
    QMutexLocker lock(&m_lock);
    m_titles = QStringList{Excel_Row_Number_Title} + chosenTitles;
    ++m_revision;
}

void Excel_Rows::Fill_From_Columns(const QStringList& chosenTitles, const SheetTable& table,
                                   const QList<int>& chosenColumns, int firstRow)
{
    Set_Columns(chosenTitles);
    Clear_Rows();
    const int count = int(chosenColumns.size());
    for (qsizetype r = qMax(firstRow, 0); r < table.size(); ++r) {
        const QStringList& source = table.at(r);
        QStringList cells;
        cells.reserve(count);
        for (int c : chosenColumns)
            cells << (c >= 0 && c < source.size() ? source.at(c) : QString());
        Create_List_By_Array(cells, count);
    }
}

void Excel_Rows::Restore(const QStringList& allTitles, const QList<ExcelRow>& rows)
{
    QMutexLocker lock(&m_lock);
    m_titles = QStringList{Excel_Row_Number_Title} + allTitles.mid(1);
    m_rows = rows;
    ++m_revision;
}

quint64 Excel_Rows::revision() const
{
    QMutexLocker lock(&m_lock);
    return m_revision;
}
