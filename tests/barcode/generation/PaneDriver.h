#pragma once
// Driving the barcode settings panes as a user does: controls are found by
// their names and changed through the signals a user's action gives. Also a
// settings value with every control field away from its default, and the
// list of control fields in which two values differ.
#include "barcode/generation/panes/BarcodeSettingsPane.h"
#include "barcode/generation/panes/Stepper.h"
#include "core/util/BarcodeSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

namespace drive {

template <class T>
T* find(const QWidget* root, const char* name)
{
    T* w = root->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        ADD_FAILURE() << "no control named " << name;
    return w;
}

// Types over the text of a one-line field, as one edit.
inline void type(QLineEdit* f, const QString& text)
{
    f->setText(text);
    emit f->textEdited(text);
}

// Types into a field of a pair and leaves it.
inline void enter(QLineEdit* f, const QString& text)
{
    f->setText(text);
    f->setModified(true);
    emit f->editingFinished();
}

inline void choose(QComboBox* c, int index)
{
    c->setCurrentIndex(index);
    emit c->activated(index);
}

inline void choose(QComboBox* c, const QString& text)
{
    choose(c, c->findText(text));
}

// What a pane reports, gathered.
struct Needs {
    QList<PaneNeed> seen;
    QMetaObject::Connection connection;
    explicit Needs(BarcodeSettingsPane* pane)
    {
        connection = QObject::connect(pane, &BarcodeSettingsPane::changed, pane,
                                      [this](PaneNeed n) { seen << n; });
    }
    ~Needs() { QObject::disconnect(connection); }
    Needs(const Needs&) = delete;
    Needs& operator=(const Needs&) = delete;
    PaneNeed take()
    {
        if (seen.isEmpty()) {
            ADD_FAILURE() << "the pane reported nothing";
            return PaneNeed::Nothing;
        }
        return seen.takeFirst();
    }
};

} // namespace drive

// Every control field of the settings, as X(name).
#define ZL_CONTROL_FIELDS(X)                                                                         \
    X(barcodeType) X(liner_or_2D_font) X(dataText) X(dataText_2D) X(HeaderText) X(FooterText)        \
    X(hide_value) X(hide_header) X(hide_footer) X(caption_check_enabled) X(bar_width_enabled)        \
    X(bar_height_enabled) X(bar_height) X(bar_width_mils) X(val_mar) X(hdr_mar) X(ftr_mar) X(TB_mar) \
    X(LR_mar) X(value_font) X(header_font) X(footer_font) X(barcode_clr) X(bar_back_clr)             \
    X(bar_val_clr) X(bar_hdr_clr) X(bar_ftr_clr) X(fill_transparent) X(align_hdr) X(align_ftr)       \
    X(bar_align) X(bar_orient) X(showinTop) X(kerning_value) X(qr_size) X(QR_Version_Val)                \
    X(QR_EC_Level_Val) X(qr_enc_mode) X(pdf_width) X(pdf_height) X(pdf_rows) X(pdf_cols)                 \
    X(pdf_ec_level) X(dm_module) X(dm_format) X(dm_encoding) X(dm_width) X(dm_height)                \
    X(dpi_choice) X(custom_dpi) X(USED_DPI_VALUE)

// Names of the control fields in which `a` and `b` differ.
inline QStringList Control_Field_Differences(const BarcodeSettings& a, const BarcodeSettings& b)
{
    QStringList out;
#define ZL_COMPARE(f)          \
    if (!(a.f == b.f))         \
        out << QStringLiteral(#f);
    ZL_CONTROL_FIELDS(ZL_COMPARE)
#undef ZL_COMPARE
    return out;
}

// A value whose every control field differs from the default.
inline BarcodeSettings Unusual_Settings(const QString& type, int twoD)
{
    BarcodeSettings s;
    s.barcodeType = type;
    s.liner_or_2D_font = twoD;
    s.dataText = QStringLiteral("ZORV-77");
    s.dataText_2D = QStringLiteral("first line\nsecond line");
    s.HeaderText = QStringLiteral("Head text");
    s.FooterText = QStringLiteral("Foot text");
    s.hide_value = true;
    s.hide_header = true;
    s.hide_footer = true;
    s.caption_check_enabled = false;
    s.bar_width_enabled = false;
    s.bar_height_enabled = false;
    s.bar_height = 2.5f;
    s.bar_width_mils = 33.0f;
    s.val_mar = 0.3f;
    s.hdr_mar = 0.4f;
    s.ftr_mar = 0.5f;
    s.TB_mar = 0.6f;
    s.LR_mar = 0.7f;
    s.value_font = QFont(QStringLiteral("DejaVu Serif"), 13);
    s.header_font = QFont(QStringLiteral("DejaVu Sans Mono"), 9);
    s.footer_font = QFont(QStringLiteral("DejaVu Sans"), 15);
    s.footer_font.setBold(true);
    s.barcode_clr = QColor(10, 20, 30);
    s.bar_back_clr = QColor(250, 240, 230, 200);
    s.bar_val_clr = QColor(0, 128, 0);
    s.bar_hdr_clr = QColor(200, 0, 0);
    s.bar_ftr_clr = QColor(0, 0, 200);
    s.fill_transparent = true;
    s.align_hdr = QStringLiteral("Left");
    s.align_ftr = QStringLiteral("Right");
    s.bar_align = QStringLiteral("BottomRight");
    s.bar_orient = QStringLiteral("Horizontal");
    s.showinTop = 1;
    s.kerning_value = 1;
    s.qr_size = 90;
    s.QR_Version_Val = 5;
    s.QR_EC_Level_Val = 2;
    s.qr_enc_mode = 3;
    s.pdf_width = 150;
    s.pdf_height = 40;
    s.pdf_rows = 7;
    s.pdf_cols = 4;
    s.pdf_ec_level = 5;
    s.dm_module = 4;
    s.dm_format = 3;
    s.dm_encoding = 2;
    s.dm_width = 80;
    s.dm_height = 90;
    s.dpi_choice = 6;   // "Custom"
    s.custom_dpi = 450;
    s.USED_DPI_VALUE = 450;
    return s;
}
