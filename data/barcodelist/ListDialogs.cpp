#include "data/barcodelist/ListDialogs.h"

#include "core/util/FileChoosers.h"
#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"
#include "data/series/SeriesGenerator.h"
#include "data/series/SeriesJob.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>


QPointer<Import_From_Txt_File> Import_From_Txt_File::Import_TXT_File_Window;
QPointer<Update_List_Details> Update_List_Details::s_instance;
QPointer<Generate_List_Barcode> Generate_List_Barcode::s_instance;
QPointer<Import_Excel_Barcode> Import_Excel_Barcode::s_instance;

namespace {

const QString kNoOption = QStringLiteral("Please select at least one from 'Create List Option'.");

// The "Create List Option" boxes and the start / end choice.
QWidget* Build_List_Options(QWidget* parent, List_Option_Controls& c, bool withColumns = false)
{
    auto* box = new QGroupBox(QObject::tr("Create List Option"), parent);
    auto* g = new QGridLayout(box);
    c.chk_value = new QCheckBox(QObject::tr("Barcode Value"), box);
    c.chk_value->setObjectName("chk_value");
    c.chk_header = new QCheckBox(QObject::tr("Barcode Header"), box);
    c.chk_header->setObjectName("chk_header");
    c.chk_footer = new QCheckBox(QObject::tr("Barcode Footer"), box);
    c.chk_footer->setObjectName("chk_footer");
    c.chk_pq = new QCheckBox(QObject::tr("Print Quantity"), box);
    c.chk_pq->setObjectName("chk_pq");
    if (!withColumns) {
        g->addWidget(c.chk_value, 0, 0);
        g->addWidget(c.chk_header, 0, 1);
        g->addWidget(c.chk_footer, 1, 0);
        g->addWidget(c.chk_pq, 1, 1);
    }
    c.radioButton_At_Start = new QRadioButton(QObject::tr("Fill the list from its first row"), box);
    c.radioButton_At_Start->setObjectName("radioButton_At_Start");
    c.radioButton_At_End = new QRadioButton(QObject::tr("Add after the last row"), box);
    c.radioButton_At_End->setObjectName("radioButton_At_End");
    auto* group = new QButtonGroup(box);
    group->addButton(c.radioButton_At_Start);
    group->addButton(c.radioButton_At_End);
    const int r = withColumns ? 4 : 2;
    g->addWidget(c.radioButton_At_Start, r, 0, 1, 2);
    g->addWidget(c.radioButton_At_End, r + 1, 0, 1, 2);
    return box;
}

QDialogButtonBox* Ok_Cancel(QDialog* d)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("ok_button");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancel_button");
    return buttons;
}

template <class T>
T* Instance(QPointer<T>& slot)
{
    T* d = nullptr;
    Run_On_Main_Thread_And_Wait([&] {
        if (!slot)
            slot = new T(Dialog_Parent_Window());
        d = slot;
    });
    return d;
}

// Characters of the rows placed into the list at a time from a sheet.
constexpr qint64 kChunkChars = qint64(2) << 20;

// Bytes a text taken into the list is counted at in the budget of a sheet
// read (as the list may keep it, two a character), and a row beside its
// texts.
constexpr qint64 kListBytesPerUnit = 2;
constexpr qint64 kListBytesPerRow = 16;

// What the list holds and keeps beside a sheet's rows once the sheet has
// given `rows` rows that hold a text (the title row among them when
// `titleRow`): its rows past those replaced, as they are kept now (a byte a
// character when Latin-1), and of each replaced row the texts that are not
// ticked (they stay, in the new row: two bytes a character). Added at the
// end, nothing is replaced. Reckoned once here; the read asks on its worker.
std::function<qint64(qint64)> List_Held_Beside(const BarcodeListModel& list, const List_Import_Options& o,
                                               bool titleRow)
{
    const int count = list.count();
    auto rowBytes = [&list](int row) {
        qint64 bytes = kListBytesPerRow;
        for (int column = 0; column < 4; ++column)
            bytes += list.textAt(row, column).visit([](auto text) -> qint64 {
                return (std::is_same_v<decltype(text), QLatin1StringView> ? 1 : 2) * qint64(text.size());
            });
        return bytes;
    };
    if (!o.overwrite_text_load_row) {
        qint64 whole = 0;
        for (int row = 0; row < count; ++row)
            whole += rowBytes(row);
        return [whole](qint64) { return whole; };
    }
    // held[k]: the rows from k on, and what the k rows before keep.
    auto held = std::make_shared<std::vector<qint64>>(size_t(count) + 1, 0);
    for (int row = count - 1; row >= 0; --row)
        (*held)[size_t(row)] = (*held)[size_t(row) + 1] + rowBytes(row);
    const bool ticked[4] = {o.value, o.header, o.footer, o.pq};
    qint64 staying = 0;
    for (int row = 0; row < count; ++row) {
        for (int column = 0; column < 4; ++column)
            if (!ticked[column])
                staying += kListBytesPerUnit * list.textAt(row, column).size();
        (*held)[size_t(row) + 1] += staying;
    }
    const qint64 title = titleRow ? 1 : 0;
    return [held, title, count](qint64 rows) { return (*held)[size_t(std::clamp<qint64>(rows - title, 0, count))]; };
}

QString Full_List_Note()
{
    return QStringLiteral("The list holds at most %1 rows; the rest was not added.")
        .arg(QLocale::c().toString(Barcode_List_Max_Rows));
}

} // namespace

List_Import_Options List_Option_Controls::options() const
{
    List_Import_Options o;
    o.value = chk_value->isChecked();
    o.header = chk_header->isChecked();
    o.footer = chk_footer->isChecked();
    o.pq = chk_pq->isChecked();
    o.overwrite_text_load_row = radioButton_At_Start->isChecked() && !radioButton_At_End->isChecked();
    return o;
}

void List_Option_Controls::reset()
{
    for (QCheckBox* c : {chk_value, chk_header, chk_footer, chk_pq})
        c->setChecked(false);
    radioButton_At_Start->setChecked(true);
}

// ================================================================ text import options

Import_From_Txt_File::Import_From_Txt_File(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Import List"));
    Apply_Dialog_Background(this);
    auto* col = new QVBoxLayout(this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(tr("File:")));
    file_path_txt = new QLineEdit;
    file_path_txt->setObjectName("file_path_txt");
    file_path_txt->setMinimumWidth(320);
    fileRow->addWidget(file_path_txt, 1);
    auto* browse = new QPushButton(tr("Browse..."));
    browse->setObjectName("browse_button");
    fileRow->addWidget(browse);
    col->addLayout(fileRow);
    col->addWidget(Build_List_Options(this, m_options));
    chk_value = m_options.chk_value;
    chk_header = m_options.chk_header;
    chk_footer = m_options.chk_footer;
    chk_pq = m_options.chk_pq;
    radioButton_At_Start = m_options.radioButton_At_Start;
    radioButton_At_End = m_options.radioButton_At_End;
    auto* buttons = Ok_Cancel(this);
    col->addWidget(buttons);
    connect(browse, &QPushButton::clicked, this, [this] { BrowsePressed(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OKPressed(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { CancelPressed(); });
    connect(radioButton_At_Start, &QRadioButton::clicked, this, [this] { Start_Radio_Pressed(); });
    connect(radioButton_At_End, &QRadioButton::clicked, this, [this] { End_Radio_Pressed(); });
}

Import_From_Txt_File* Import_From_Txt_File::defaultInstance() { return Instance(Import_TXT_File_Window); }

void Import_From_Txt_File::Reset_Controls(const QString& path)
{
    file_path_txt->setText(path);
    m_options.reset();
}

int Import_From_Txt_File::Open_Wnd(const QString& path)
{
    Reset_Controls(path);
    const int code = Run_Modal_Dialog(*this);
    hide();
    Import_Error_Rerult = code == 1 ? 1 : 0;
    return Import_Error_Rerult;
}

void Import_From_Txt_File::Start_Radio_Pressed()
{
    radioButton_At_Start->setChecked(true);
}

void Import_From_Txt_File::End_Radio_Pressed()
{
    radioButton_At_End->setChecked(true);
}

void Import_From_Txt_File::BrowsePressed()
{
    const QString file = chooseFile ? chooseFile()
                                    : Choose_Open_File(this, tr("Import List"),
                                                       tr("Lists (*.txt *.TXT *.rtf *.RTF *.csv *.CSV)"));
    if (!file.isEmpty())
        file_path_txt->setText(file);
}

void Import_From_Txt_File::OKPressed()
{
    if (!m_options.options().any()) {
        Show_MessageBox(kNoOption);
        chk_value->setFocus();
        return;
    }
    done(1);
}

void Import_From_Txt_File::CancelPressed() { done(0); }

QString Import_From_Txt_File::path() const { return file_path_txt->text(); }

// ================================================================ row editor

Update_List_Details::Update_List_Details(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Edit Row"));
    Apply_Dialog_Background(this);
    auto* col = new QVBoxLayout(this);
    auto* g = new QGridLayout;
    auto field = [&](int row, const QString& label, const char* name) {
        auto* f = new QLineEdit;
        f->setObjectName(name);
        f->setMinimumWidth(280);
        g->addWidget(new QLabel(label), row, 0);
        g->addWidget(f, row, 1);
        return f;
    };
    m_bar_value_str = field(0, tr("Value:"), "m_bar_value_str");
    m_bar_hdr_str = field(1, tr("Header:"), "m_bar_hdr_str");
    m_bar_ftr_str = field(2, tr("Footer:"), "m_bar_ftr_str");
    m_bar_pq_str = field(3, tr("Print quantity:"), "m_bar_pq_str");
    m_bar_pq_str->setMaxLength(3);
    m_bar_pq_str->setMaximumWidth(60);
    m_s_indx_str = new QLineEdit(this);
    m_s_indx_str->setObjectName("m_s_indx_str");
    m_s_indx_str->setVisible(false);
    col->addLayout(g);
    auto* buttons = Ok_Cancel(this);
    col->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OKPressed(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { CancelPressed(); });
}

Update_List_Details* Update_List_Details::defaultInstance() { return Instance(s_instance); }

bool Update_List_Details::Fill_Row(int row)
{
    BarcodeRow r;
    if (!m_list || !m_list->rowAt(row, &r))
        return false;
    m_bar_value_str->setText(Trim_Str(r.Value));
    m_bar_hdr_str->setText(Trim_Str(r.Header));
    m_bar_ftr_str->setText(Trim_Str(r.Footer));
    m_bar_pq_str->setText(Trim_Str(r.PQ));
    m_s_indx_str->setText(QString::number(row));
    return true;
}

int Update_List_Details::Open_Wnd(int row)
{
    if (!Fill_Row(row))
        return 0;
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code == 1 ? 1 : 0;
}

void Update_List_Details::Empty_Fields()
{
    // setText also clears each field's undo history.
    for (QLineEdit* f : {m_bar_value_str, m_bar_hdr_str, m_bar_ftr_str, m_bar_pq_str, m_s_indx_str})
        f->setText(QString());
}

void Update_List_Details::OKPressed()
{
    bool ok = false;
    const int index = m_s_indx_str->text().toInt(&ok);
    if (!ok || !m_list
        || !m_list->Replace_Item_List(m_bar_value_str->text(), m_bar_hdr_str->text(), m_bar_ftr_str->text(),
                                      m_bar_pq_str->text(), index)) {
        Show_MessageBox(QStringLiteral("The row being edited is no longer in the list."));
        Empty_Fields();
        done(0);
        return;
    }
    Empty_Fields();
    done(1);
}

void Update_List_Details::CancelPressed()
{
    Empty_Fields();
    done(0);
}

// ================================================================ list generator

Generate_List_Barcode::Generate_List_Barcode(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Generate List"));
    Apply_Dialog_Background(this);
    auto* col = new QVBoxLayout(this);
    pane = new Generator_Rules_Pane(this);
    pane->helpText = QStringLiteral(
        "For example:\r\nIf you have to generate a series of barcodes having values from '0' to '200', this "
        "option automatically converts small values such as '1' to '001' and '11' to '011' to maintain number of "
        "digits same as the highest value in the series.\r\n\r\nSimilarly, if you have selected a series "
        "starting from '001' to '00200', this option automatically converts small values such as '001' to "
        "'00001' and '0011' to '00011' to maintain number of digits same as the highest value in the series.");
    col->addWidget(pane);
    col->addWidget(Build_List_Options(this, m_options));
    chk_value = m_options.chk_value;
    chk_header = m_options.chk_header;
    chk_footer = m_options.chk_footer;
    chk_pq = m_options.chk_pq;
    radioButton_At_Start = m_options.radioButton_At_Start;
    radioButton_At_End = m_options.radioButton_At_End;
    auto* buttons = Ok_Cancel(this);
    col->addWidget(buttons);
    connect(radioButton_At_Start, &QRadioButton::clicked, this, [this] { Start_Radio_Pressed(); });
    connect(radioButton_At_End, &QRadioButton::clicked, this, [this] { End_Radio_Pressed(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OKPressed(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { CancelPressed(); });
    Reset_Controls();
}

Generate_List_Barcode* Generate_List_Barcode::defaultInstance() { return Instance(s_instance); }

void Generate_List_Barcode::Reset_Controls()
{
    pane->reset();
    m_options.reset();
    m_placed = 0;
    m_full = false;
}

int Generate_List_Barcode::Open_Wnd()
{
    Reset_Controls();
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code == 1 ? 1 : 0;
}

void Generate_List_Barcode::Sequintial_Radio_Pressed() { pane->selectRule(Generator_Spec::Sequential); }
void Generate_List_Barcode::Constant_Radio_Pressed() { pane->selectRule(Generator_Spec::Constant); }
void Generate_List_Barcode::Random_Radio_Pressed() { pane->selectRule(Generator_Spec::Random); }
void Generate_List_Barcode::Start_Radio_Pressed() { radioButton_At_Start->setChecked(true); }
void Generate_List_Barcode::End_Radio_Pressed() { radioButton_At_End->setChecked(true); }

void Generate_List_Barcode::OKPressed()
{
    Generator_Spec spec;
    if (!pane->readSpec(&spec))
        return;
    List_Import_Options o = m_options.options();
    if (!o.any()) {
        Show_MessageBox(kNoOption);
        chk_value->setFocus();
        return;
    }
    o.keepUnticked = true;   // the generator fills the ticked columns only
    m_placed = 0;
    m_full = false;
    if (m_list) {
        List_Import_Placer placer(*m_list, o);
        std::vector<List_Line> lines;
        auto flush = [&] {
            placer.place(lines);
            lines.clear();
            return !placer.full();
        };
        // The values go in as they are made, so a run longer than the list
        // holds ends when the list is full.
        Generate_Values(spec, nullptr, [&](const QString& v) {
            lines.push_back(List_Line::Cell(v));
            return lines.size() < 20000 || flush();
        });
        if (!lines.empty())
            flush();
        m_placed = placer.placed();
        m_full = placer.full();
        if (m_full)
            Show_MessageBox(Full_List_Note());
    }
    done(1);
}

void Generate_List_Barcode::CancelPressed() { done(0); }

// ================================================================ worksheet import

Import_Excel_Barcode::Import_Excel_Barcode(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Import List from a Spreadsheet"));
    Apply_Dialog_Background(this);
    auto* col = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    file_path = new QLineEdit;
    file_path->setObjectName("file_path");
    file_path->setReadOnly(true);
    file_path->setMinimumWidth(320);
    top->addWidget(new QLabel(tr("File:")), 0, 0);
    top->addWidget(file_path, 0, 1);
    Sheet_ComboBox = new QComboBox;
    Sheet_ComboBox->setObjectName("Sheet_ComboBox");
    top->addWidget(new QLabel(tr("Sheet:")), 1, 0);
    top->addWidget(Sheet_ComboBox, 1, 1);
    contains_header = new QCheckBox(tr("The first row holds column titles"));
    contains_header->setObjectName("contains_header");
    top->addWidget(contains_header, 2, 1);
    col->addLayout(top);

    QWidget* options = Build_List_Options(this, m_options, true);
    auto* g = static_cast<QGridLayout*>(options->layout());
    chk_value = m_options.chk_value;
    chk_header = m_options.chk_header;
    chk_footer = m_options.chk_footer;
    chk_pq = m_options.chk_pq;
    radioButton_At_Start = m_options.radioButton_At_Start;
    radioButton_At_End = m_options.radioButton_At_End;
    auto combo = [&](const char* name) {
        auto* c = new QComboBox(options);
        c->setObjectName(name);
        c->setMinimumWidth(180);
        return c;
    };
    value_ComboBox = combo("value_ComboBox");
    header_ComboBox = combo("header_ComboBox");
    footer_ComboBox = combo("footer_ComboBox");
    pq_ComboBox = combo("pq_ComboBox");
    const QList<QPair<QCheckBox*, QComboBox*>> pairs{{chk_value, value_ComboBox}, {chk_header, header_ComboBox},
                                                     {chk_footer, footer_ComboBox}, {chk_pq, pq_ComboBox}};
    for (int i = 0; i < pairs.size(); ++i) {
        g->addWidget(pairs[i].first, i, 0);
        g->addWidget(pairs[i].second, i, 1);
        QComboBox* c = pairs[i].second;
        connect(c, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this, c] { Column_Changed(c); });
    }
    col->addWidget(options);
    auto* buttons = Ok_Cancel(this);
    col->addWidget(buttons);
    connect(Sheet_ComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int i) {
        if (!m_filling)
            Sheet_Changed(i);
    });
    connect(radioButton_At_Start, &QRadioButton::clicked, this, [this] { Start_Radio_Pressed(); });
    connect(radioButton_At_End, &QRadioButton::clicked, this, [this] { End_Radio_Pressed(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OKPressed(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { CancelPressed(); });
}

Import_Excel_Barcode::~Import_Excel_Barcode() = default;

Import_Excel_Barcode* Import_Excel_Barcode::defaultInstance() { return Instance(s_instance); }

void Import_Excel_Barcode::Reset_Controls(const QString& path)
{
    m_sheet = 1;
    file_path->setText(path);
    contains_header->setChecked(true);
    m_options.reset();
    m_filling = true;
    Sheet_ComboBox->clear();
    m_filling = false;
    Refresh_Column_Combo();
    val_col = hdr_col = ftr_col = pq_col = -1;
    m_message.clear();
}

void Import_Excel_Barcode::Refresh_Column_Combo()
{
    m_filling = true;
    for (QComboBox* c : {value_ComboBox, header_ComboBox, footer_ComboBox, pq_ComboBox}) {
        c->clear();
        c->setEditText(QString());
    }
    m_filling = false;
}

int Import_Excel_Barcode::Open_excel_Wnd(const QString& path)
{
    Reset_Controls(path);
    if (!Load_file_Func(path))
        return 0;
    const int code = Run_Modal_Dialog(*this);
    hide();
    m_workbook.close();
    return code == 1 ? 1 : 0;
}

bool Import_Excel_Barcode::Load_file_Func(const QString& path)
{
    bool opened = false;
    Run_Series_Job(parentWidget(), tr("Reading the workbook..."),
                   [&](Series_Progress&) { opened = m_workbook.open(path); });
    if (!opened) {
        // Said as it is: what the file is and what to do with it.
        Show_MessageBox(m_workbook.lastError().isEmpty() ? List_File_Invalid_Message : m_workbook.lastError());
        return false;
    }
    m_filling = true;
    Sheet_ComboBox->clear();
    Sheet_ComboBox->addItems(m_workbook.sheetNames());
    m_filling = false;
    if (Sheet_ComboBox->count() > 0) {
        Sheet_ComboBox->setCurrentIndex(0);
        Sheet_Changed(0);
    }
    return true;
}

void Import_Excel_Barcode::Sheet_Changed(int index)
{
    if (index < 0)
        return;
    m_sheet = index + 1;
    Refresh_Column_Combo();
    val_col = hdr_col = ftr_col = pq_col = -1;
    // The title row, as wide as the sheet's columns (the sheet is read
    // through on a worker to find them; only its first row is kept).
    SheetTable header;
    QString error;
    Run_Series_Job(isVisible() ? this : parentWidget(), tr("Reading the sheet..."), [&](Series_Progress& job) {
        header = m_workbook.readHeader(m_sheet, [&job](qint64 done, qint64 total) {
            job.total = total;
            job.done = done;
            return !job.stopped();
        });
        error = m_workbook.lastError();
    });
    if (header.isEmpty()) {
        if (!error.isEmpty())
            Show_MessageBox(error);
        return;
    }
    QStringList titles = header.first();
    for (int i = 0; i < titles.size(); ++i)
        if (Trim_Str(titles[i]).isEmpty())
            titles[i] = QStringLiteral("Untitled Column %1").arg(i + 1);
    for (QComboBox* c : {value_ComboBox, header_ComboBox, footer_ComboBox, pq_ComboBox}) {
        c->addItems(titles);
        c->setCurrentIndex(0);
    }
    val_col = hdr_col = ftr_col = pq_col = 0;
}

void Import_Excel_Barcode::Column_Changed(QComboBox* combo)
{
    if (m_filling)
        return;
    const int i = combo->currentIndex();
    if (combo == value_ComboBox) val_col = i;
    else if (combo == header_ComboBox) hdr_col = i;
    else if (combo == footer_ComboBox) ftr_col = i;
    else if (combo == pq_ComboBox) pq_col = i;
}

void Import_Excel_Barcode::Start_Radio_Pressed() { radioButton_At_Start->setChecked(true); }
void Import_Excel_Barcode::End_Radio_Pressed() { radioButton_At_End->setChecked(true); }

void Import_Excel_Barcode::OKPressed()
{
    const List_Import_Options o = m_options.options();
    if (!o.any()) {
        Show_MessageBox(kNoOption);
        chk_value->setFocus();
        return;
    }
    const struct {
        bool on;
        QComboBox* combo;
        const char* name;
    } checks[] = {{o.value, value_ComboBox, "Barcode Value"},
                  {o.header, header_ComboBox, "Barcode Header"},
                  {o.footer, footer_ComboBox, "Barcode Footer"},
                  {o.pq, pq_ComboBox, "Barcode Print Quantity"}};
    for (const auto& c : checks)
        if (c.on && c.combo->currentIndex() < 0) {
            Show_MessageBox(QStringLiteral("Please select column for '%1' list.").arg(QLatin1String(c.name)));
            return;
        }
    Insert_file_Func();
    done(1);
}

void Import_Excel_Barcode::CancelPressed() { done(0); }

bool Import_Excel_Barcode::Insert_file_Func()
{
    m_message.clear();
    if (!m_list)
        return false;
    const List_Import_Options o = m_options.options();
    const int wanted[4] = {o.value ? val_col : -1, o.header ? hdr_col : -1, o.footer ? ftr_col : -1, o.pq ? pq_col : -1};
    const bool titleRow = contains_header->isChecked();

    // First the sheet is read through on a worker into a compact table whose
    // budget counts the texts the list will hold of it (so a sheet whose
    // rows would not fit is refused before anything is placed); the list is
    // changed only when the whole sheet was read, so a damaged sheet leaves
    // it as it was.
    Sheet_Keep keep;
    for (int column : wanted)
        if (column >= 0)
            keep.columns << column;
    keep.bytesPerUnit = kListBytesPerUnit;  // the list's characters
    keep.bytesPerRow = kListBytesPerRow;    // and its row
    // The rows the list holds already count too, as far as they stay.
    keep.held = List_Held_Beside(*m_list, o, titleRow);
    Sheet_Cells table;
    bool read = false;
    QString error;
    const bool ran = Run_Series_Job(this, tr("Reading the sheet..."), [&](Series_Progress& job) {
        table = m_workbook.readSheet(m_sheet, [&job](qint64 done, qint64 total) {
            job.total = total;
            job.done = done;
            return !job.stopped();
        }, keep);
        error = m_workbook.lastError();
        read = error.isEmpty() && !m_workbook.stopped();
    });
    if (!ran || m_workbook.stopped())
        return false;  // stopped by the user: the list stays as it was
    if (!read) {
        // The window ends after this: the workbook is let go before the
        // failure is told.
        m_workbook.close();
        m_message = error.isEmpty() ? List_File_Invalid_Message : error;
        Show_MessageBox(m_message);
        return false;
    }

    // A row without any cell text uses no list position.
    const qsizetype first = titleRow ? 1 : 0;
    qsizetype total = 0;
    for (qsizetype r = first; r < table.rowCount(); ++r)
        total += table.textCount(r) > 0 ? 1 : 0;
    const List_Sheet_Columns columns{wanted[0] >= 0 ? 0 : -1, wanted[1] >= 0 ? 1 : -1, wanted[2] >= 0 ? 2 : -1,
                                     wanted[3] >= 0 ? 3 : -1};
    List_Import_Placer placer(*m_list, o);
    placer.expect(total);
    Run_Series_Job(this, tr("Importing the rows..."), [&](Series_Progress& job) {
        job.total = total;
        qsizetype next = first;
        std::vector<std::array<QString, 4>> chunk;
        while (next < table.rowCount() && !job.stopped() && !placer.full()) {
            // The texts of a chunk of rows (bounded in rows and characters:
            // the list takes a chunk's rows as strings before it packs them)
            // are made here on the worker; the GUI thread places them.
            chunk.clear();
            qint64 chars = 0;
            for (; next < table.rowCount() && chunk.size() < 20000 && chars < kChunkChars; ++next) {
                if (table.textCount(next) == 0)
                    continue;
                std::array<QString, 4>& taken = chunk.emplace_back();
                for (int k = 0; k < 4; ++k)
                    if (wanted[k] >= 0) {
                        taken[size_t(k)] = table.cell(next, wanted[k]);
                        chars += taken[size_t(k)].size();
                    }
            }
            const bool served = Run_On_Main_Thread_And_Wait([&] {
                std::vector<BarcodeRow> rows;
                rows.reserve(chunk.size());
                int position = placer.position();
                BarcodeRow existing;
                QStringList four;
                for (std::array<QString, 4>& taken : chunk) {
                    four = {std::move(taken[0]), std::move(taken[1]), std::move(taken[2]), std::move(taken[3])};
                    const bool over = position < placer.previousCount() && m_list->rowAt(position, &existing);
                    BarcodeRow row = List_Sheet_Row(four, o, columns, over ? &existing : nullptr);
                    if (Trim_Str(row.Value) != Barcode_List_Separator())
                        ++position;
                    rows.push_back(std::move(row));
                }
                placer.placeRows(std::move(rows));
            });
            if (!served)
                break;
            job.done += qint64(chunk.size());
        }
    });
    if (placer.placed() == 0)
        m_message = List_File_Invalid_Message;
    else if (placer.full())
        m_message = Full_List_Note();
    if (!m_message.isEmpty())
        Show_MessageBox(m_message);
    return placer.placed() > 0;
}
