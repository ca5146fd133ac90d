#pragma once
// Small helpers shared by the spreadsheet readers and writers: package
// relationships and building XML text quickly.
#include <QByteArray>
#include <QString>

namespace xmlparts {

// The package path a relationship's target names from a source part; ""
// when it escapes the package.
QString resolveTarget(const QString& sourcePart, const QString& target);
// True when the relationship type ends with "/<kind>" (transitional and strict alike).
bool typeIs(const QString& type, const char* kind);

// The text with the characters XML 1.0 cannot hold (and unpaired
// surrogates) replaced by U+FFFD.
QString xmlSafe(const QString& text);
// Appends text escaped for XML content or attribute values.
void appendEscaped(QByteArray& out, const QString& text);

// Writes a part (or a whole file) through QSaveFile; on failure beeps, logs
// "Error when writing file <path>" and answers false.
bool saveBytes(const QString& path, const QByteArray& bytes);

} // namespace xmlparts
