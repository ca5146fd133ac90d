#pragma once
// The empty workbooks the spreadsheet writers start from when the shipped
// templates ("Template.xlsx", "Template.ods" in the resources) are missing or
// damaged. resources/Template.xlsx is these very parts, packed.
#include <QByteArray>
#include <QList>
#include <QString>

struct PackagePart {
    QString name;       // path inside the package
    QByteArray bytes;
    bool stored = false;  // kept uncompressed (the OpenDocument mimetype)
};

// A one-sheet .xlsx: content types, relationships, document properties, a
// workbook naming "Sheet1", styles, an empty sheet1 and an empty shared-strings part.
QList<PackagePart> Builtin_Xlsx_Template();
// A one-table .ods: mimetype (first, stored), manifest, styles and an empty content part.
QList<PackagePart> Builtin_Ods_Template();
