#pragma once
// The rows of a barcode-mode job: a copy of barcode mode's settings and of
// every row's texts and print quantity, taken on the GUI thread when the job
// is made. Each image is made afresh with the generation road (Make_Barcode)
// on the thread that asks for it, so a worker makes its rows itself and the
// preview's barcode is never touched.
#include "core/util/BatchServices.h"

#include <vector>

class Barcode_Rows : public Batch_Row_Source {
public:
    // `settings`: the settings a job takes (no draft made while typing, the
    // chosen DPI); `rows`: the texts of the rows (trimmed); `copies`: their
    // print quantities; `typed`: the texts of the label without batch values.
    Barcode_Rows(const Batch_Row_Count& count, const BarcodeSettings& settings, std::vector<Batch_Row_Texts> rows,
                 std::vector<int> copies, const Batch_Row_Texts& typed);

    Batch_Row_Texts texts(int row) const override;
    int printQuantity(int row) const override;
    PtImage image(int row) const override;
    PtImage currentImage() const override;
    // A linear value is checked with a scratch symbol of the chosen
    // symbology; a 2D value is made.
    bool givesImage(int row) const override;
    // The skip-invalid count: linear values checked as givesImage does, a 2D
    // value counted when it is not empty (making each symbol would be slow).
    int Count_Valid_Labels(bool withPQ, int start, int end, int cap) const override;

    const BarcodeSettings& settings() const { return m_settings; }

private:
    bool linearValueValid(const QString& value) const;

    BarcodeSettings m_settings;
    std::vector<Batch_Row_Texts> m_rows;
    std::vector<int> m_copies;
    Batch_Row_Texts m_typed;
    bool m_twoD = false;
};
