// The window's delegates of designing mode: every list choice and every
// edit of a field made by the user goes to the operation that applies it,
// and the binding of the selected items to a data source.
#include "mainwindow/panels/PropertyPanels.h"

#include "core/canvas/LMNGraphicView.h"
#include "core/model/LMNGraphic.h"
#include "core/model/LMNImage.h"
#include "core/util/BatchServices.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "data/BatchBinding.h"
#include "data/SeriesStore.h"
#include "mainwindow/MainWindowSupport.h"
#include "mainwindow/Stepper.h"
#include "mainwindow/units/Units.h"
#include "platform/Numbers.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include <exception>

namespace {

constexpr int Text_Editor_Limit = 250;
constexpr int Size_Field_Limit = 10;
const QString Select_Entry = QStringLiteral("<--Select-->");

bool Start_Option_Hides_Source()
{
    return Design_Start_Option() == QLatin1String("V") || Design_Start_Option() == QLatin1String("G");
}

// Letters, white space, line breaks and other characters that cannot be part
// of a number are stripped from both ends of a size text.
bool Strippable_From_Size(QChar c)
{
    return c.isLetter() || c.isSpace() || !c.isPrint() || c.category() == QChar::Other_Format;
}

} // namespace

// Keeps a size text to the number typed: "12.5cm" gives "12.5".
QString Clean_Size_Text(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && Strippable_From_Size(text.at(begin)))
        ++begin;
    while (end > begin && Strippable_From_Size(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin).left(Size_Field_Limit);
}

// The editor's text without the placeholder and within the length limit.
QString Clean_Editor_Text(const QString& text)
{
    QString out = text;
    out.remove(QStringLiteral("Text here"));
    if (out.size() > Text_Editor_Limit)
        out.truncate(Text_Editor_Limit);
    return out;
}

// ---------------------------------------------------------------- lists

void PropertyPanelHost::comboBoxSelectionDidChange(QComboBox* combo)
{
    try {
        CardSizePanel* size = card_size_tab;
        if (combo == size->Label_ComboBox) {
            QComboBox* products = size->Product_num_ComboBox;
            products->clear();
            prod_list.clear();
            m_productsVendor = combo->currentText();
            if (combo->currentText() == QLatin1String("Custom")) {
                products->addItem(QString());
                Enable_Disable_Size_Param_Acc_To_Label_Selection(true);
                products->setEnabled(false);
                products->setCurrentIndex(-1);
            } else {
                Enable_Disable_Size_Param_Acc_To_Label_Selection(false);
                products->setEnabled(true);
                ::Read_XML_File(Catalogue_File_Path(combo->currentText()), QString(), QString(), false, prod_list,
                                products);
                if (products->count() > 0) {
                    products->setCurrentIndex(0);
                    comboBoxSelectionDidChange(products);
                }
            }
            return;
        }
        if (combo == size->Product_num_ComboBox) {
            Read_Selected_Product_Label_Value();
            return;
        }
        if (combo == card_info_tab->wm_alignment_combo || combo == card_brdr_tab->Card_border_style
            || combo == card_bkgd_tab->Card_hatch_style) {
            Update_Card_Graphics();
            return;
        }
        if (combo == card_bkgd_tab->Card_image_layout) {
            // The opacity acts on a stretched picture only: a tiled one hides it.
            if (card_bkgd_tab->fillStyle() == QLatin1String("I"))
                card_bkgd_tab->Show_Hide_Card_Transp_Ctrl(combo->currentText() == QLatin1String("Tile"));
            Update_Card_Graphics();
            return;
        }
        if (combo == line_tab->Line_border_style || combo == line_tab->Line_ori_style
            || combo == line_tab->Line_cap_style) {
            if (combo == line_tab->Line_ori_style)
                line_tab->Direction_Chosen();
            Update_Line_Graphics();
            return;
        }
        if (combo == text_prop_tab->Text_border_style || combo == text_edtng_tab->Text_align_combo
            || combo == text_edtng_tab->Text_vert_align_combo || combo == text_edtng_tab->Text_case_combo) {
            Update_Text_Graphics();
            return;
        }
        if (combo == shape_tab->shape_border_style || combo == shape_tab->shape_hatch_style) {
            Update_Shape_Graphics();
            return;
        }
        if (combo == image_tab->Image_border_style) {
            Update_Image_Graphics();
            return;
        }
        if (combo == sign_tab->Sign_border_style) {
            Update_Sign_Graphics();
            return;
        }
        if (Start_Option_Hides_Source())
            return;
        if (combo == datasource_tab->Data_source_type)
            sourceChoice();
        else if (combo == datasource_tab->Batch_Series)
            seriesChoice();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

// The controls that go with a source: a manual item is typed or browsed, a
// bound one takes its values from the list.
void PropertyPanelHost::applySourceEnabling(int type)
{
    DataSourcePanel* ds = datasource_tab;
    const bool manual = type == 0;
    ds->view_series_btn->setEnabled(!manual);
    ds->Batch_Series->setEnabled(!manual);
    ds->Text_value_Edit->setReadOnly(!manual);
    SetObjEnabled(ds->manual_brws_box, manual);
    SetObjEnabled(ds->Text_Date_Time_Box, manual);
}

void PropertyPanelHost::sourceChoice()
{
    DataSourcePanel* ds = datasource_tab;
    const int type = ds->Data_source_type->currentIndex();
    QComboBox* list = ds->Batch_Series;
    applySourceEnabling(type);
    list->clear();
    if (type == 1) {
        const QStringList names = Series_Names();
        list->addItem(Select_Entry);
        if (names.isEmpty()) {
            list->setCurrentIndex(0);
            if (!Not_Draw_Only_Prop_Change_Get())
                Show_MessageBox(QStringLiteral("Please create batch processing series first."));
            return;
        }
        list->addItems(names);
        list->setCurrentIndex(0);
        LMNGraphicView* canvas = canvasView();
        LMNGraphic* item = canvas ? canvas->_Selected_Graphic : nullptr;
        if (item && !item->batch_list_name.isEmpty()
            && Batch_Binding::Get_Data_SetIndex_According_Name(item->batch_list_name) != -1) {
            const int at = list->findText(item->batch_list_name, Qt::MatchFixedString);
            if (at >= 0)
                list->setCurrentIndex(at);
        }
    } else if (type >= 2) {
        if (batchBinding)
            batchBinding->Fill_Excel_Col_Name_In_Combo(list);
        list->setCurrentIndex(-1);
    }
    Change_Data_Source_To_selected_Control(type, QString(), -1);
}

void PropertyPanelHost::Read_Selected_Product_Label_Value()
{
    const int at = card_size_tab->Product_num_ComboBox->currentIndex();
    if (at < 0 || at >= prod_list.size())
        return;
    const QSizeF mm = Product_Label_Size_MM(prod_list.at(at));
    if (mm.width() > 0 && mm.height() > 0)
        Set_Card_Size_In_Control(mm.width(), mm.height());
}

void PropertyPanelHost::Refresh_Series_List()
{
    DataSourcePanel* ds = datasource_tab;
    if (ds->Data_source_type->currentIndex() != 1)
        return;
    QComboBox* list = ds->Batch_Series;
    const QString chosen = list->currentIndex() > 0 ? list->currentText() : QString();
    list->clear();
    list->addItem(Select_Entry);
    list->addItems(Series_Names());
    const int at = chosen.isEmpty() ? 0 : list->findText(chosen, Qt::MatchFixedString);
    list->setCurrentIndex(at < 0 ? 0 : at);
}

void PropertyPanelHost::seriesChoice()
{
    DataSourcePanel* ds = datasource_tab;
    if (ds->Data_source_type->currentIndex() <= 0)
        return;
    const QString choice = Trim_Str(ds->Batch_Series->currentText());
    if (choice.isEmpty() || choice == Select_Entry)
        return;
    LMNGraphicView* canvas = canvasView();
    if (!canvas || !canvas->_Selected_Graphic)
        return;
    Change_Data_Source_To_selected_Control(ds->Data_source_type->currentIndex(), choice,
                                           ds->Batch_Series->currentIndex());
}

// Binds the selection to a source: a picture alone, or every unlocked text
// of the selection; with a position, their value becomes the source's first.
void PropertyPanelHost::Change_Data_Source_To_selected_Control(int type, const QString& name, int position)
{
    if (Not_Draw_Only_Prop_Change_Get())
        return;
    LMNGraphicView* canvas = canvasView();
    LMNGraphic* current = canvas ? canvas->_Selected_Graphic : nullptr;
    if (!current)
        return;
    try {
        auto bind = [&](LMNGraphic& g) {
            if (type == 0) {
                g.Set_Data_source_type(0);
                g.Set_Excel_binding(false);
                g.Set_Excel_binding_Index(-1);
                g.Set_Batch_List_Index(-1);
                g.Set_Batch_List_Name(QString());
            } else if (type == 1) {
                g.Set_Data_source_type(1);
                g.Set_Batch_List_Name(name);
                g.Set_Batch_List_Index(position);
            } else {
                g.Set_Data_source_type(2);
                g.Set_Excel_binding_Index(position);
            }
        };
        auto value = [&]() -> QString {
            if (type == 1)
                return Get_First_Value_Of_Dataset(name);
            if (type == 2)
                return batchBinding ? batchBinding->Get_First_Value_Of_Excel_Binding(position) : QString();
            return QString();
        };
        if (current->kind() == LMNKind::Image) {
            if (Check_Multiple_Image_Selection(QStringLiteral("Select")))
                return;
            if (current->ctrl_is_locked)
                return;
            bind(*current);
            if (position >= 0) {
                const QString path = value();
                static_cast<LMNImage*>(current)->setFilePath(path);
                current->Set_text_value(path);
                datasource_tab->Manual_image_path->setText(path);
                Update_Image_Graphics(true);
            } else {
                m_services.Refresh_Canvas();
                m_services.Insert_In_Undo_Redo();
            }
            return;
        }
        QList<LMNGraphic*> bound;
        for (LMNGraphic* g : Selected_Items())
            if (g && g->kind() == LMNKind::Text && !g->ctrl_is_locked) {
                bind(*g);
                bound << g;
            }
        if (bound.isEmpty())
            return;
        if (position >= 0) {
            const QString text = value();
            for (LMNGraphic* g : bound)
                g->Set_text_value(text);
            datasource_tab->setEditorText(current->_Text_contents ? current->_Text_contents->string
                                                                  : current->Text_Value);
            Update_Text_Graphics(true);
        } else {
            m_services.Refresh_Canvas();
            m_services.Insert_In_Undo_Redo();
        }
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

// ---------------------------------------------------------------- fields

void PropertyPanelHost::controlTextDidChange(QObject* field)
{
    try {
        CardSizePanel* size = card_size_tab;
        if (field == size->width_Text || field == size->height_Text) {
            auto* edit = static_cast<QLineEdit*>(field);
            const QString cleaned = Clean_Size_Text(edit->text());
            if (cleaned != edit->text()) {
                const int cursor = std::min<int>(edit->cursorPosition(), int(cleaned.size()));
                edit->setText(cleaned);
                edit->setCursorPosition(cursor);
                edit->setModified(true);
            }
            return;
        }
        if (field == card_info_tab->card_name || field == card_info_tab->watermark_text) {
            Update_Card_Graphics();
            if (Set_Log_Name_In_Title)
                Set_Log_Name_In_Title();
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void PropertyPanelHost::controlTextDidEndEditing(QObject* field)
{
    try {
        CardSizePanel* size = card_size_tab;
        if (field != size->width_Text && field != size->height_Text)
            return;
        auto* edit = static_cast<QLineEdit*>(field);
        float v = static_cast<float>(Leading_Double_C(edit->text()));
        if (!(v > 0.0f))
            v = 0.1f;
        edit->setText(Length_Field_Text(v, last_unit_val));
        Apply_unit_Chaneg_Values();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void PropertyPanelHost::textDidChange(QObject* view)
{
    try {
        QPlainTextEdit* editor = datasource_tab->Text_value_Edit;
        if (view != editor)
            return;
        const QString typed = editor->toPlainText();
        const QString text = Clean_Editor_Text(typed);
        if (text != typed) {
            const QSignalBlocker block(editor);
            const int at = std::min<int>(editor->textCursor().position() - int(typed.size() - text.size()),
                                         int(text.size()));
            editor->setPlainText(text);
            QTextCursor cursor = editor->textCursor();
            cursor.setPosition(std::max(0, at));
            editor->setTextCursor(cursor);
        }
        applyEditorText(text);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

// The typed text into each selected, unlocked, manual text item.
void PropertyPanelHost::applyEditorText(const QString& text)
{
    if (Not_Draw_Only_Prop_Change_Get())
        return;
    const QList<LMNGraphic*> selected = Selected_Items();
    bool changed = false;
    for (LMNGraphic* g : selected) {
        if (!g || g->kind() != LMNKind::Text || g->ctrl_is_locked || g->data_source_type != 0)
            continue;
        if (Start_Option_Hides_Source() && !g->control_ID.isEmpty())
            continue;
        const QString before = g->_Text_contents ? g->_Text_contents->string : g->Text_Value;
        g->Set_text_value(text);
        changed = changed || before != text;
    }
    if (!selected.isEmpty())
        m_services.Refresh_Canvas();
    // Typing is one undo step until another change comes between.
    if (changed) {
        if (Typing_Undo_Step)
            Typing_Undo_Step();
        else
            m_services.Insert_In_Undo_Redo();
    }
}
