// The sheet-options pane through its face: a job loaded into the controls
// and written back, what each user action reports, the grid it keeps while
// a layout holds one label, and the totals the batch box gives.
#include "barcode/generation/panes/Stepper.h"
#include "print/PrintTestSupport.h"
#include "print/SheetJobBuilder.h"
#include "print/SheetOptionsPane.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

using namespace printtest;

namespace {

// A window holding every box of the pane, and what the pane reported.
struct Pane_Window {
    QWidget window;
    Sheet_Job shown;   // the window's job: the preview's, and the cells' count
    Sheet_Options_Pane* pane = new Sheet_Options_Pane(&window, &shown, Sheet_Options_Pane::Preview_Fit::Width);
    QList<Sheet_Need> needs;

    Pane_Window()
    {
        auto* column = new QVBoxLayout(&window);
        auto* label = new QGroupBox;
        label->setLayout(pane->Build_Label_Fields(Sheet_Options_Pane::Label_Order::Grid_First));
        column->addWidget(label);
        pane->Build_Alignment_Box(16)->addWidget(pane->Auto_Center_chk_bx);
        column->addWidget(pane->card_align_box);
        column->addWidget(pane->Build_Range_Box(QStringLiteral("Labels")));
        column->addLayout(pane->Build_Batch_Boxes(QStringLiteral("With batch data"), true));
        column->addWidget(pane->Show_Margins);
        column->addLayout(pane->Build_Margin_Fields());
        column->addWidget(pane->Build_Preview(200));
        QObject::connect(pane, &Sheet_Options_Pane::changed, &window, [this](Sheet_Need n) { needs << n; });
    }

    // Types into a field and leaves it, as a user does.
    static void enter(QLineEdit* f, const QString& text)
    {
        f->setText(text);
        emit f->textEdited(text);
        emit f->editingFinished();
    }
};

class SheetPane : public ::testing::Test {
protected:
    // Barcode mode's list of rows with these print quantities.
    Sheet_Job List_Job(const QList<int>& quantities)
    {
        for (int q : quantities)
            batch.list << BarcodeListRow{{"Value", "v"}, {"PQ", QString::number(q)}};
        batch.state.dataSource = batch.state.valueChecked = true;
        batch.barcodeRows = int(quantities.size());
        batch.rowImage = [](int) { return Colour_Label(QSizeF(90, 40), Qt::black); };
        return Opening_Sheet_Job(batch.Make_Batch_Rows(), false, Colour_Label(QSizeF(90, 40), Qt::black),
                                 QSizeF(90, 40));
    }

    FakeBatchServices batch;
};

} // namespace

TEST_F(SheetPane, AJobLoadedIsTheJobWrittenBack)
{
    Pane_Window w;
    Sheet_Job job = List_Job({1, 3, 1, 2});
    job.Real_label_width = MM_To_Points(63.5f);
    job.Real_label_hight = MM_To_Points(38.1f);
    job.Print_Row = 3;
    job.Print_Col = 2;
    job.horz_mar = MM_To_Points(2.5f);
    job.vert_mar = MM_To_Points(4);
    job.label_align_val = 6;
    job.Show_margin_rect = 0;
    job.Left_Mar = MM_To_Points(5);
    job.boxes.allLabels = false;
    job.boxes.From = 2;
    job.boxes.To = 3;
    w.pane->load(job);
    EXPECT_TRUE(w.needs.isEmpty()) << "loading is no change by the user";
    EXPECT_EQ(w.pane->width_Text->text(), "63.50");
    EXPECT_EQ(w.pane->horz_mar_Text->text(), "2.50");
    EXPECT_EQ(w.pane->l_mar_id->text(), "5.00");
    EXPECT_TRUE(w.pane->mid_rite_btn->isChecked());
    EXPECT_TRUE(w.pane->from_Text->isEnabled());   // a range of rows
    EXPECT_FALSE(w.pane->Total_Text->isEnabled());

    Sheet_Job back;
    w.pane->writeTo(back);
    EXPECT_EQ(back.rows, job.rows);
    EXPECT_EQ(back.designing, job.designing);
    EXPECT_NEAR(back.Real_label_width, job.Real_label_width, 1e-3);
    EXPECT_NEAR(back.label_hight, job.Real_label_hight, 1e-3);
    EXPECT_EQ(back.Print_Row, 3);
    EXPECT_EQ(back.Print_Col, 2);
    EXPECT_NEAR(back.horz_mar, job.horz_mar, 1e-3);
    EXPECT_NEAR(back.vert_mar, job.vert_mar, 1e-3);
    EXPECT_EQ(back.label_align_val, 6);
    EXPECT_EQ(back.auto_center_flag, 0);
    EXPECT_EQ(back.Show_margin_rect, 0);
    EXPECT_EQ(back.Use_Data_Sheet_Values, job.Use_Data_Sheet_Values);
    EXPECT_EQ(back.skip_invalid_barcode, job.skip_invalid_barcode);
    EXPECT_EQ(back.print_wd_pq_opt, job.print_wd_pq_opt);
    EXPECT_EQ(back.boxes, job.boxes);
}

TEST_F(SheetPane, EachActionSaysWhatItNeeds)
{
    Pane_Window w;
    w.pane->load(List_Job({1, 3, 1, 2}));
    Sheet_Options_Pane& p = *w.pane;
    p.Row_Stepper->stepUp();
    Pane_Window::enter(p.width_Text, "50");
    p.skip_inavlid_chk->click();
    p.Show_Margins->click();
    p.mid_center_btn->click();
    p.Auto_Center_chk_bx->click();
    p.bot_rite_btn->click();   // Auto Center places the cells: the alignment waits
    p.Sel_print_rd->click();
    Pane_Window::enter(p.To_Text, "9");
    EXPECT_EQ(w.needs, (QList<Sheet_Need>{Sheet_Need::Cells, Sheet_Need::Layout, Sheet_Need::Preview,
                                          Sheet_Need::Preview, Sheet_Need::Preview, Sheet_Need::Layout,
                                          Sheet_Need::Nothing, Sheet_Need::Nothing, Sheet_Need::Nothing}));
    EXPECT_EQ(p.Row_Text->text(), "2");
    EXPECT_EQ(p.alignment(), 5);
    EXPECT_EQ(p.To_Text->text(), "4");   // the range stops at the last row
    EXPECT_FALSE(p.horz_mar_Stepper->isEnabled());   // Auto Center spreads the gaps
}

TEST_F(SheetPane, AOneLabelLayoutKeepsTheGridItReplaces)
{
    Pane_Window w;
    w.pane->load(Opening_Sheet_Job(nullptr, false, PtImage(), QSizeF(90, 40)));
    Sheet_Options_Pane& p = *w.pane;
    Pane_Window::enter(p.Row_Text, "3");
    Pane_Window::enter(p.horz_mar_Text, "4");
    p.Capture_Last_Values();
    p.Disable_for_fit_or_duplex(Grid_Lock::One_Label);
    EXPECT_EQ(p.Row_Text->text(), "1");
    EXPECT_EQ(p.horz_mar_Text->text(), "0");
    EXPECT_TRUE(p.Row_Text->isReadOnly());
    EXPECT_FALSE(p.Row_Stepper->isEnabled());

    // One label a page: Auto Center still places it, the gaps stay at 0.
    w.needs.clear();
    p.Auto_Center_chk_bx->click();
    EXPECT_EQ(w.needs, QList<Sheet_Need>{Sheet_Need::Layout});
    EXPECT_FALSE(p.top_left_btn->isEnabled());
    EXPECT_FALSE(p.horz_mar_Stepper->isEnabled());

    p.Normal_Printing_Is_Selected();
    EXPECT_EQ(p.Row_Text->text(), "3");
    EXPECT_EQ(p.horz_mar_Text->text(), "4");
    EXPECT_FALSE(p.Row_Text->isReadOnly());
    EXPECT_TRUE(p.Row_Stepper->isEnabled());
    EXPECT_FALSE(p.horz_mar_Stepper->isEnabled()) << "Auto Center is still on";

    // Fit to frame: Auto Center and the alignment wait (nothing to redraw).
    p.Disable_for_fit_or_duplex(Grid_Lock::Fit_To_Frame);
    w.needs.clear();
    p.Auto_Center_Checked();
    p.Bot_rite_btn_clicked();
    EXPECT_EQ(w.needs, QList<Sheet_Need>{Sheet_Need::Nothing});
    EXPECT_EQ(p.alignment(), 9);
}

TEST_F(SheetPane, TheBatchBoxGivesTheRowsOrOneSheetOfCells)
{
    Pane_Window w;
    w.shown.Print_Row = 3;
    w.shown.Print_Col = 2;
    w.pane->load(List_Job({1, 3, 1, 2}));
    Sheet_Options_Pane& p = *w.pane;
    EXPECT_EQ(p.Total_Text->text(), "7");

    p.print_with_batch_chk->click();   // off
    EXPECT_EQ(p.Total_Text->text(), "6");
    EXPECT_FALSE(p.print_qty_chk->isChecked());
    EXPECT_FALSE(p.print_qty_chk->isEnabled());
    EXPECT_FALSE(p.Sel_print_rd->isEnabled());
    EXPECT_TRUE(p.Total_Text->isEnabled());
    // Without batch values the Total follows the cells.
    w.shown.Print_Row = 4;
    p.Follow_Need(Sheet_Need::Cells, [] {}, [] {});
    EXPECT_EQ(p.Total_Text->text(), "8");

    p.print_with_batch_chk->click();   // on again
    EXPECT_EQ(p.Total_Text->text(), "7");
    EXPECT_TRUE(p.print_qty_chk->isChecked());
    EXPECT_TRUE(p.Sel_print_rd->isEnabled());
    p.Follow_Need(Sheet_Need::Cells, [] {}, [] {});
    EXPECT_EQ(p.Total_Text->text(), "7");
    p.print_qty_chk->click();
    EXPECT_EQ(p.Total_Text->text(), "4");   // one label a row
}
