// Builds the user help "Help.pdf" from its source text (Markdown): the text
// is laid out by Qt's rich-text engine on A4 pages with a page number at the
// foot of each page. Usage: make-help <source.md> <output.pdf>
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <QTextFrame>
#include <QTextFrameFormat>

#include <cstdio>

namespace {

// Every picture of the text at 150 of its pixels an inch, at most the page's width;
// a picture that cannot be read stops the build.
bool Pictures_Ok = true;

void Fit_Pictures(QTextDocument& doc, double pageWidth, int resolution)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QUrl url = doc.baseUrl().resolved(QUrl(image.name()));
            const QImage picture(url.toLocalFile());
            if (picture.isNull()) {
                std::fprintf(stderr, "make-help: cannot read the picture %s\n", qPrintable(url.toLocalFile()));
                Pictures_Ok = false;
                continue;
            }
            // Sizes of pictures are given in pixels of 96 an inch; the layout
            // scales them to the device.
            const double widest = pageWidth * 96.0 / resolution;
            double width = picture.width() * 96.0 / 150.0;
            double height = picture.height() * 96.0 / 150.0;
            if (width > widest) {
                height *= widest / width;
                width = widest;
            }
            image.setWidth(width);
            image.setHeight(height);
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-help <source.md> <output.pdf>\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make-help: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString text = QString::fromUtf8(in.readAll());

    const QString out = QString::fromLocal8Bit(argv[2]);
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "make-help: cannot write %s\n", argv[2]);
        return 1;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(QStringLiteral("Zorv Label — User Help"));
        writer.setCreator(QStringLiteral("Zorv Label"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(20, 18, 20, 22), QPageLayout::Millimeter);
        writer.setResolution(300);

        QTextDocument doc;
        // Laid out for the PDF's own resolution, so point sizes stay points.
        doc.documentLayout()->setPaintDevice(&writer);
        QFont base(QStringLiteral("DejaVu Sans"));
        base.setPointSizeF(10.5);
        doc.setDefaultFont(base);
        doc.setDefaultStyleSheet(QStringLiteral("table { border-collapse: collapse; } td, th { padding: 3px; }"));
        // Pictures are named relative to the source text.
        doc.setBaseUrl(QUrl::fromLocalFile(QFileInfo(in.fileName()).absolutePath() + QLatin1Char('/')));
        doc.setMarkdown(text);
        const QRectF page0 = writer.pageLayout().paintRectPixels(writer.resolution());
        Fit_Pictures(doc, page0.width(), writer.resolution());
        // Tables get visible cell borders.
        for (QTextFrame::iterator it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
            if (QTextFrame* f = it.currentFrame()) {
                QTextFrameFormat fmt = f->frameFormat();
                fmt.setBorder(0.5);
                f->setFrameFormat(fmt);
            }
        }

        QPainter painter(&writer);
        const QRectF page = writer.pageLayout().paintRectPixels(writer.resolution());
        const double footer = writer.resolution() * 0.35;
        const QSizeF body(page.width(), page.height() - footer);
        doc.setPageSize(body);
        const int pages = doc.pageCount();
        for (int p = 0; p < pages; ++p) {
            if (p > 0)
                writer.newPage();
            painter.save();
            painter.translate(0, -p * body.height());
            QAbstractTextDocumentLayout::PaintContext ctx;
            ctx.clip = QRectF(0, p * body.height(), body.width(), body.height());
            painter.setClipRect(ctx.clip);
            doc.documentLayout()->draw(&painter, ctx);
            painter.restore();
            QFont foot = base;
            foot.setPointSizeF(9);
            painter.setFont(foot);
            painter.drawText(QRectF(0, body.height(), body.width(), footer), Qt::AlignCenter,
                             QStringLiteral("%1 / %2").arg(p + 1).arg(pages));
        }
        painter.end();
    }
    if (!Pictures_Ok) {
        file.cancelWriting();
        return 1;
    }
    if (!file.commit()) {
        std::fprintf(stderr, "make-help: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
