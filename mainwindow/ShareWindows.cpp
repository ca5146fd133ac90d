#include "mainwindow/ShareWindows.h"

#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "platform/MessageSink.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QUrl>
#include <QVBoxLayout>

#include <functional>

Promotion_Pattern::Promotion_Pattern(QWidget* parent) : QLabel(parent) {}

void Promotion_Pattern::setPattern(const QImage& pattern)
{
    m_pattern = pattern;
    update();
}

void Promotion_Pattern::paintEvent(QPaintEvent* event)
{
    if (!m_pattern.isNull()) {
        QPainter p(this);
        p.fillRect(event->rect(), QBrush(m_pattern));
    }
    QLabel::paintEvent(event);   // the view's own picture lies over the pattern
}

QString Configured_Link(const QString& section, const QString& key)
{
    const QString file = QDir(Folders.Resource_Path).filePath(QStringLiteral("links.ini"));
    QSettings settings(file, QSettings::IniFormat);
    return settings.value(section + QLatin1Char('/') + key).toString().trimmed();
}

QString Share_Page(const QString& key)
{
    const QString page = Configured_Link(QStringLiteral("Share"), key);
    if (!page.contains(QStringLiteral("%1")))
        return page;
    const QString product = Configured_Link(QStringLiteral("Help"), QStringLiteral("Product"));
    if (product.isEmpty())
        return QString();
    return page.arg(QString::fromLatin1(QUrl::toPercentEncoding(product)));
}

int show_msg(const QString& text)
{
    MessageRequest r;
    r.text = text;
    r.buttons = {QStringLiteral("OK")};
    return Raise_Message(r);
}

std::function<bool(const QString&)> Share_It_Dlg::Open_Link = [](const QString& address) {
    return QDesktopServices::openUrl(QUrl(address));
};
QPointer<Share_It_Dlg> Share_It_Dlg::s_instance;

Share_It_Dlg::Share_It_Dlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Share_It_Dlg"));
    setWindowTitle(tr("Share"));
    setStyleSheet(QStringLiteral("QDialog { background: rgb(241, 244, 250); }"));
    if (!s_instance)
        s_instance = this;
    auto* v = new QVBoxLayout(this);
    auto button = [this, v](const char* title, const char* key, void (Share_It_Dlg::*slot)()) {
        auto* b = new QPushButton(tr(title), this);
        b->setObjectName(QString::fromLatin1(key));
        v->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    Gplus_btn = button("Share on Google+", "Gplus", &Share_It_Dlg::Gplus_Clicked);
    Facebook_btn = button("Share on Facebook", "Facebook", &Share_It_Dlg::Facebook_Clicked);
    Twitter_btn = button("Share on Twitter", "Twitter", &Share_It_Dlg::Twitter_Clicked);
    FB_Like_btn = button("Like on Facebook", "FB_Like", &Share_It_Dlg::FB_Like_Clicked);
    nothing_lbl = new QLabel(tr("No sharing pages are set up for this installation."), this);
    v->addWidget(nothing_lbl);
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    v->addWidget(ok);
    connect(ok, &QDialogButtonBox::accepted, this, &Share_It_Dlg::OK_Pressed);
}

Share_It_Dlg::~Share_It_Dlg()
{
    if (s_instance == this)
        s_instance = nullptr;
}

Share_It_Dlg* Share_It_Dlg::defaultInstance()
{
    if (!s_instance)
        new Share_It_Dlg(Dialog_Parent_Window());
    return s_instance;
}

QString Share_It_Dlg::linkKey(const QPushButton* button)
{
    return button ? button->objectName() : QString();
}

int Share_It_Dlg::Open_Wnd()
{
    bool any = false;
    for (QPushButton* b : {Gplus_btn, Facebook_btn, Twitter_btn, FB_Like_btn}) {
        const bool has = !Share_Page(linkKey(b)).isEmpty();
        b->setVisible(has);
        any = any || has;
    }
    nothing_lbl->setVisible(!any);
    setWindowModality(parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code;
}

void Share_It_Dlg::OK_Pressed()
{
    done(1);
}

void Share_It_Dlg::open(const char* key)
{
    // A page that stands for the product's address opens with it.
    const QString address = Share_Page(QString::fromLatin1(key));
    if (!address.isEmpty() && Open_Link)
        Open_Link(address);
}

void Share_It_Dlg::Gplus_Clicked() { open("Gplus"); }
void Share_It_Dlg::Facebook_Clicked() { open("Facebook"); }
void Share_It_Dlg::Twitter_Clicked() { open("Twitter"); }
void Share_It_Dlg::FB_Like_Clicked() { open("FB_Like"); }
