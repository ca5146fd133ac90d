#pragma once
// Item archives and the canvas's own pasteboard format.
//
// An item archive is a keyed archive (KeyedArchive.h) of the item, recorded
// with its class name; its keys are the item's field names, spelled as the
// fields are. The pasteboard data is a binary property list whose root is an
// array with one item archive (data) per copied item, front item first.
#include <QString>

#include "core/model/LMNGraphic.h"

inline const QString LMNGraphicViewPasteboardType = QStringLiteral("Zorv Limnor 2 pasteboard type");

// The keys of an item archive in the order they were written (empty for data
// that is no archive).
QStringList Item_Archive_Keys(const QByteArray& archive);
