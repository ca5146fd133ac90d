#pragma once
// The property-list reader: whatever it reads can be written again in both
// formats, and the binary form reads back to an equal tree. (The bytes may
// differ: libplist's writer orders shared objects by where they lie in memory.)
#include "fuzz/FuzzSupport.h"
#include "platform/Plist.h"

inline int Fuzz_Plist(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    const std::optional<QVariant> tree = Plist_Parse(Fuzz_Bytes(data, size));
    if (!tree)
        return 0;
    const QByteArray xml = Plist_Serialize(*tree, PlistFormat::Xml);
    const QByteArray bin = Plist_Serialize(*tree, PlistFormat::Binary);
    Fuzz_Check(!xml.isEmpty(), "a list read can be written as XML");
    Fuzz_Check(!bin.isEmpty(), "a list read can be written as binary");
    Fuzz_Check(Plist_Parse(xml).has_value(), "the XML written reads back");
    const std::optional<QVariant> again = Plist_Parse(bin);
    Fuzz_Check(again.has_value() && *again == *tree, "the binary form reads back to an equal tree");
    return 0;
}
