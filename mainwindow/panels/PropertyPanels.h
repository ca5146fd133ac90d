#pragma once
// The property side of designing mode: one tab view (`sett_tab`) whose tabs
// are exchanged as the selection of the canvas changes, and one class per
// tab. Each panel owns its widgets and is loaded from the card model or from
// an item (load). The panels that edit the card and the items arrive with the
// panel work; until then a panel shows what it can of the card or the item,
// read-only, and offers no control that does nothing.
#include <QList>
#include <QString>
#include <QWidget>

class Card_Property;
class LMNGraphic;
class QFormLayout;
class QLabel;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

// A panel of the property side.
class PropertyPanel : public QWidget {
    Q_OBJECT
public:
    explicit PropertyPanel(const QString& objectName, QWidget* parent = nullptr);

protected:
    // A read-only row "caption  value"; returns the value label.
    QLabel* addRow(const QString& caption);
    QVBoxLayout* column() const { return m_column; }

private:
    QVBoxLayout* m_column = nullptr;
    QFormLayout* m_form = nullptr;
};

// ---- The card's tabs ----
class CardSettingPanel : public PropertyPanel {   // card_setting_tab
    Q_OBJECT
public:
    explicit CardSettingPanel(QWidget* parent = nullptr);
    void load(const Card_Property& card);
private:
    QLabel* m_name = nullptr;
};

class CardInfoPanel : public PropertyPanel {      // card_info_tab
    Q_OBJECT
public:
    explicit CardInfoPanel(QWidget* parent = nullptr);
    void load(const Card_Property& card);
private:
    QLabel *m_name = nullptr, *m_preset = nullptr, *m_category = nullptr, *m_sides = nullptr;
};

class CardSizePanel : public PropertyPanel {      // card_size_tab
    Q_OBJECT
public:
    explicit CardSizePanel(QWidget* parent = nullptr);
    void load(const Card_Property& card);
    QString sizeText() const;
private:
    QLabel *m_size = nullptr, *m_shape = nullptr;
};

class CardBackgroundPanel : public PropertyPanel { // card_bkgd_tab
    Q_OBJECT
public:
    explicit CardBackgroundPanel(QWidget* parent = nullptr);
    void load(const Card_Property& card);
private:
    QLabel *m_fill = nullptr, *m_picture = nullptr, *m_watermark = nullptr;
};

class CardBorderPanel : public PropertyPanel {    // card_brdr_tab
    Q_OBJECT
public:
    explicit CardBorderPanel(QWidget* parent = nullptr);
    void load(const Card_Property& card);
private:
    QLabel* m_border = nullptr;
};

// ---- An item's tabs ----
// A panel summing up one kind of item: position and size, and what the kind
// holds.
class ItemSummaryPanel : public PropertyPanel {
    Q_OBJECT
public:
    explicit ItemSummaryPanel(const QString& objectName, QWidget* parent = nullptr);
    virtual void load(const LMNGraphic& item);
protected:
    QLabel *m_position = nullptr, *m_size = nullptr;
};

class LinePanel : public ItemSummaryPanel {              // line_tab
    Q_OBJECT
public:
    explicit LinePanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item) override;
private:
    QLabel* m_stroke = nullptr;
};

class ShapePanel : public ItemSummaryPanel {             // shape_tab
    Q_OBJECT
public:
    explicit ShapePanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item) override;
    // "Rectangle Settings", "Star Settings"... by shape code; "" for an unknown code.
    static QString Shape_Title(const QString& shapeCode);
private:
    QLabel *m_kind = nullptr, *m_fill = nullptr, *m_border = nullptr;
};

class TextEditingPanel : public ItemSummaryPanel {       // text_edtng_tab
    Q_OBJECT
public:
    explicit TextEditingPanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item) override;
private:
    QLabel* m_text = nullptr;
};

class TextPropertiesPanel : public ItemSummaryPanel {    // text_prop_tab
    Q_OBJECT
public:
    explicit TextPropertiesPanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item) override;
private:
    QLabel *m_font = nullptr, *m_colour = nullptr;
};

class PicturePanel : public ItemSummaryPanel {           // image_tab
    Q_OBJECT
public:
    explicit PicturePanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item) override;
private:
    QLabel* m_file = nullptr;
};

class SignaturePanel : public ItemSummaryPanel {         // sign_tab
    Q_OBJECT
public:
    explicit SignaturePanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item) override;
private:
    QLabel *m_kind = nullptr, *m_file = nullptr;
};

class DataSourcePanel : public ItemSummaryPanel {        // datasource_tab
    Q_OBJECT
public:
    explicit DataSourcePanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item) override;
private:
    QLabel *m_source = nullptr, *m_series = nullptr;
};

class BarcodeItemPanel : public ItemSummaryPanel {       // barcode_tab
    Q_OBJECT
public:
    explicit BarcodeItemPanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item) override;
private:
    QLabel *m_type = nullptr, *m_value = nullptr;
};

// The alignment commands of the canvas for the selection.
class AlignmentPanel : public PropertyPanel {            // aligmnt_tab
    Q_OBJECT
public:
    explicit AlignmentPanel(QWidget* parent = nullptr);
    // The buttons, by the canvas command each runs ("alignLeftEdges"...).
    QList<QPushButton*> buttons() const { return m_buttons; }
signals:
    // A button asks for the canvas command of that name.
    void commandRequested(const QString& action);
private:
    QList<QPushButton*> m_buttons;
};

// A locked item: its kind and the way to unlock it.
class LockPanel : public PropertyPanel {                 // Lock_tab
    Q_OBJECT
public:
    explicit LockPanel(QWidget* parent = nullptr);
    void load(const LMNGraphic& item, const QString& title);
    QPushButton* unlockButton() const { return m_unlock; }
signals:
    void unlockRequested();
private:
    QLabel* m_what = nullptr;
    QPushButton* m_unlock = nullptr;
};

// The host of the panels: the title above the tabs and the tab view, with
// the fifteen tab items kept whether shown or not.
class PropertyPanelHost : public QWidget {
    Q_OBJECT
public:
    explicit PropertyPanelHost(QWidget* parent = nullptr);

    QLabel* properties_title = nullptr;
    QTabWidget* sett_tab = nullptr;

    CardSettingPanel* card_setting_tab = nullptr;
    CardInfoPanel* card_info_tab = nullptr;
    CardSizePanel* card_size_tab = nullptr;
    CardBackgroundPanel* card_bkgd_tab = nullptr;
    CardBorderPanel* card_brdr_tab = nullptr;
    LinePanel* line_tab = nullptr;
    ShapePanel* shape_tab = nullptr;
    TextEditingPanel* text_edtng_tab = nullptr;
    TextPropertiesPanel* text_prop_tab = nullptr;
    PicturePanel* image_tab = nullptr;
    SignaturePanel* sign_tab = nullptr;
    DataSourcePanel* datasource_tab = nullptr;
    AlignmentPanel* aligmnt_tab = nullptr;
    BarcodeItemPanel* barcode_tab = nullptr;
    LockPanel* Lock_tab = nullptr;

    // The fifteen tab items by position (card_setting_tab first).
    QList<QWidget*> tabItems() const;

    // "Label Properties" and the four card tabs.
    void Fill_Card_Prop_Tab();
    void Remove_All_Tab_Items();
    void Load_Card(const Card_Property& card);
    // The tabs of the item's kind (or the lock tab for a locked item), loaded
    // from it; `startOption` "V" or "G" leaves out the data-source tab.
    void Load_Item(const LMNGraphic& item, const QString& startOption);
    // Brings the position and size the shown item panels tell up to date.
    void Update_Position(const LMNGraphic& item);
    // Object names of the tabs now shown, in order.
    QStringList shownTabTitles() const;

private:
    void insert(QWidget* tab, const QString& label);
};
