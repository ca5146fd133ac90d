#pragma once
// Checks on the PDF files we write, as a reader of them sees the file: its
// pages (pdfinfo, pdftoppm), its fonts (pdffonts) and its cross-reference
// table.
#include "common/TestSupport.h"

#include <QImage>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace testsupport {

// Pages of a PDF file (pdfinfo); -1 when it cannot be read.
inline int Pdf_Page_Count(const QString& path)
{
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto m = pages.match(QString::fromUtf8(Run_Tool(QStringLiteral("pdfinfo"), {path}).out));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// One page of a PDF as a picture at `dpi`, without smoothing (pdftoppm).
inline QImage Pdf_Page_Picture(const QString& path, int page, int dpi)
{
    QTemporaryDir out;
    const QString base = out.filePath(QStringLiteral("page"));
    Run_Tool(QStringLiteral("pdftoppm"), {"-r", QString::number(dpi), "-f", QString::number(page), "-l",
                                          QString::number(page), "-singlefile", "-png", "-aa", "no", "-aaVector",
                                          "no", path, base});
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// Every font of the file embedded and named as the subset it is
// ("ABCDEF+DejaVuSans ... yes yes"); fails when the file has no font.
inline ::testing::AssertionResult Fonts_Are_Tagged_Subsets(const QString& pdf)
{
    const QStringList fonts = QString::fromUtf8(Run_Tool(QStringLiteral("pdffonts"), {pdf}).out)
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                  .mid(2);
    if (fonts.isEmpty())
        return ::testing::AssertionFailure() << "no font in " << pdf.toStdString();
    static const QRegularExpression tagged(QStringLiteral("^[A-Z]{6}\\+\\S+ .*\\byes\\s+yes\\b"));
    for (const QString& font : fonts)
        if (!tagged.match(font).hasMatch())
            return ::testing::AssertionFailure() << "not a tagged embedded subset: " << font.toStdString();
    return ::testing::AssertionSuccess();
}

// Every object the cross-reference table names begins where the table says
// it does, and the table where "startxref" says.
inline ::testing::AssertionResult Cross_References_Hold(const QByteArray& bytes)
{
    const qsizetype table = bytes.lastIndexOf("\nxref\n") + 1;
    static const QRegularExpression startxref(QStringLiteral("startxref\\s+(\\d+)"));
    const auto start = startxref.match(QString::fromLatin1(bytes.right(64)));
    if (table <= 0 || !start.hasMatch() || start.captured(1).toLongLong() != table)
        return ::testing::AssertionFailure() << "startxref does not name the table";
    const QList<QByteArray> lines = bytes.mid(table).split('\n');
    const int count = lines.value(1).split(' ').value(1).toInt();
    if (count < 2)
        return ::testing::AssertionFailure() << "an empty table";
    for (int i = 1; i < count; ++i) {
        const QByteArray entry = lines.value(2 + i);
        if (!entry.contains(" n"))
            continue;
        const QByteArray head = QByteArray::number(i) + " 0 obj";
        if (bytes.mid(entry.left(10).toLongLong(), head.size()) != head)
            return ::testing::AssertionFailure() << "object " << i << " is not at " << entry.left(10).toStdString();
    }
    return ::testing::AssertionSuccess();
}

} // namespace testsupport
