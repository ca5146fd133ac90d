#include "mainwindow/files/ProjectCommands.h"

#include "barcode/engines/SymbologyTable.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/model/Card_Property.h"
#include "core/model/LMNDocument.h"
#include "core/util/BatchServices.h"
#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/BarcodeModeView.h"
#include "mainwindow/LMNWindowController.h"
#include "mainwindow/MainWindowSupport.h"
#include "mainwindow/design/DesignModeView.h"
#include "data/SeriesStore.h"
#include "mainwindow/files/FilePanels.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QRadioButton>


namespace {

const QString kSaveBeforeNew = QStringLiteral("Do you want to save changes before opening new document?");
const QString kSaveBeforeOpen = QStringLiteral("Do you want to save changes before opening document?");
const QString kSaveChanges = QStringLiteral("Do you want to save changes?");

int Shape_Number(const QString& code)
{
    if (code == QLatin1String("RR")) return 1;
    if (code == QLatin1String("E")) return 2;
    return 0;
}

QString Shape_Code(int number)
{
    switch (number) {
    case 1: return QStringLiteral("RR");
    case 2: return QStringLiteral("E");
    default: return QStringLiteral("R");
    }
}

void Tell_Corrupt(const QString& reason)
{
    if (!reason.isEmpty())
        Show_NSLog_Message(reason);
    Show_MessageBox(File_Corrupt_Message);
}

// A design opened with damaged item records: what was made of each.
void Tell_Item_Problems(const QStringList& problems)
{
    if (problems.isEmpty())
        return;
    for (const QString& p : problems)
        Show_NSLog_Message(p);
    constexpr int kShown = 12;
    QStringList shown = problems.mid(0, kShown);
    if (problems.size() > kShown)
        shown << QStringLiteral("... and %1 more.").arg(problems.size() - kShown);
    Show_MessageBox(QStringLiteral("The design was opened, but some of its items could not be read whole:\n\n%1")
                        .arg(shown.join(QLatin1Char('\n'))));
}

void Tell_Save_Failed(const QString& path, const QString& reason)
{
    Show_MessageBox(QStringLiteral("The file \"%1\" could not be saved: %2\nThe file on disk is unchanged.")
                        .arg(QFileInfo(path).fileName(), reason));
}

} // namespace

Project_Commands::Project_Commands(LMNWindowController& window) : QObject(&window), w(window) {}

// ---------------------------------------------------------------- state

Design_Sheet Project_Commands::sheet() const
{
    return Read_Design_Sheet ? Read_Design_Sheet() : m_sheet;
}

void Project_Commands::setSheet(const Design_Sheet& s)
{
    if (Write_Design_Sheet)
        Write_Design_Sheet(s);
    else
        m_sheet = s;
}

Design_File_Content Project_Commands::Current_Design() const
{
    Design_File_Content d;
    d.startOption = w.Start_Card_Option();
    if (const Card_Property* card = w.Front_card_Prop())
        d.card = *card;
    const Design_Sheet s = sheet();
    d.excelBindingUse = s.use;
    d.excelSourcePath = s.path;
    d.columnTitles = s.titles;
    d.sheetRows = s.rows;
    d.items = w.designModeView()->document()->graphics();
    return d;
}

Barcode_File_Content Project_Commands::Current_Barcode() const
{
    Barcode_File_Content c;
    c.settings = w.Barcode_Settings();
    c.settings.unit = w.barcodeModeView()->Measument_Unit_Is_Barcode;
    const BarcodeListSide* list = w.barcodeModeView()->listSide();
    const Barcode_Source_State s = list->Source_State();
    c.dataSource = s.dataSource;
    c.valueFromList = s.valueChecked;
    c.headerFromList = s.headerChecked;
    c.footerFromList = s.footerChecked;
    c.customList = s.customList;
    c.valueSeries = s.valueSeries;
    c.valueItem = s.valueItem;
    c.headerSeries = s.headerSeries;
    c.headerItem = s.headerItem;
    c.footerSeries = s.footerSeries;
    c.footerItem = s.footerItem;
    for (const BarcodeRow& row : list->list().rows())
        c.list << QVariantMap{{QStringLiteral("Value"), row.Value},
                              {QStringLiteral("Header"), row.Header},
                              {QStringLiteral("Footer"), row.Footer},
                              {QStringLiteral("PQ"), row.PQ}};
    return c;
}

// ---------------------------------------------------------------- prompts

bool Project_Commands::Save_Current_Mode()
{
    if (!Designing_Mode_Active())
        return Save_project_file_Barcode(false);
    return Save_project_file(false, true, QStringLiteral("L"));
}

bool Project_Commands::Save_Prompt(const QString& question)
{
    const int answer = Show_YES_NO_Cancel_MessageBox(question);
    if (answer == Alert_First_Button)
        return Save_Current_Mode();
    return answer == Alert_Second_Button;
}

QString Project_Commands::askSavePath(const QString& current) const
{
    File_Panel_Request r;
    r.kind = File_Panel_Request::Save;
    r.title = tr("Save");
    r.extensions = {design_file_EXT};
    r.directory = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    r.name = current.isEmpty() ? QString() : QFileInfo(current).fileName();
    QString path = Run_File_Panel(r);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".") + design_file_EXT;
    return path;
}

// ---------------------------------------------------------------- toolbar

void Project_Commands::New_Btn_Clicked()
{
    if (!Save_Prompt(kSaveBeforeNew))
        return;
    if (!Designing_Mode_Active())
        New_Project_Barcode();
    else
        New_Project();
}

void Project_Commands::Close_Document_Clicked()
{
    // Yes saves the design, in either mode.
    const int answer = Show_YES_NO_Cancel_MessageBox(kSaveChanges);
    if (answer == Alert_First_Button) {
        if (!Save_project_file(false, true, QStringLiteral("L")))
            return;
    } else if (answer != Alert_Second_Button) {
        return;
    }
    New_Project();
}

void Project_Commands::Save_Btn_Clicked()
{
    Save_Current_Mode();
}

void Project_Commands::SaveAs_Btn_Clicked()
{
    if (!Designing_Mode_Active())
        Save_project_file_Barcode(true);
    else
        Save_project_file(true, true, QStringLiteral("L"));
}

// ---------------------------------------------------------------- design files

bool Project_Commands::Save_project_file(bool saveAs, bool showMessage, const QString& kind)
{
    try {
        QString path = saveAs ? QString() : Trim_Str(Project_File_Name);
        if (path.isEmpty()) {
            path = askSavePath(Project_File_Name);
            if (path.isEmpty())
                return false;   // cancelled: nothing written, the name stays
            w.raise();
        }
        const bool asTemplate = kind == QLatin1String("T");
        const QVariantList elements = Design_File_Elements(Current_Design(), asTemplate);
        QString why;
        if (!Write_Design_Elements(path, elements, &why)) {
            Show_NSLog_Message(why);
            Tell_Save_Failed(path, why);
            return false;
        }
        // What the file now says of the open design.
        if (Card_Property* card = w.Front_card_Prop()) {
            card->Card_Side = QStringLiteral("1");
            if (card->Card_fill_style != QLatin1String("I"))
                card->Card_BG_Image_Path = QString("");
        }
        if (!asTemplate)
            Project_File_Name = path;
        if (showMessage) {
            Show_MessageBox(QStringLiteral("Barcode Label Design has been saved successfully."));
            refreshTitle();
        }
        return true;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        Show_MessageBox(QString::fromUtf8(e.what()));
        return false;
    }
}

int Project_Commands::Read_and_load_design_Log_NEW_METHOD(const QString& path, const QString& kind, bool readSheet)
{
    QString why;
    const std::optional<QVariant> root = Read_Design_Root(path, &why);
    const Design_File_Kind fileKind = root ? Classify_Design_Root(*root) : Design_File_Kind::Corrupt;
    if (fileKind == Design_File_Kind::Corrupt) {
        Tell_Corrupt(why);
        return 0;
    }
    if (fileKind == Design_File_Kind::Barcode || fileKind == Design_File_Kind::OlderBarcode) {
        const Barcode_File_Read b = Read_Barcode_Content(*root);
        if (!b.ok) {
            Tell_Corrupt(b.reason);
            return 0;
        }
        applyBarcode(b.content, path);
        return 1;
    }
    Item_Record_Context ctx;
    ctx.renderBarcode = Render_Barcode_Item;
    ctx.firstSeriesValue = [](const QString& series) { return Get_First_Value_Of_Dataset(series); };
    const Design_File_Read d = Read_Design_Content(*root, ctx, readSheet);
    if (!d.ok) {
        Tell_Corrupt(QStringLiteral("%1 - %2").arg(d.elementsTaken).arg(d.reason));
        return 0;
    }
    applyDesign(d.content, path, kind, readSheet);
    Tell_Item_Problems(d.itemProblems);
    return 1;
}

void Project_Commands::applyDesign(const Design_File_Content& d, const QString& path, const QString& kind,
                                   bool readSheet)
{
    DesignModeView* view = w.designModeView();
    const QString before = w.Start_Card_Option();
    w.New_Project_Setting_Reset(1);
    // The start option: "G" stays "G"; a file's "G" opens as "L".
    if (before == QLatin1String("G"))
        w.Set_Start_Card_Option(before);
    else
        w.Set_Start_Card_Option(d.startOption == QLatin1String("G") ? QStringLiteral("L") : d.startOption);
    Project_File_Name = kind == QLatin1String("L") ? path : QString("");
    Not_Draw_Only_Prop_Change_Set(true);

    Card_Property card = d.card;
    card.Card_BG_Image_Path = w.Check_Path_For_App_Resources(card.Card_BG_Image_Path);
    card.Card_BG_Image = PtImage();
    view->Set_Card_Model(card);
    w.Card_Shape = Shape_Number(card.Card_Shape);
    view->Apply_Card_Size(card.Card_Size);

    if (readSheet) {
        Design_Sheet s;
        s.use = d.excelBindingUse;
        s.path = d.excelSourcePath;
        s.titles = d.columnTitles;
        s.rows = d.sheetRows;
        setSheet(s);
    }

    LMNDocument* doc = view->document();
    doc->Enable_Disable_Undo_Registraion(false);
    QList<int> indexes;
    for (int i = 0; i < d.items.size(); ++i)
        indexes << i;
    if (!d.items.isEmpty())
        doc->insertGraphics(d.items, indexes);
    for (const LMNGraphicPtr& g : d.items)
        LMNGraphicView::check_barcode_and_set_control_bounds(g.get());
    doc->Enable_Disable_Undo_Registraion(true);

    if (kind == QLatin1String("L"))
        refreshTitle();
    Not_Draw_Only_Prop_Change_Set(false);
    if (card.Card_fill_chk && card.Card_fill_style == QLatin1String("I") && !card.Card_BG_Image_Path.isEmpty())
        view->set_Front_BG_Image(card.Card_BG_Image_Path);
    w.Show_RHS_Properties(nullptr);
    w.Set_Selected_Control_Tool(0);
    w.Refresh_Canvas();
    w.Designing_Mode_Select();
    w.Show_Hide_Main_Window(1);
    view->Reset_Undo_Baseline();
    refreshTitle();
}

void Project_Commands::New_Project()
{
    Open_Start_Window();
}

void Project_Commands::Open_Log_file_Func()
{
    if (!Designing_Mode_Active()) {
        Open_Barcode_Log_File();
        Not_Draw_Only_Prop_Change_Set(false);
        return;
    }
    if (!Save_Prompt(kSaveBeforeOpen))
        return;
    // The open design stays until a file has been read whole.
    const int loaded = Open_Log_File();
    if (loaded == 1 && Designing_Mode_Active()) {
        DesignModeView* view = w.designModeView();
        view->Set_Canvas_to_100_percent();
        view->Undo_Redo_Clear();
        view->Insert_In_Undo_Redo();
        view->Undo_btn->setEnabled(false);
        view->Redo_btn->setEnabled(false);
    }
    if (loaded == 1 && !Designing_Mode_Active())
        w.Show_Hide_Main_Window(1);
    Not_Draw_Only_Prop_Change_Set(false);
}

int Project_Commands::Open_Log_File()
{
    File_Panel_Request r;
    r.kind = File_Panel_Request::Open;
    r.title = tr("Open");
    r.extensions = {design_file_EXT};
    r.directory = Project_File_Name.isEmpty() ? QString() : QFileInfo(Project_File_Name).absolutePath();
    const QString path = Run_File_Panel(r);
    if (path.isEmpty())
        return 0;
    return Read_and_load_design_Log_NEW_METHOD(path, QStringLiteral("L"), true);
}

// ---------------------------------------------------------------- new label

void Project_Commands::Open_Start_Window()
{
    const std::optional<New_Card_Choice> choice = Ask_New_Card(Run_Card_Wizard);
    if (!choice) {
        // Cancel leaves the empty new project (the work was saved or let go
        // when New or Close asked), its area shown; the mode stays the one
        // the user is in (Close from barcode mode stays in barcode mode).
        w.New_Project_Setting_Reset(1);
        w.Set_Start_Card_Option(QStringLiteral("W"));
        w.Show_Hide_Main_Window(1);
        w.Refresh_Canvas();
        refreshTitle();
        return;
    }
    Apply_New_Card(*choice);
}

void Project_Commands::Apply_New_Card(const New_Card_Choice& c)
{
    DesignModeView* view = w.designModeView();
    w.New_Project_Setting_Reset(1);
    w.Set_Start_Card_Option(QStringLiteral("W"));
    setSheet(Design_Sheet());
    Not_Draw_Only_Prop_Change_Set(true);

    Card_Property card;
    card.Card_Shape = Shape_Code(c.shape);
    card.Card_Preset = c.stock.isEmpty() ? QStringLiteral("Custom") : c.stock;
    card.Card_Sub_Category = c.category;
    card.Card_Name = c.name.isEmpty() ? QStringLiteral("Untitled") : c.name;
    card.Card_border_chk = c.border;
    card.Card_bordr_clr = c.borderColour;
    card.Card_bor_Stepper = c.borderWidth;
    card.Card_border_style = Border_Style_Code(c.borderStyle);
    card.Card_fill_chk = true;
    card.Card_fill_clr = c.fillColour;
    card.Card_fill_style = c.fillKind;
    card.Card_fill_Grd_1_clr = c.gradient1;
    card.Card_fill_Grd_2_clr = c.gradient2;
    card.Card_grad_Stepper = c.gradientValue;
    card.Card_hatch_bk_clr = c.hatchBackground;
    if (c.fillKind == QLatin1String("H"))
        card.Card_hatch_style = c.hatchStyle;
    // The card panel stores its percentage as a fraction.
    card.Card_alpha_Stepper = float(New_Label_Transparency_Percent(c.transparency)) / 100.0f;
    card.Card_Create_Mode = QStringLiteral("W");
    card.Card_Size = QSizeF(MainWindowServices::MM_to_Points_Convert(float(c.widthMM)),
                            MainWindowServices::MM_to_Points_Convert(float(c.heightMM)));
    view->Set_Card_Model(card);
    w.Card_Shape = c.shape;
    view->Apply_Card_Size(card.Card_Size);
    Not_Draw_Only_Prop_Change_Set(false);
    if (c.fillKind == QLatin1String("I") && !c.imagePath.isEmpty()) {
        view->set_Front_BG_Image(c.imagePath);
        view->set_Back_BG_Image(c.imagePath);
    }

    view->Undo_Redo_Clear();
    view->Insert_In_Undo_Redo();
    view->Undo_btn->setEnabled(false);
    view->Redo_btn->setEnabled(false);
    view->Set_Canvas_to_100_percent();
    w.Set_Selected_Control_Tool(0);
    w.Show_RHS_Properties(nullptr);
    // The new card waits on the design tab; the mode stays the user's.
    w.Show_Hide_Main_Window(1);
    w.Refresh_Canvas();
    refreshTitle();
}

// ---------------------------------------------------------------- barcode settings files

bool Project_Commands::Save_project_file_Barcode(bool saveAs)
{
    try {
        QString path = saveAs ? QString() : Trim_Str(Project_File_Name_Barcode);
        if (path.isEmpty()) {
            path = askSavePath(Project_File_Name_Barcode);
            if (path.isEmpty())
                return false;
            w.raise();
        }
        QString why;
        if (!Write_Barcode_Elements(path, Barcode_File_Elements(Current_Barcode()), &why)) {
            Show_NSLog_Message(why);
            Tell_Save_Failed(path, why);
            refreshTitle();
            return false;
        }
        Project_File_Name_Barcode = path;
        Show_MessageBox(QStringLiteral("Barcode Log has been saved successfully."));
        refreshTitle();
        return true;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return false;
    }
}

void Project_Commands::Read_Barcode_Log_File(const QString& path)
{
    QString why;
    const std::optional<QVariant> root = Read_Design_Root(path, &why);
    const Design_File_Kind kind = root ? Classify_Design_Root(*root) : Design_File_Kind::Corrupt;
    if (kind == Design_File_Kind::Corrupt) {
        Tell_Corrupt(why);
        return;
    }
    if (kind == Design_File_Kind::Design) {
        if (Read_and_load_design_Log_NEW_METHOD(path, QStringLiteral("L"), true) == 1) {
            DesignModeView* view = w.designModeView();
            view->Undo_Redo_Clear();
            view->Insert_In_Undo_Redo();
            view->Undo_btn->setEnabled(false);
            view->Redo_btn->setEnabled(false);
            w.Designing_Mode_Select();
        }
        return;
    }
    const Barcode_File_Read b = Read_Barcode_Content(*root);
    if (!b.ok) {
        Tell_Corrupt(b.reason);
        return;
    }
    applyBarcode(b.content, path);
}

void Project_Commands::applyBarcode(const Barcode_File_Content& c, const QString& path)
{
    BarcodeModeView* b = w.barcodeModeView();
    Project_File_Name_Barcode = path;
    w.Barcode_Mode_Select();
    // The settings first, then the list and its sources, which may fill the
    // texts from the list or the series.
    b->Load_Barcode_Settings(c.settings);
    std::vector<BarcodeRow> rows;
    rows.reserve(size_t(c.list.size()));
    for (const QVariant& r : c.list) {
        const QVariantMap m = r.toMap();
        rows.push_back({m.value(QStringLiteral("Value")).toString(), m.value(QStringLiteral("Header")).toString(),
                        m.value(QStringLiteral("Footer")).toString(), m.value(QStringLiteral("PQ")).toString()});
    }
    Barcode_Source_State s;
    s.dataSource = c.dataSource;
    s.valueChecked = c.valueFromList;
    s.headerChecked = c.headerFromList;
    s.footerChecked = c.footerFromList;
    s.customList = c.customList;
    s.valueSeries = c.valueSeries.trimmed();
    s.valueItem = c.valueItem.trimmed();
    s.headerSeries = c.headerSeries.trimmed();
    s.headerItem = c.headerItem.trimmed();
    s.footerSeries = c.footerSeries.trimmed();
    s.footerItem = c.footerItem.trimmed();
    b->listSide()->Restore_Source_State(s, rows);
    refreshTitle();
}

void Project_Commands::Open_Barcode_Log_File()
{
    if (!Save_Prompt(kSaveBeforeOpen))
        return;
    File_Panel_Request r;
    r.kind = File_Panel_Request::Open;
    r.title = tr("Open");
    r.extensions = {design_file_EXT, design_file_EXT.toUpper()};
    const QString path = Run_File_Panel(r);
    if (path.isEmpty())
        return;
    Read_Barcode_Log_File(path);
}

void Project_Commands::New_Project_Barcode()
{
    BarcodeModeView* b = w.barcodeModeView();
    Not_Draw_Only_Prop_Change_Set(true);
    BarcodeSettings s;
    s.barcodeType = Symbology_Titles().value(0);
    s.liner_or_2D_font = 0;
    s.dataText = QStringLiteral("123456789012");
    s.dataText_2D = QStringLiteral("123456789012");
    s.HeaderText = w.barcodeModeView()->def_barcode_hdr_str;
    s.FooterText = QStringLiteral("FOOTER");
    s.align_hdr = s.align_ftr = QStringLiteral("Center");
    s.bar_height = 1;
    s.bar_width_mils = 20;
    s.val_mar = s.hdr_mar = s.ftr_mar = s.TB_mar = s.LR_mar = 0.1f;
    const QFont font(Text_Ctrl_Font_Family(), 10);
    s.value_font = s.header_font = s.footer_font = font;
    s.unit = 1;
    Not_Draw_Only_Prop_Change_Set(false);
    Project_File_Name_Barcode = QString("");
    b->Load_Barcode_Settings(s);
    b->listSide()->Restore_Source_State(Barcode_Source_State(), {});
    b->listSide()->Clear_Series_Choice();
    refreshTitle();
}

// ---------------------------------------------------------------- title

QString Project_Commands::Window_Title() const
{
    const QString base = w.App_Name();
    if (!Designing_Mode_Active()) {
        if (!Project_File_Name_Barcode.isEmpty() && QFileInfo(Project_File_Name_Barcode).isFile())
            return QStringLiteral("%1 ( %2 )").arg(base, QFileInfo(Project_File_Name_Barcode).fileName());
        return base;
    }
    const Card_Property* card = w.Front_card_Prop();
    const QString name = card ? card->Card_Name : QString();
    if (!Project_File_Name.isEmpty() && QFileInfo(Project_File_Name).isFile())
        return QStringLiteral("%1 ( %2 - %3 )").arg(base, name, QFileInfo(Project_File_Name).fileName());
    return QStringLiteral("%1 ( %2 )").arg(base, name);
}

void Project_Commands::refreshTitle()
{
    w.Set_Log_Name_In_Title();
}
