#pragma once
// The rows of a barcode-mode job: a copy of barcode mode's settings, and the
// rows as they were when the job was made on the GUI thread: the list's rows
// as it held them (shared, not copied, so a job of a million rows takes no
// memory of its own for them), or every row's texts and print quantity taken
// from a series. Each image is made afresh with the generation road
// (Make_Barcode) on the thread that asks for it, so a worker makes its rows
// itself and the preview's barcode is never touched.
#include "barcode/generation/list/BarcodeList.h"
#include "core/util/BatchServices.h"

#include <array>
#include <memory>
#include <vector>

class Barcode_Rows : public Batch_Row_Source {
public:
    // `settings`: the settings a job takes (no draft made while typing, the
    // chosen DPI); `rows`: the texts of the rows (trimmed); `copies`: their
    // print quantities; `typed`: the texts of the label without batch values.
    Barcode_Rows(const Batch_Row_Count& count, const BarcodeSettings& settings, std::vector<Batch_Row_Texts> rows,
                 std::vector<int> copies, const Batch_Row_Texts& typed);
    // The list's rows (BarcodeListModel::rows(), taken as they are): value, header and
    // footer from the row where `fed` says so, else the typed text, trimmed;
    // the copies of a row from its print quantity (Row_Copies).
    Barcode_Rows(const Batch_Row_Count& count, const BarcodeSettings& settings,
                 BarcodeRowsView list, const std::array<bool, 3>& fed,
                 const Batch_Row_Texts& typed);

    Batch_Row_Texts texts(int row) const override;
    // The texts of a row, trimmed: the row's own where the batch feeds that
    // text, else the typed one; "" past the rows.
    QString Get_Barcode_List_Combo_Value(int row) const { return rowText(row, 0); }
    QString Get_Barcode_List_Combo_Header(int row) const { return rowText(row, 1); }
    QString Get_Barcode_List_Combo_Footer(int row) const { return rowText(row, 2); }
    // Whether the value of a row encodes (givesImage).
    bool Check_Barcode_Value_is_Valid_in_Series(int row) const;
    int printQuantity(int row) const override;
    PtImage image(int row) const override;
    PtImage currentImage() const override;
    // A linear value is checked with a scratch symbol of the chosen
    // symbology; a 2D value is made.
    bool givesImage(int row) const override;
    // A linear barcode is made by the road alone, on the asking thread (a
    // 2D symbol that cannot be drawn may say so in a box, on the GUI thread).
    bool imagesOnAnyThread() const override { return !m_twoD; }
    // The skip-invalid count: linear values checked as givesImage does, a 2D
    // value counted when it is not empty (making each symbol would be slow).
    int Calculate_Valid_Barcode_for_skip_invalid(bool withPQ, int start, int end, int cap) const override;

    const BarcodeSettings& settings() const { return m_settings; }

private:
    // Text `which` of a row (0 value, 1 header, 2 footer).
    QString rowText(int row, int which) const;
    bool linearValueValid(const QString& value) const;
    int size() const { return m_fromList ? int(m_list.size()) : int(m_rows.size()); }

    BarcodeSettings m_settings;
    std::vector<Batch_Row_Texts> m_rows;
    std::vector<int> m_copies;
    BarcodeRowsView m_list;
    bool m_fromList = false;
    std::array<bool, 3> m_fed{};
    Batch_Row_Texts m_typed;
    Batch_Row_Texts m_typedTrimmed;
    bool m_twoD = false;
};
