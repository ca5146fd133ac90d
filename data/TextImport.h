#pragma once
// Values from the text files users import into series and lists: plain text
// (one value a line, whatever the line ending), CSV (RFC 4180, any line
// ending) and RTF (the whole text of the document). Each value is trimmed on
// its own; the file as a whole is not. Used by the import windows.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Cuts at "\r\n", "\n" or "\r"; a line ending at the very end makes no empty last line.
QStringList Split_Text_Lines(const QString& text);

// The records of CSV text: fields separated by commas, records by "\r\n",
// "\n" or "\r"; a field in double quotes may hold commas, line breaks and
// doubled quotes (""). Fields are not trimmed. An unclosed quote runs to the end.
QList<QStringList> Parse_CSV(const QString& text);

// The text of an RTF document: paragraphs and line breaks as "\n", tabs as
// "\t", \uN and \'hh characters decoded (\'hh in Windows-1252), font, colour
// and style tables, pictures, document information and other hidden groups
// left out (the raw bytes of \bin as well). `ok` is false for data that is not RTF.
QString Rtf_To_Plain_Text(const QByteArray& rtf, bool* ok = nullptr);

// Decodes the bytes of a text file: UTF-8, or UTF-16/32 with a byte-order
// mark; other bytes as Windows-1252. False for data holding NUL bytes
// without a byte-order mark (not a text file).
bool Decode_Text_File(const QByteArray& bytes, QString* text);

enum class Import_File_Kind { Text, CSV, RTF };
// By the extension, in any case: "csv", "rtf", else text.
Import_File_Kind Import_Kind_For_Path(const QString& path);

// The values of a file for a series or a list: text lines, CSV fields in
// record order, or the RTF document's lines, each trimmed (Trim_Str), empty
// ones left out. False, with `error` holding the message to show, when the
// file cannot be read or decoded.
bool Import_Values_From_File(const QString& path, QStringList* values, QString* error = nullptr);
QStringList Import_Values_From_Bytes(const QByteArray& bytes, Import_File_Kind kind, bool* ok = nullptr);
