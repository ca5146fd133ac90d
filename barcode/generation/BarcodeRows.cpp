#include "barcode/generation/BarcodeRows.h"

#include "barcode/engines/SymbologyTable.h"
#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/generation/BarcodeRoad.h"
#include "core/util/Helpers.h"

#include <algorithm>

namespace {

bool Is_Ascii(const QString& s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 128; });
}

} // namespace

Barcode_Rows::Barcode_Rows(const Batch_Row_Count& count, const BarcodeSettings& settings,
                           std::vector<Batch_Row_Texts> rows, std::vector<int> copies, const Batch_Row_Texts& typed)
    : Batch_Row_Source(count), m_settings(settings), m_rows(std::move(rows)), m_copies(std::move(copies)),
      m_typed(typed), m_twoD(Is_TwoD_Branch(settings))
{
}

Barcode_Rows::Barcode_Rows(const Batch_Row_Count& count, const BarcodeSettings& settings,
                           BarcodeRowsView list, const std::array<bool, 3>& fed,
                           const Batch_Row_Texts& typed)
    : Batch_Row_Source(count), m_settings(settings), m_list(std::move(list)), m_fromList(true), m_fed(fed), m_typed(typed),
      m_typedTrimmed{Trim_Str(typed.value), Trim_Str(typed.header), Trim_Str(typed.footer)},
      m_twoD(Is_TwoD_Branch(settings))
{
}

Batch_Row_Texts Barcode_Rows::texts(int row) const
{
    return {Get_Barcode_List_Combo_Value(row), Get_Barcode_List_Combo_Header(row), Get_Barcode_List_Combo_Footer(row)};
}

QString Barcode_Rows::rowText(int row, int which) const
{
    if (row < 0 || row >= size())
        return {};
    if (!m_fromList) {
        const Batch_Row_Texts& t = m_rows[size_t(row)];
        return which == 0 ? t.value : which == 1 ? t.header : t.footer;
    }
    if (!m_fed[size_t(which)])
        return which == 0 ? m_typedTrimmed.value : which == 1 ? m_typedTrimmed.header : m_typedTrimmed.footer;
    // The one text is read where the list keeps it: no row is built.
    QVarLengthArray<char16_t, 64> buffer;
    return Trim_View(Utf16_Of(m_list.text(row, which), buffer)).toString();
}

int Barcode_Rows::printQuantity(int row) const
{
    if (row < 0 || row >= size())
        return 0;
    if (m_fromList)
        return Row_Copies(m_list.text(row, 3));
    return size_t(row) < m_copies.size() ? std::max(1, m_copies[size_t(row)]) : 1;
}

PtImage Barcode_Rows::image(int row) const
{
    const Batch_Row_Texts t = texts(row);
    if (t.value.isEmpty())
        return {};
    return Make_Barcode(m_settings, t.value, t.header, t.footer).image;
}

PtImage Barcode_Rows::currentImage() const
{
    if (m_typed.value.isEmpty())
        return {};
    return Make_Barcode(m_settings, m_typed.value, m_typed.header, m_typed.footer).image;
}

bool Barcode_Rows::linearValueValid(const QString& value) const
{
    const Symbology* sym = Find_Symbology(m_settings.barcodeType);
    if (!sym || !Is_Ascii(value))
        return false;
    // A scratch symbol: nothing is laid out.
    const std::unique_ptr<ZBBarcode> scratch = Make_Linear_Barcode(sym->id, value, true);
    return scratch && scratch->isContentValid();
}

bool Barcode_Rows::givesImage(int row) const
{
    return Check_Barcode_Value_is_Valid_in_Series(row);
}

bool Barcode_Rows::Check_Barcode_Value_is_Valid_in_Series(int row) const
{
    const QString value = Get_Barcode_List_Combo_Value(row);
    if (value.isEmpty())
        return false;
    if (!m_twoD)
        return linearValueValid(value);
    return !image(row).isNull();
}

int Barcode_Rows::Calculate_Valid_Barcode_for_skip_invalid(bool withPQ, int start, int end, int cap) const
{
    long long n = 0;
    const int last = std::min(end, size());
    for (int r = std::max(0, start); r < last && n < cap; ++r) {
        const QString value = Get_Barcode_List_Combo_Value(r);
        if (value.isEmpty() || (!m_twoD && !linearValueValid(value)))
            continue;
        n += withPQ ? printQuantity(r) : 1;
    }
    return int(std::min<long long>(n, cap));
}
