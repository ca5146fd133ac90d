#pragma once
// What the import wizard makes of its sources: the values of a text, CSV or
// RTF file, the lines of pasted text and the pictures of a folder.
#include "data/TextImport.h"

#include <QString>
#include <QStringList>

struct Series_Progress;

// A line or field as the wizard keeps it: every backslash and curly brace
// removed, then trimmed (Trim_Str).
QString chk_and_insert_validation(const QString& line);

enum class Import_Read_Result {
    Ok,
    Unreadable,  // the file cannot be read: "Please select a valid file."
    Invalid,     // no text, or text that cannot be decoded
};

// The values of a text file for a series: plain text and RTF cut into lines
// at "\r\n", "\n" or "\r" (an RTF document's whole text), CSV into its fields
// record by record; each cleaned (chk_and_insert_validation), empty ones left
// out. The kind comes from the extension, in any case. Invalid when the
// decoded text is empty after trimming. Text is decoded as every import
// decodes it (Text_Encoding_Probe, Text_Stream_Decoder): bytes that do not
// decode become U+FFFD and `note` names their lines. Text and CSV files are
// read `pieceBytes` at a time; the values never depend on it.
Import_Read_Result Import_Series_File_Values(const QString& path, QStringList* values,
                                             Series_Progress* progress = nullptr, QString* note = nullptr,
                                             qsizetype pieceBytes = Text_Piece_Bytes);
Import_Read_Result Import_Series_Bytes_Values(const QByteArray& bytes, const QString& path, QStringList* values,
                                              QString* note = nullptr);

// The lines of pasted text, cut at "\r\n", "\n" or "\r" and otherwise left as
// they are.
QStringList Manual_Paste_Lines(const QString& text);
// True when the text holds a surrogate without its partner (it has no UTF-8 form).
bool Has_Unpaired_Surrogate(const QString& text);

// The picture types a folder import takes (lower case).
const QStringList& Series_Picture_Types();
// The full paths of the pictures directly inside a folder, in name order:
// plain files whose extension, in any case, is a picture type. Empty for a
// path that is not a folder.
QStringList Picture_Folder_Values(const QString& folder, Series_Progress* progress = nullptr);
