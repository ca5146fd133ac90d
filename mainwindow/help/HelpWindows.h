#pragma once
// The help and support window, the link openers of the main window, the
// promotion window for the maker's other products, the please-wait window
// and the help toolbar item's size.
//
// Every web and mail address comes from the resources' "links.ini", empty as
// shipped: a button or command whose address is empty is hidden, so a build
// without addresses shows only the user help.
//
//   [Help]   Website, Website2, Website3, Support, Reseller, Product, Comments, Video
//   [Share]  Gplus, Facebook, Twitter, FB_Like (share pages; a "%1" in one
//            stands for the product's address, [Help] Product, percent-encoded)
//   [Promotion] <K>_Title, <K>_Short, <K>_Long, <K>_Picture, <K>_Mail,
//            <K>_Mail_Subject, <K>_Mail_Body, <K>_Contact, <K>_Order  (K = S, R, B)
#include "core/util/Helpers.h"
#include "mainwindow/ShareWindows.h"

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QSize>
#include <QString>

#include <functional>

class QLabel;
class QPushButton;

// The address of a link ("" when none), trimmed.
QString Help_Link(const QString& section, const QString& key);

// Opens a web or mail address with the desktop (browser, mail program);
// tests replace it. Nothing is reported when the desktop cannot open it.
extern std::function<bool(const QString& address)> Open_Link_Address;

// The look of a link button: bold blue underlined text of 11 points on
// `background`, the open-hand cursor.
void Style_Link_Button(QPushButton* button, const QColor& background);

// A mail link: "mailto:" + address, "?subject=" + subject, "&body=" + body;
// trimmed, then every line break "%0A%0A" and every blank "%20".
QString Mail_Link(const QString& address, const QString& subject, const QString& body);

// ---- Link openers of the main window ----
void Open_Support_Mail();
void Open_Reseller_Mail();
void Open_Website_1();
void Open_Website_2();
void Open_Website_3();
void Open_Google_Plus();
void Open_FaceBook();
void Open_Twitter();
void Open_FB_Like();
void Open_Share_It_Dl();
// The reseller enquiry's subject and body.
QString Reseller_Mail_Link();

class Help_Support : public QDialog {
    Q_OBJECT
public:
    explicit Help_Support(QWidget* parent = nullptr);
    static Help_Support* defaultInstance();

    // Runs the window; its close button ends the run with 1.
    int Open_Wnd();
    // Opens "Help.pdf" of the resources (Open_Help_File), or says "Help file
    // does not exist!"; without a PDF viewer it says where the file is.
    void HelpFilePressed();
    // The sharing window.
    void Share_It_Button_Clicked();
    void Gplus_Clicked() { Open_Google_Plus(); }
    void Facebook_Clicked() { Open_FaceBook(); }
    void Twitter_Clicked() { Open_Twitter(); }
    void FB_Like_Clicked() { Open_FB_Like(); }
    void Social_Comments_Clicked() {}

    // Shows the buttons whose address is configured.
    void Refresh_Links();

    QPushButton* website_1 = nullptr;
    QPushButton* reseller_1 = nullptr;
    QPushButton* reseller_2 = nullptr;
    QPushButton* support_id = nullptr;
    QPushButton* support_id_2 = nullptr;
    QPushButton* _Help_File_Label = nullptr;
    QPushButton* Gplus_btn = nullptr;
    QPushButton* Facebook_btn = nullptr;
    QPushButton* Twitter_btn = nullptr;
    QPushButton* FB_Like_btn = nullptr;
    QPushButton* share_btn = nullptr;     // the sharing window, when a share page is set up
    QLabel* help_file_lbl = nullptr;      // where the user help is
    QPushButton* close_btn = nullptr;

private:
    // The main window's help window.
    static QPointer<Help_Support> HelpWindow;
};

class Promotion_Form : public QDialog {
    Q_OBJECT
public:
    explicit Promotion_Form(QWidget* parent = nullptr);
    static Promotion_Form* defaultInstance();

    // Whether a product kind ("S", "R", "B") has anything to show.
    static bool Has_Product(const QString& kind);

    // Shows the current kind's picture and texts and runs the window; the
    // modal result (1 from OK), 0 after a failure.
    int Open_Promotion_Window();
    void OK_Clicked();
    void Open_Link(const QString& link);
    void Mail_Clicked();
    void Contact_us_Clicked();
    void Order_Clicked();
    void youtube_Clicked();

    // "S", "R" or "B"; any other value shows what was shown before and links nowhere.
    QString software_type;

    QLabel* Software_title = nullptr;
    QLabel* short_descp = nullptr;
    QLabel* long_descp = nullptr;
    // The product's picture over the window's pattern (Promotion_Pattern).
    QLabel* bundle_image = nullptr;
    QPushButton* website_1 = nullptr;
    QPushButton* support_id = nullptr;
    QPushButton* mail_btn = nullptr;
    QPushButton* contact_btn = nullptr;
    QPushButton* order_btn = nullptr;
    QPushButton* youtube_btn = nullptr;

    // The links built once, by kind.
    QString sms_mail_link, sms_contact_link, sms_order_link;
    QString rec_mail_link, rec_contact_link, rec_order_link;
    QString bar_mail_link, bar_contact_link, bar_order_link;
    QImage sms_bundle_image, rec_bundle_image, bar_bundle_image;

private:
    QString linkOf(const QString& sms, const QString& rec, const QString& bar) const;
    static QPointer<Promotion_Form> s_instance;
};

// Sets the kind and opens the promotion window.
// The title of a product kind ("S", "R", "B"), "" when none is set up.
QString Promotion_Title(const QString& kind);
int ZORV_SMS_Prmotion();
int ZORV_Recovery_Prmotion();
int ZORV_Barcode_Prmotion();

// "It may take a while, Please wait.." as a window of its own.
class PleaseWait_Modeless : public QDialog {
    Q_OBJECT
public:
    explicit PleaseWait_Modeless(QWidget* parent = nullptr);
};

// The help toolbar item keeps at least this size, in points.
struct Toolbar_help {
    static QSize minSize() { return QSize(42, 27); }
};
