#include "data/series/View_Data_Series.h"

#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"
#include "data/SeriesStore.h"
#include "data/series/SeriesJob.h"
#include "data/series/SeriesModels.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

QPointer<View_Data_Series> View_Data_Series::s_instance;

View_Data_Series::View_Data_Series(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Series Values"));
    Apply_Dialog_Background(this);
    resize(420, 460);
    auto* col = new QVBoxLayout(this);
    series_name = new QLabel;
    QFont bold = series_name->font();
    bold.setBold(true);
    series_name->setFont(bold);
    col->addWidget(series_name);
    m_model = new Series_String_Model(QStringLiteral("Values"), this);
    List = new QTableView;
    List->setModel(m_model);
    Setup_Series_Table(List, false);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    col->addWidget(List, 1);
    auto* row = new QHBoxLayout;
    list_count = new QLabel;
    row->addWidget(list_count, 1);
    ok_btn = new QPushButton(QStringLiteral("OK"));
    ok_btn->setDefault(true);
    row->addWidget(ok_btn);
    col->addLayout(row);
    connect(ok_btn, &QPushButton::clicked, this, &View_Data_Series::OK_Btn_Clicked);
}

View_Data_Series* View_Data_Series::defaultInstance()
{
    return Gui_Window_Instance(s_instance);
}

int View_Data_Series::Open_Wnd()
{
    Reset_Controls();
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code;
}

void View_Data_Series::Reset_Controls()
{
    series_name->setText(file_name);
    m_model->clear();
    QStringList shown;
    try {
        const QString name = file_name;
        Run_Series_Job(this, QString(), [&](Series_Progress& p) {
            const QStringList values = Read_Series_Values(name);
            p.total = values.size();
            qint64 n = 0;
            for (const QString& v : values) {
                if (p.stopped())
                    return;
                const QString t = Trim_Str(v);
                if (!t.isEmpty())
                    shown << t;
                p.done = ++n;
            }
        });
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
    m_model->setValues(shown);
    list_count->setText(QStringLiteral("Total Rows : %1").arg(shown.size()));
}

void View_Data_Series::OK_Btn_Clicked()
{
    done(1);
}

QStringList View_Data_Series::ListData() const
{
    return m_model->values();
}
