#pragma once
// The promotion pattern view and the sharing window.
//
// The web addresses the sharing buttons open come from "links.ini" in the
// resources (section [Share]); the file ships with every address empty, and
// a button whose address is empty is hidden.
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QString>

#include <functional>

class QPushButton;

// An image view that lays the main window's pattern picture
// (promotion_pattern_image) under its own picture.
class Promotion_Pattern : public QLabel {
    Q_OBJECT
public:
    explicit Promotion_Pattern(QWidget* parent = nullptr);
    void setPattern(const QImage& pattern);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_pattern;
};

// The address of a link of the resources' "links.ini" ("" when none).
QString Configured_Link(const QString& section, const QString& key);
// The share page of a network ("" when it is not configured), with the
// product's address ([Help] Product) in place of its "%1".
QString Share_Page(const QString& key);

// Shows an alert with the text and "OK", modally; returns the run's result.
int show_msg(const QString& text);

class Share_It_Dlg : public QDialog {
    Q_OBJECT
public:
    explicit Share_It_Dlg(QWidget* parent = nullptr);
    ~Share_It_Dlg() override;
    static Share_It_Dlg* defaultInstance();

    // Shows the buttons whose address is configured and runs the window.
    int Open_Wnd();
    void OK_Pressed();
    void Go_Share_It_Pressed() {}
    void Gplus_Clicked();
    void Facebook_Clicked();
    void Twitter_Clicked();
    void FB_Like_Clicked();

    QPushButton* Gplus_btn = nullptr;
    QPushButton* Facebook_btn = nullptr;
    QPushButton* Twitter_btn = nullptr;
    QPushButton* FB_Like_btn = nullptr;
    QLabel* nothing_lbl = nullptr;     // shown when no address is configured

    // Opens a web address in the default browser; tests replace it.
    static std::function<bool(const QString&)> Open_Link;
    // Keys of the four buttons in section [Share].
    static QString linkKey(const QPushButton* button);

private:
    void open(const char* key);
    static QPointer<Share_It_Dlg> s_instance;
};
