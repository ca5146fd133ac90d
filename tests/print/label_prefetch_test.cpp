// Labels made ahead on workers for the thread that draws the pages: each row
// comes back as its own label, in the order asked, whatever order the
// workers finish in; the work ahead stays bounded, ends with the job, and a
// row that failed fails when it is asked for.
#include "print/LabelPrefetch.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace {

// Rows whose label tells its row (its width in points is the row number
// plus one); some rows take much longer to make than the rows after them.
class Numbered_Rows : public Batch_Row_Source {
public:
    explicit Numbered_Rows(int rows) : Batch_Row_Source(Count(rows)) {}

    static Batch_Row_Count Count(int rows)
    {
        Batch_Row_Count c;
        c.Use_Data_Sheet_Values = true;
        c.Total_Barcode_Label_wd_Batch = rows;
        return c;
    }

    Batch_Row_Texts texts(int) const override { return {}; }
    int printQuantity(int) const override { return 1; }
    PtImage image(int row) const override
    {
        ++asked;
        if (row == failing)
            throw std::runtime_error("row failed");
        ++busy;
        // Work that takes longer for every fifth row.
        QImage scratch(row % 5 == 0 ? 96 : 8, 8, QImage::Format_ARGB32_Premultiplied);
        for (int i = 0; i < (row % 5 == 0 ? 40 : 1); ++i) {
            QPainter p(&scratch);
            p.setRenderHint(QPainter::Antialiasing, true);
            p.drawEllipse(QRectF(0.5, 0.5, scratch.width() - 1.0, 7));
        }
        --busy;
        return PtImage([](QPainter& p) { p.fillRect(QRectF(0, 0, 1, 1), Qt::black); }, QSizeF(row + 1, 1));
    }
    PtImage currentImage() const override { return {}; }
    bool imagesOnAnyThread() const override { return true; }

    int failing = -1;
    mutable std::atomic<int> asked{0};
    mutable std::atomic<int> busy{0};
};

int Row_Of(const PtImage& image)
{
    return int(image.size().width()) - 1;
}

} // namespace

TEST(LabelPrefetch, EveryRowComesBackInOrderWhicheverWorkerMadeIt)
{
    auto rows = std::make_shared<Numbered_Rows>(500);
    Label_Prefetch ahead(rows, 0, 500, 4, 12);
    for (int r = 0; r < 300; ++r) {
        const PtImage label = ahead.image(r);
        ASSERT_EQ(Row_Of(label), r);
        // Made ahead, the label is played back rather than drawn afresh.
        EXPECT_TRUE(label.isRecorded());
        // Never more than the window made ahead of the row asked.
        EXPECT_LE(ahead.made(), r + 1 + 12);
    }
    // Rows passed over are let go; a row asked again is made here.
    EXPECT_EQ(Row_Of(ahead.image(310)), 310);
    EXPECT_EQ(Row_Of(ahead.image(311)), 311);
    EXPECT_EQ(Row_Of(ahead.image(305)), 305);
    EXPECT_EQ(Row_Of(ahead.image(312)), 312);
    // Outside the rows of the job: made here too.
    EXPECT_EQ(Row_Of(ahead.image(600)), 600);
}

TEST(LabelPrefetch, AJobEndedEarlyStopsItsWorkersAndAFailedRowFailsWhenAsked)
{
    auto rows = std::make_shared<Numbered_Rows>(100000);
    rows->failing = 40;
    {
        Label_Prefetch ahead(rows, 0, 100000, 3, 16);
        for (int r = 0; r < 40; ++r)
            ASSERT_EQ(Row_Of(ahead.image(r)), r);
        EXPECT_THROW(ahead.image(40), std::runtime_error);
        EXPECT_EQ(Row_Of(ahead.image(41)), 41);
        // The job ends here, long before its last row.
    }
    // Ended: nothing is being made any more, and little was made ahead.
    EXPECT_EQ(rows->busy.load(), 0);
    const int made = rows->asked.load();
    EXPECT_LE(made, 42 + 16 + 3);
    EXPECT_EQ(rows->asked.load(), made);

    // A failed row that is passed over fails nothing.
    {
        Label_Prefetch ahead(rows, 0, 100, 2, 8);
        EXPECT_EQ(Row_Of(ahead.image(39)), 39);
        EXPECT_EQ(Row_Of(ahead.image(41)), 41);
    }
}

TEST(LabelPrefetch, OnlyRowsMadeOnAnyThreadAreMadeAhead)
{
    auto rows = std::make_shared<Numbered_Rows>(10);
    EXPECT_TRUE(Labels_Made_Ahead(rows, false, true));
    EXPECT_FALSE(Labels_Made_Ahead(rows, true, true));    // cards of a design
    EXPECT_FALSE(Labels_Made_Ahead(rows, false, false));  // no batch values
    EXPECT_FALSE(Labels_Made_Ahead(nullptr, false, true));
    struct Gui_Rows : Numbered_Rows {
        Gui_Rows() : Numbered_Rows(10) {}
        bool imagesOnAnyThread() const override { return false; }
    };
    EXPECT_FALSE(Labels_Made_Ahead(std::make_shared<Gui_Rows>(), false, true));
}
