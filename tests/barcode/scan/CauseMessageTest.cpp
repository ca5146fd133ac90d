// A value that gives no barcode says why: the road's reason (shown beside the
// blank preview) and the message box of a refused value name the cause, one
// line under the usual message.
#include "ScanSupport.h"

#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/SettingsOwnerRoad.h"
#include "platform/MessageSink.h"

#include <gtest/gtest.h>

namespace {

using namespace scan;

struct CauseCase {
    const char* type;
    const char* value;   // UTF-8
    const char* cause;   // the reason contains this
};

TEST(CauseMessage, EveryRefusalNamesItsCause)
{
    const CauseCase cases[] = {
        {"Code 39", "", "The value is empty."},
        {"QR Code", "", "The value is empty."},
        {"Code 39", "caf\xc3\xa9", "Characters not allowed: '\xc3\xa9'."},
        {"Code 39", "A*B", "Characters not allowed: '*'. Code 39 takes"},
        {"Code 128 SET C", "12a4", "Characters not allowed: 'a'."},
        {"Code 128", "a\tb", "cannot be mixed"},
        {"UPCE", "1790107", "zero-suppression rules"},
        {"UPCA", "036000291453", "The check digit of 03600029145 is 2, not 3."},
        {"EAN-13", "4006381333932", "The check digit of 400638133393 is 1, not 2."},
        {"EAN-8", "12345671", "The check digit of 1234567 is 0, not 1."},
        {"PostNet", "123456", "5, 9 or 11 digits; this value has 6"},
        {"Codabar", "12345", "starts and ends with one of A, B, C, D"},
        {"Japan Post Barcode", "1234567#", "Characters not allowed: '#'."},
        {"QR Code", nullptr, "too long for the largest QR Code symbol"},
        {"PDF417", "\xe2\x82\xac", "Latin-1"},
        {"DataMatrix", nullptr, "too long for the largest Data Matrix symbol"},
    };
    const QString tooLong(8000, QLatin1Char('x'));
    for (const CauseCase& c : cases) {
        const QString value = c.value ? QString::fromUtf8(c.value) : tooLong;
        SCOPED_TRACE(std::string(c.type) + " [" + (c.value ? c.value : "8000 x") + "]");
        BarcodeSettings s = Sweep_Settings(QString::fromLatin1(c.type), true, 300);
        const BarcodeMakeResult r = Make_Barcode(s, value, s.HeaderText, s.FooterText);
        EXPECT_TRUE(r.image.isNull());
        EXPECT_TRUE(r.reason.contains(QString::fromUtf8(c.cause))) << r.reason.toStdString();
    }
}

TEST(CauseMessage, RefusedValueBoxCarriesTheCause)
{
    QStringList shown;
    const MessageResponder old = Set_Message_Responder([&](const MessageRequest& r) {
        shown << r.text;
        return 0;
    });
    for (const auto& [type, value, cause] :
         {std::tuple{"UPCE", "1015109", "cannot have 0 as its sixth digit"},
          std::tuple{"Code 128 SET B", "\x01", "Characters not allowed: U+0001."},
          std::tuple{"DataMatrix", "", "The value is empty."}}) {
        SCOPED_TRACE(type);
        shown.clear();
        SettingsOwnerRoad road;
        BarcodeSettings s = Sweep_Settings(QString::fromLatin1(type), true, 300);
        s.dataText = s.dataText_2D = QString::fromLatin1(value);
        road.setSettings(s);
        road.goButtonActionPerformed();
        EXPECT_FALSE(road.Check_And_Validat_Barcode(true, true));
        ASSERT_EQ(shown.size(), 1);
        // The usual message first, the cause on the line under it.
        const QStringList lines = shown[0].trimmed().split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2) << shown[0].toStdString();
        EXPECT_EQ(lines[0], invalid_barcode_msg);
        EXPECT_TRUE(lines[1].contains(QString::fromLatin1(cause))) << lines[1].toStdString();
    }
    Set_Message_Responder(old);
}

} // namespace
