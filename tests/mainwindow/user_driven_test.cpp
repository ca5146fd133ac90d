// The main window driven with keys and mouse as a user would, the preview
// read back by a real decoder.
#include "MainWindowFixture.h"

#include "barcode/generation/panes/BarcodePreview.h"
#include "common/TestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Moves a closed combo box to `name` with the arrow keys (each step is a
// user's choice and runs the box's action).
bool keyToItem(QComboBox* combo, const QString& name)
{
    const int target = combo->findText(name);
    if (target < 0)
        return false;
    combo->setFocus();
    while (combo->currentIndex() != target) {
        const int before = combo->currentIndex();
        QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
        if (combo->currentIndex() == before)
            return false;
    }
    return true;
}

// The preview as the user sees it, written to a PNG.
QString grabPreview(BarcodeModeView& w, const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    // What the preview widget shows on screen (image, background and all).
    w.preview()->imageView()->grab().toImage().save(path, "PNG");
    return path;
}
} // namespace

TEST_F(MainWindowTest, TypingAValueShowsADecodableCode128)
{
    if (!testsupport::Tool_Available("ZXingReader"))
        FAIL() << "ZXingReader is not installed";
    BarcodeModeView& w = makeBarcode();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));

    ASSERT_TRUE(keyToItem(ctl<QComboBox>("barcodeTypePopup"), "Code 128"));
    EXPECT_EQ(w.Barcode_Type_Name(), "Code 128");

    auto* field = ctl<QLineEdit>("dataText");
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_TRUE(w.Preview_Is_Blank());
    const int draws = w.Draw_Count();
    QTest::keyClicks(field, "HELLO-42");
    EXPECT_EQ(field->text(), "HELLO-42");
    EXPECT_EQ(w.Draw_Count(), draws + 8);   // one new preview a keystroke
    ASSERT_FALSE(w.Preview_Is_Blank());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray read = testsupport::ZXing_Decode(grabPreview(w, dir, "code128.png"));
    EXPECT_EQ(read, "HELLO-42");
}

TEST_F(MainWindowTest, TypedTwoDimensionalValuesDecode)
{
    if (!testsupport::Tool_Available("ZXingReader"))
        FAIL() << "ZXingReader is not installed";
    BarcodeModeView& w = makeBarcode();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    ASSERT_TRUE(keyToItem(ctl<QComboBox>("barcodeTypePopup"), "QR Code"));
    auto* field = ctl<QPlainTextEdit>("dataText_2D");
    QTest::mouseClick(field->viewport(), Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, "Zorv 2D");
    QTest::keyClick(field, Qt::Key_Return);   // editing ends: made at the chosen DPI
    EXPECT_FALSE(w.Preview_Is_Draft());
    ASSERT_FALSE(w.Preview_Is_Blank());
    EXPECT_EQ(testsupport::ZXing_Decode(grabPreview(w, dir, "qr.png")), "Zorv 2D");

    ASSERT_TRUE(keyToItem(ctl<QComboBox>("barcodeTypePopup"), "DataMatrix"));
    ASSERT_FALSE(w.Preview_Is_Blank());
    EXPECT_EQ(testsupport::ZXing_Decode(grabPreview(w, dir, "dm.png")), "Zorv 2D");
}
