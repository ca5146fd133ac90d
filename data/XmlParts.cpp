#include "data/XmlParts.h"

#include "core/util/MessageBoxes.h"

#include <QApplication>
#include <QSaveFile>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace xmlparts {

pugi::xml_node child(const pugi::xml_node& node, const char* local)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (is(c, local))
            return c;
    return {};
}

pugi::xml_attribute attribute(const pugi::xml_node& node, const char* local)
{
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
        if (std::strcmp(localName(a.name()), local) == 0)
            return a;
    return {};
}

pugi::xml_attribute prefixedAttribute(const pugi::xml_node& node, const char* local)
{
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        const char* name = a.name();
        const char* l = localName(name);
        if (l != name && std::strcmp(l, local) == 0)
            return a;
    }
    return {};
}

void appendOwnText(const pugi::xml_node& node, std::string& out)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
            out += c.value();
}

void appendAllText(const pugi::xml_node& node, std::string& out)
{
    pugi::xml_node n = node.first_child();
    while (n) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
            out += n.value();
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && n != node && !n.next_sibling())
            n = n.parent();
        if (!n || n == node)
            break;
        n = n.next_sibling();
    }
}

bool loadPart(pugi::xml_document& doc, const QString& file, QString* error)
{
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile()) {
        if (error)
            *error = QStringLiteral("A part of the file is missing.");
        return false;
    }
    if (info.size() > Max_Part_Bytes) {
        if (error)
            *error = QStringLiteral("A part of the file is too large to read (%1 MB).").arg(info.size() >> 20);
        return false;
    }
    const pugi::xml_parse_result result = doc.load_file(
        QFile::encodeName(file).constData(), pugi::parse_default | pugi::parse_ws_pcdata_single);
    if (!result) {
        if (error)
            *error = QStringLiteral("%1 is damaged: %2 at byte %3.")
                         .arg(info.fileName(), QString::fromUtf8(result.description()))
                         .arg(qint64(result.offset));
        return false;
    }
    return true;
}

QString resolveTarget(const QString& sourcePart, const QString& target)
{
    QString t = QUrl::fromPercentEncoding(target.toUtf8());
    t.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QStringList parts;
    if (!t.startsWith(QLatin1Char('/'))) {
        parts = sourcePart.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (!parts.isEmpty())
            parts.removeLast();  // the source part's own name
    }
    for (const QString& p : t.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (p == QLatin1String("."))
            continue;
        if (p == QLatin1String("..")) {
            if (parts.isEmpty())
                return {};
            parts.removeLast();
            continue;
        }
        parts << p;
    }
    return parts.join(QLatin1Char('/'));
}

bool typeIs(const QString& type, const char* kind)
{
    return type.endsWith(QLatin1Char('/') + QLatin1String(kind), Qt::CaseInsensitive);
}

QList<Relationship> readRelationships(const QString& root, const QString& sourcePart)
{
    QString relsPath;
    const qsizetype slash = sourcePart.lastIndexOf(QLatin1Char('/'));
    if (sourcePart.isEmpty())
        relsPath = QStringLiteral("_rels/.rels");
    else
        relsPath = sourcePart.left(slash + 1) + QStringLiteral("_rels/") + sourcePart.mid(slash + 1)
            + QStringLiteral(".rels");
    QList<Relationship> out;
    pugi::xml_document doc;
    if (!loadPart(doc, findPart(root, relsPath), nullptr))
        return out;
    const pugi::xml_node rels = child(doc, "Relationships");
    for (pugi::xml_node r = rels.first_child(); r; r = r.next_sibling()) {
        if (!is(r, "Relationship"))
            continue;
        Relationship rel;
        rel.id = QString::fromUtf8(attribute(r, "Id").value());
        rel.type = QString::fromUtf8(attribute(r, "Type").value());
        const bool external =
            QString::fromUtf8(attribute(r, "TargetMode").value()).compare(QLatin1String("External"),
                                                                          Qt::CaseInsensitive) == 0;
        if (!external)
            rel.target = resolveTarget(sourcePart, QString::fromUtf8(attribute(r, "Target").value()));
        out << rel;
    }
    return out;
}

QString findPart(const QString& root, const QString& packagePath)
{
    if (root.isEmpty() || packagePath.isEmpty())
        return {};
    QString at = root;
    const QStringList parts = packagePath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        if (part == QLatin1String("..") || part == QLatin1String("."))
            return {};
        const QString exact = at + QLatin1Char('/') + part;
        if (QFileInfo::exists(exact)) {
            at = exact;
            continue;
        }
        QString found;
        const QStringList entries =
            QDir(at).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& e : entries)
            if (e.compare(part, Qt::CaseInsensitive) == 0) {
                found = e;
                break;
            }
        if (found.isEmpty())
            return {};
        at += QLatin1Char('/') + found;
    }
    return QFileInfo(at).isFile() ? at : QString();
}

QString xmlSafe(const QString& text)
{
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out.at(i);
        if (c.isHighSurrogate() && i + 1 < out.size() && out.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        const char16_t u = c.unicode();
        const bool allowed = !c.isSurrogate()
            && (u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && u <= 0xFFFD));
        if (!allowed)
            out[i] = QChar(QChar::ReplacementCharacter);
    }
    return out;
}

void appendEscaped(QByteArray& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const char* p = utf8.constData();
    const char* end = p + utf8.size();
    const char* run = p;
    for (; p < end; ++p) {
        const char* rep = nullptr;
        switch (*p) {
        case '&': rep = "&amp;"; break;
        case '<': rep = "&lt;"; break;
        case '>': rep = "&gt;"; break;
        case '"': rep = "&quot;"; break;
        case '\r': rep = "&#13;"; break;
        case '\t': rep = "&#9;"; break;
        case '\n': rep = "&#10;"; break;
        default: break;
        }
        if (rep) {
            out.append(run, p - run);
            out.append(rep);
            run = p + 1;
        }
    }
    out.append(run, end - run);
}

bool saveBytes(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        QApplication::beep();
        Show_NSLog_Message(QStringLiteral("Error when writing file %1").arg(path));
        return false;
    }
    return true;
}

} // namespace xmlparts
