#pragma once
// The texts of a barcode: the value (one line for a linear symbology, a text
// box for a 2D one), the header and the footer, and the Encode button.
#include "barcode/generation/panes/BarcodeSettingsPane.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class ValuePane : public BarcodeSettingsPane {
    Q_OBJECT
public:
    explicit ValuePane(QWidget* parent = nullptr);

    void writeTo(BarcodeSettings& s) const override;

    // The value of the chosen kind as typed.
    QString typedValue() const;
    // The value fields show the kind chosen unless a series manages them.
    void setSeriesManaged(bool managed) { m_seriesManaged = managed; }

    // ---- The fields as a batch source drives them (barcode mode's list or
    // series): texts put in from code report no change; a field a source
    // feeds is read-only, and with series it gives way to the series lists.
    enum class Field { Value, Value2D, Header, Footer };
    QString fieldText(Field field) const;
    void setFieldText(Field field, const QString& text);
    void setFieldReadOnly(Field field, bool readOnly);
    bool fieldReadOnly(Field field) const;
    void setFieldShown(Field field, bool shown);
    bool fieldShown(Field field) const;
    void scrollToOrigin();
    // Gives the value field of the chosen kind the keyboard focus.
    void focusValue();

    // What a change of one of the four fields needs (the rule of typing):
    // linear: encode again; 2D value: encode a draft; 2D header or footer:
    // frame the kept symbol again.
    void controlTextDidChange(QObject* field);
    // End of editing (Return, focus leaving a field): the same without the
    // draft, so a 2D value typed last is made at the chosen resolution.
    void textDidEndEditing(QObject* field);
    void Encode_btn();

signals:
    // Editing of a field ended.
    void editingEnded(PaneNeed need);

protected:
    void loadControls(const BarcodeSettings& s) override;
    void twoDChanged() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* dataText = nullptr;
    QPlainTextEdit* dataText_2D = nullptr;
    QLineEdit* HeaderText = nullptr;
    QLineEdit* FooterText = nullptr;
    QPushButton* encode_btn = nullptr;
    bool m_seriesManaged = false;
    bool m_settingText = false;
    QWidget* fieldWidget(Field field) const;
};
