#pragma once
// Property lists (XML and binary), on libplist.
//
// Values are QVariants of these types only:
//   dictionary QVariantMap, array QVariantList, string QString, data QByteArray,
//   real double, boolean bool, integer qint64 (an unsigned value above
//   INT64_MAX reads back as its two's complement), date QDateTime (UTC).
// Unreadable input gives std::nullopt and an error text, never a crash.
//
// Both directions accept the same values, so that whatever is read can be
// written again in either format: strings and keys without U+0000, reals
// that are finite and smaller than 2^63 in magnitude, integers other than
// INT64_MIN, dates within 32-bit seconds of 2001-01-01. A list holding
// anything else is refused when read and when written.
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <optional>

enum class PlistFormat { Xml, Binary };

// Parses XML or binary property-list data (the format is detected).
std::optional<QVariant> Plist_Parse(const QByteArray& data, QString* error = nullptr);

// Serialises a value tree; empty data (and an error text) when the tree holds
// a type listed nowhere above or a value outside the ranges above.
QByteArray Plist_Serialize(const QVariant& root, PlistFormat format, QString* error = nullptr);

// Reads a property-list file; std::nullopt when missing or unreadable.
std::optional<QVariant> Plist_Read_File(const QString& path, QString* error = nullptr);

// Writes atomically (the old file stays when writing fails).
bool Plist_Write_File(const QString& path, const QVariant& root, PlistFormat format,
                      QString* error = nullptr);
