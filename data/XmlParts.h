#pragma once
// Small helpers shared by the spreadsheet readers and writers: parsing a part
// with pugixml, matching elements by their local name (whatever prefix the
// producer chose), package relationships, part names in any case, and
// building XML text quickly.
#include <QByteArray>
#include <QList>
#include <QString>

#include <pugixml.hpp>

#include <cstring>

namespace xmlparts {

// Parts larger than this are refused before parsing.
inline constexpr qint64 Max_Part_Bytes = qint64(256) << 20;

// The name without its prefix.
inline const char* localName(const char* name)
{
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}
inline bool is(const pugi::xml_node& node, const char* local)
{
    return node.type() == pugi::node_element && std::strcmp(localName(node.name()), local) == 0;
}
// The first child element with that local name.
pugi::xml_node child(const pugi::xml_node& node, const char* local);
// The attribute with that local name (any prefix); an empty one when absent.
pugi::xml_attribute attribute(const pugi::xml_node& node, const char* local);
// The attribute with that local name that carries a prefix ("r:id" for "id").
pugi::xml_attribute prefixedAttribute(const pugi::xml_node& node, const char* local);

// Appends the text of the node's own text children (not of its elements).
void appendOwnText(const pugi::xml_node& node, std::string& out);
// Appends all text below the node, in document order (no recursion, so
// deeply nested input cannot exhaust the stack).
void appendAllText(const pugi::xml_node& node, std::string& out);

inline QString toQString(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// Parses the file; false and `error` for a missing, oversized or malformed part.
bool loadPart(pugi::xml_document& doc, const QString& file, QString* error);

// A relationship of a package part.
struct Relationship {
    QString id;
    QString type;
    QString target;  // resolved package path ("" for an external or escaping target)
};
// The relationships part of `sourcePart` ("" for the package's own), with
// targets resolved against the source part's folder.
QList<Relationship> readRelationships(const QString& root, const QString& sourcePart);
// The package path a target names from a source part; "" when it escapes the package.
QString resolveTarget(const QString& sourcePart, const QString& target);
// True when the relationship type ends with "/<kind>" (transitional and strict alike).
bool typeIs(const QString& type, const char* kind);

// The file that holds the package path below `root`, each component matched
// exactly or else without regard to case; "" when there is none.
QString findPart(const QString& root, const QString& packagePath);

// The text with the characters XML 1.0 cannot hold (and unpaired
// surrogates) replaced by U+FFFD.
QString xmlSafe(const QString& text);
// Appends text escaped for XML content or attribute values.
void appendEscaped(QByteArray& out, const QString& text);

// Writes a part (or a whole file) through QSaveFile; on failure beeps, logs
// "Error when writing file <path>" and answers false.
bool saveBytes(const QString& path, const QByteArray& bytes);

} // namespace xmlparts
