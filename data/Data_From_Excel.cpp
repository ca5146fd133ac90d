#include "data/Data_From_Excel.h"

#include "core/util/MessageBoxes.h"
#include "data/BatchBinding.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

QPointer<Data_From_Excel> Data_From_Excel::s_instance;

// ---------------------------------------------------------------- model

Excel_Rows_Table_Model::Excel_Rows_Table_Model(QObject* parent) : QAbstractTableModel(parent) {}

void Excel_Rows_Table_Model::reload(const Excel_Rows* rows)
{
    beginResetModel();
    m_titles = rows ? rows->columnTitles() : QStringList{Excel_Row_Number_Title};
    m_rows = rows ? rows->ListData() : QList<ExcelRow>();
    endResetModel();
}

int Excel_Rows_Table_Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int Excel_Rows_Table_Model::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_titles.size());
}

QVariant Excel_Rows_Table_Model::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_titles.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_rows.at(index.row()).value(Excel_Column_Key(index.column()));
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant Excel_Rows_Table_Model::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_titles.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_titles.at(section);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

// ---------------------------------------------------------------- window

Data_From_Excel::Data_From_Excel(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Spreadsheet Data"));
    Apply_Dialog_Background(this);
    resize(640, 420);
    auto* col = new QVBoxLayout(this);
    m_model = new Excel_Rows_Table_Model(this);
    ColList = new QTableView;
    ColList->setModel(m_model);
    ColList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ColList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ColList->setSelectionMode(QAbstractItemView::SingleSelection);
    ColList->horizontalHeader()->setDefaultSectionSize(100);
    ColList->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ColList->verticalHeader()->setVisible(false);
    col->addWidget(ColList, 1);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Rows:")));
    rows_count = new QLabel(QStringLiteral("0"));
    row->addWidget(rows_count);
    row->addSpacing(16);
    row->addWidget(new QLabel(QStringLiteral("Columns:")));
    column_count = new QLabel(QStringLiteral("0"));
    row->addWidget(column_count);
    row->addStretch();
    ok_button = new QPushButton(QStringLiteral("OK"));
    ok_button->setDefault(true);
    row->addWidget(ok_button);
    col->addLayout(row);
    connect(ok_button, &QPushButton::clicked, this, &Data_From_Excel::OK_Click);
}

Data_From_Excel* Data_From_Excel::defaultInstance()
{
    Data_From_Excel* viewer = nullptr;
    Run_On_Main_Thread_And_Wait([&] {
        if (!s_instance) {
            s_instance = new Data_From_Excel(Dialog_Parent_Window());
        }
        viewer = s_instance;
    });
    return viewer;
}

Excel_Rows* Data_From_Excel::rows() const
{
    return m_source;
}

void Data_From_Excel::Reset_Controls()
{
    m_model->reload(rows());
    rows_count->setText(QString::number(m_model->rowCount()));
    column_count->setText(QString::number(m_model->columnCount()));
    // Column 0 (row numbers) narrow, the value columns 100 points.
    ColList->setColumnWidth(0, 48);
    for (int c = 1; c < m_model->columnCount(); ++c)
        ColList->setColumnWidth(c, 100);
}

int Data_From_Excel::Open_Wnd()
{
    int code = 0;
    Run_On_Main_Thread_And_Wait([&] {
        try {
            Reset_Controls();
            code = Run_Modal_Dialog(*this);
            hide();
        } catch (const std::exception& e) {
            Show_NSLog_Message(QString::fromUtf8(e.what()));
            code = 0;
        }
    });
    return code;
}

void Data_From_Excel::OK_Click() { done(1); }

void Data_From_Excel::Mark_List_New_Selection(int index)
{
    if (index < 0 || index >= m_model->rowCount())
        return;
    ColList->selectionModel()->select(m_model->index(index, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ColList->scrollTo(m_model->index(index, 0));
}
