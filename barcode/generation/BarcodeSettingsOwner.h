#pragma once
// The settings owner's text metrics: the font size setters store the size and
// derive the text heights (inches, 1.35 x the font's cap height / 72) and,
// for the header and footer, the widths of their texts laid out centred with
// their fonts and no extra spacing. They work on a settings value.
#include "core/util/BarcodeSettings.h"

void setCaptionFontSize(BarcodeSettings& s, float size);
void setHeaderFontSize(BarcodeSettings& s, float size);
void setFooterFontSize(BarcodeSettings& s, float size);

// The point size of a font as the font size setters are given it.
float Font_Point_Size(const QFont& font);
