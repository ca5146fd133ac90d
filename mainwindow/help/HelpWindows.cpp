#include "mainwindow/help/HelpWindows.h"

#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "mainwindow/LMNWindowController.h"
#include "mainwindow/ShareWindows.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString appName()
{
    return QCoreApplication::applicationName();
}

void Style_Link(QPushButton* b)
{
    Style_Link_Button(b, QColor(241, 244, 250));
}

void Window_Look(QDialog* d)
{
    d->setStyleSheet(QStringLiteral("QDialog { background: rgb(241, 244, 250); }"));
}

void Open(const QString& address)
{
    if (address.isEmpty())
        return;
    try {
        Open_Link_Address(address);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

} // namespace

void Style_Link_Button(QPushButton* b, const QColor& background)
{
    b->setFlat(true);
    b->setCursor(Qt::OpenHandCursor);
    b->setStyleSheet(QStringLiteral("QPushButton { color: blue; font-weight: bold; font-size: 11pt;"
                                    " text-decoration: underline; background: %1;"
                                    " border: none; padding: 2px 6px; text-align: left; }")
                         .arg(background.name()));
}

std::function<bool(const QString&)> Open_Link_Address = [](const QString& address) {
    return QDesktopServices::openUrl(QUrl(address));
};

QString Help_Link(const QString& section, const QString& key)
{
    return Configured_Link(section, key);
}

QString Mail_Link(const QString& address, const QString& subject, const QString& body)
{
    if (address.trimmed().isEmpty())
        return QString();
    QString link = QStringLiteral("mailto:") + address.trimmed();
    if (!subject.isEmpty())
        link += QStringLiteral("?subject=") + subject;
    if (!body.isEmpty())
        link += (subject.isEmpty() ? QStringLiteral("?body=") : QStringLiteral("&body=")) + body;
    link = link.trimmed();
    link.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    link.replace(QLatin1Char('\n'), QStringLiteral("%0A%0A"));
    link.replace(QLatin1Char(' '), QStringLiteral("%20"));
    return link;
}

QString Reseller_Mail_Link()
{
    const QString body = QStringLiteral(
        "Hello,\n"
        "We would like to work with you. Our business name and contact information:\n"
        "==============================\n"
        "Business name:\n"
        "Contact person:\n"
        "E-mail and telephone:\n"
        "==============================\n"
        "The partnership we are interested in (please mark one):\n"
        "1. Affiliate: earning a commission on each sale we refer.\n"
        "2. Reseller: buying several copies at a discount to resell.\n"
        "3. Advanced partnership: (please describe)\n");
    return Mail_Link(Help_Link(QStringLiteral("Help"), QStringLiteral("Reseller")),
                     QStringLiteral("Affiliate/Partnership%20Enquiry"), body);
}

void Open_Support_Mail() { Open(Mail_Link(Help_Link("Help", "Support"), QString(), QString())); }
void Open_Reseller_Mail() { Open(Reseller_Mail_Link()); }
void Open_Website_1() { Open(Help_Link("Help", "Website")); }
void Open_Website_2() { Open(Help_Link("Help", "Website2")); }
void Open_Website_3() { Open(Help_Link("Help", "Website3")); }
void Open_Google_Plus() { Open(Share_Page("Gplus")); }
void Open_FaceBook() { Open(Share_Page("Facebook")); }
void Open_Twitter() { Open(Share_Page("Twitter")); }
void Open_FB_Like() { Open(Share_Page("FB_Like")); }
void Open_Share_It_Dl() { Open(Help_Link("Help", "Comments")); }

// ---------------------------------------------------------------- help and support

QPointer<Help_Support> Help_Support::HelpWindow;

Help_Support* Help_Support::defaultInstance()
{
    if (!HelpWindow)
        HelpWindow = new Help_Support(Message_Parent());
    return HelpWindow;
}

Help_Support::Help_Support(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Help_Support"));
    setWindowTitle(tr("Help and Support"));
    Window_Look(this);
    auto* v = new QVBoxLayout(this);
    auto* title = new QLabel(tr("<b>%1</b>").arg(appName().toHtmlEscaped()), this);
    v->addWidget(title);
    v->addWidget(new QLabel(tr("The user help shows every window of both modes and teaches the common tasks."), this));

    const auto link = [this, v](QPushButton*& b, const char* name, const QString& text, auto action) {
        b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        Style_Link(b);
        connect(b, &QPushButton::clicked, this, action);
        v->addWidget(b);
    };
    link(_Help_File_Label, "_Help_File_Label", tr("Open the user help (PDF)"), [this] { HelpFilePressed(); });
    help_file_lbl = new QLabel(this);
    help_file_lbl->setObjectName(QStringLiteral("help_file_lbl"));
    help_file_lbl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    help_file_lbl->setWordWrap(true);
    v->addWidget(help_file_lbl);
    link(website_1, "website_1", tr("Web site"), [] { Open_Website_1(); });
    link(support_id, "support_id", tr("Write to support"), [] { Open_Support_Mail(); });
    link(support_id_2, "support_id_2", tr("Report a problem"), [] { Open_Support_Mail(); });
    link(reseller_1, "reseller_1", tr("Become a reseller"), [] { Open_Reseller_Mail(); });
    link(reseller_2, "reseller_2", tr("Partnership enquiry"), [] { Open_Reseller_Mail(); });

    auto* share = new QHBoxLayout;
    const auto social = [this, share](QPushButton*& b, const char* name, const QString& text, auto action) {
        b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        connect(b, &QPushButton::clicked, this, action);
        share->addWidget(b);
    };
    social(Gplus_btn, "Gplus_btn", tr("Google+"), [this] { Gplus_Clicked(); });
    social(Facebook_btn, "Facebook_btn", tr("Facebook"), [this] { Facebook_Clicked(); });
    social(Twitter_btn, "Twitter_btn", tr("Twitter"), [this] { Twitter_Clicked(); });
    social(FB_Like_btn, "FB_Like_btn", tr("Like"), [this] { FB_Like_Clicked(); });
    social(share_btn, "share_btn", tr("Share..."), [this] { Share_It_Button_Clicked(); });
    share->addStretch();
    v->addLayout(share);

    close_btn = new QPushButton(tr("Close"), this);
    close_btn->setObjectName(QStringLiteral("close_btn"));
    connect(close_btn, &QPushButton::clicked, this, [this] { done(1); });
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(close_btn);
    v->addLayout(bottom);
    Refresh_Links();
}

void Help_Support::Refresh_Links()
{
    website_1->setVisible(!Help_Link("Help", "Website").isEmpty());
    const bool support = !Help_Link("Help", "Support").isEmpty();
    support_id->setVisible(support);
    support_id_2->setVisible(support);
    const bool reseller = !Help_Link("Help", "Reseller").isEmpty();
    reseller_1->setVisible(reseller);
    reseller_2->setVisible(reseller);
    Gplus_btn->setVisible(!Share_Page("Gplus").isEmpty());
    Facebook_btn->setVisible(!Share_Page("Facebook").isEmpty());
    Twitter_btn->setVisible(!Share_Page("Twitter").isEmpty());
    FB_Like_btn->setVisible(!Share_Page("FB_Like").isEmpty());
    share_btn->setVisible(!Gplus_btn->isHidden() || !Facebook_btn->isHidden() || !Twitter_btn->isHidden()
                          || !FB_Like_btn->isHidden());
    help_file_lbl->setText(tr("The user help is the file %1").arg(Help_File_Path()));
}

void Help_Support::Share_It_Button_Clicked()
{
    Share_It_Dlg::defaultInstance()->Open_Wnd();
}

int Help_Support::Open_Wnd()
{
    Refresh_Links();
    const int result = Run_Modal_Dialog(*this);
    hide();
    return result;
}

void Help_Support::HelpFilePressed()
{
    Open_Help_File();
}

// ---------------------------------------------------------------- promotion

QPointer<Promotion_Form> Promotion_Form::s_instance;

Promotion_Form* Promotion_Form::defaultInstance()
{
    if (!s_instance)
        s_instance = new Promotion_Form(Message_Parent());
    return s_instance;
}

bool Promotion_Form::Has_Product(const QString& kind)
{
    return !Help_Link(QStringLiteral("Promotion"), kind + QStringLiteral("_Title")).isEmpty();
}

Promotion_Form::Promotion_Form(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Promotion_Form"));
    setWindowTitle(tr("Other products"));
    Window_Look(this);
    auto* grid = new QGridLayout(this);
    // The product's picture lies over the window's pattern.
    auto* picture = new Promotion_Pattern(this);
    if (LMNWindowController* window = LMNWindowController::defaultInstance())
        picture->setPattern(window->promotion_pattern_image);
    picture->setAlignment(Qt::AlignCenter);
    bundle_image = picture;
    bundle_image->setObjectName(QStringLiteral("bundle_image"));
    bundle_image->setFixedSize(160, 160);
    Software_title = new QLabel(this);
    Software_title->setObjectName(QStringLiteral("Software_title"));
    short_descp = new QLabel(this);
    short_descp->setWordWrap(true);
    long_descp = new QLabel(this);
    long_descp->setWordWrap(true);
    grid->addWidget(bundle_image, 0, 0, 3, 1);
    grid->addWidget(Software_title, 0, 1);
    grid->addWidget(short_descp, 1, 1);
    grid->addWidget(long_descp, 2, 1);

    auto* links = new QHBoxLayout;
    const auto button = [this, links](QPushButton*& b, const char* name, const QString& text, auto action) {
        b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        Style_Link(b);
        connect(b, &QPushButton::clicked, this, action);
        links->addWidget(b);
    };
    button(mail_btn, "mail_btn", tr("How to"), [this] { Mail_Clicked(); });
    button(contact_btn, "contact_btn", tr("Contact us"), [this] { Contact_us_Clicked(); });
    button(order_btn, "order_btn", tr("Order"), [this] { Order_Clicked(); });
    button(youtube_btn, "youtube_btn", tr("Videos"), [this] { youtube_Clicked(); });
    button(website_1, "website_1", tr("Web site"), [] { Open_Website_1(); });
    button(support_id, "support_id", tr("Support"), [] { Open_Support_Mail(); });
    grid->addLayout(links, 3, 0, 1, 2);
    auto* ok = new QPushButton(tr("OK"), this);
    connect(ok, &QPushButton::clicked, this, &Promotion_Form::OK_Clicked);
    grid->addWidget(ok, 4, 1, Qt::AlignRight);

    // The links and pictures are built once.
    const QString name = appName();
    const auto build = [&name](const QString& k, QString& mail, QString& contact, QString& order, QImage& picture) {
        const QString p = QStringLiteral("Promotion");
        const QString title = Help_Link(p, k + "_Title");
        mail = Mail_Link(Help_Link(p, k + "_Mail"), Help_Link(p, k + "_Mail_Subject"), Help_Link(p, k + "_Mail_Body"));
        contact = Mail_Link(Help_Link(p, k + "_Contact"), QStringLiteral("User Enquiry from App: ") + name,
                            QStringLiteral("Hello %1 Team,\nI read about your product in %2 and I have a query:\n")
                                .arg(title, name));
        order = Help_Link(p, k + "_Order");
        const QString pic = Help_Link(p, k + "_Picture");
        picture = pic.isEmpty() ? QImage() : QImage(Path_Join(Folders.Resource_Path, pic));
    };
    build(QStringLiteral("S"), sms_mail_link, sms_contact_link, sms_order_link, sms_bundle_image);
    build(QStringLiteral("R"), rec_mail_link, rec_contact_link, rec_order_link, rec_bundle_image);
    build(QStringLiteral("B"), bar_mail_link, bar_contact_link, bar_order_link, bar_bundle_image);
}

QString Promotion_Form::linkOf(const QString& sms, const QString& rec, const QString& bar) const
{
    if (software_type == QLatin1String("S")) return sms;
    if (software_type == QLatin1String("R")) return rec;
    if (software_type == QLatin1String("B")) return bar;
    return QString("");
}

int Promotion_Form::Open_Promotion_Window()
{
    try {
        const QString k = software_type;
        if (k == QLatin1String("S") || k == QLatin1String("R") || k == QLatin1String("B")) {
            const QString p = QStringLiteral("Promotion");
            const QImage& picture = k == "S" ? sms_bundle_image : k == "R" ? rec_bundle_image : bar_bundle_image;
            bundle_image->setPixmap(picture.isNull() ? QPixmap()
                                                     : QPixmap::fromImage(picture.scaled(
                                                           128, 128, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
            Software_title->setText(Help_Link(p, k + "_Title"));
            short_descp->setText(Help_Link(p, k + "_Short"));
            long_descp->setText(Help_Link(p, k + "_Long"));
        }
        mail_btn->setVisible(!linkOf(sms_mail_link, rec_mail_link, bar_mail_link).isEmpty());
        contact_btn->setVisible(!linkOf(sms_contact_link, rec_contact_link, bar_contact_link).isEmpty());
        order_btn->setVisible(!linkOf(sms_order_link, rec_order_link, bar_order_link).isEmpty());
        youtube_btn->setVisible(!Help_Link("Help", "Video").isEmpty());
        website_1->setVisible(!Help_Link("Help", "Website").isEmpty());
        support_id->setVisible(!Help_Link("Help", "Support").isEmpty());
        const int result = Run_Modal_Dialog(*this);
        hide();
        return result;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return 0;
    }
}

void Promotion_Form::OK_Clicked() { done(1); }
void Promotion_Form::Open_Link(const QString& link) { Open(link); }
void Promotion_Form::Mail_Clicked() { Open_Link(linkOf(sms_mail_link, rec_mail_link, bar_mail_link)); }
void Promotion_Form::Contact_us_Clicked() { Open_Link(linkOf(sms_contact_link, rec_contact_link, bar_contact_link)); }
void Promotion_Form::Order_Clicked() { Open_Link(linkOf(sms_order_link, rec_order_link, bar_order_link)); }
void Promotion_Form::youtube_Clicked() { Open_Link(Help_Link("Help", "Video")); }

QString Promotion_Title(const QString& kind)
{
    return Help_Link(QStringLiteral("Promotion"), kind + QStringLiteral("_Title"));
}

static int Promote(const char* kind)
{
    Promotion_Form* f = Promotion_Form::defaultInstance();
    f->software_type = QLatin1String(kind);
    return f->Open_Promotion_Window();
}

int ZORV_SMS_Prmotion() { return Promote("S"); }
int ZORV_Recovery_Prmotion() { return Promote("R"); }
int ZORV_Barcode_Prmotion() { return Promote("B"); }

// ---------------------------------------------------------------- please wait

PleaseWait_Modeless::PleaseWait_Modeless(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PleaseWait_Modeless"));
    Window_Look(this);
    setModal(false);
    auto* v = new QVBoxLayout(this);
    v->addWidget(new QLabel(tr("It may take a while, Please wait.."), this));
}
