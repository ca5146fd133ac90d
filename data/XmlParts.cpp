#include "data/XmlParts.h"

#include "core/util/MessageBoxes.h"

#include <QApplication>
#include <QSaveFile>

#include <QStringList>
#include <QUrl>

namespace xmlparts {

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
