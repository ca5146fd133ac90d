// The font panel opened on a font shows that font: its face, weight, slant
// and size, whatever the face calls its plain style.
#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QFontDialog>

#include <gtest/gtest.h>

TEST(FontPanel, OpensOnTheFaceItIsGiven)
{
    QFontDialog panel;
    panel.setOption(QFontDialog::NoButtons, true);
    struct Case {
        const char* family;
        bool bold, italic;
        qreal size;
    };
    for (const Case c : {Case{"DejaVu Sans", false, false, 10}, Case{"DejaVu Sans", true, false, 12},
                         Case{"DejaVu Sans", false, true, 9}, Case{"DejaVu Serif", true, true, 11},
                         Case{"Nimbus Sans", false, false, 14}}) {
        SCOPED_TRACE(c.family + std::string(c.bold ? " bold" : "") + (c.italic ? " italic" : ""));
        QFont font(QString::fromLatin1(c.family));
        font.setPointSizeF(c.size);
        font.setBold(c.bold);
        font.setItalic(c.italic);
        panel.setCurrentFont(Font_For_Font_Panel(font));
        const QFont shown = panel.currentFont();
        EXPECT_TRUE(shown.family().startsWith(font.family())) << shown.family().toStdString();
        EXPECT_EQ(shown.bold(), c.bold);
        EXPECT_EQ(shown.italic(), c.italic);
        EXPECT_DOUBLE_EQ(shown.pointSizeF(), c.size);
        // What the label then names is the face chosen, not another style
        // ("Condensed", "Oblique") of the family.
        EXPECT_EQ(Font_Display_Name(shown).mid(shown.family().size()), Font_Display_Name(font).mid(font.family().size()));
    }
}
