#include "export/CopyBarcode.h"

#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "export/PdfExport.h"
#include "platform/Paths.h"

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

QMimeData* Barcode_Clipboard_Data(const PtImage& barcode, QString* pdfPath)
{
    if (pdfPath)
        pdfPath->clear();
    if (barcode.isNull() || barcode.size().isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    // The file first: programs that paste files take it.
    const QString folder = MainWindowServices::Private_Temp_Folder();
    const QString path = folder.isEmpty() ? QString() : Path_Join(folder, QStringLiteral("barcode.pdf"));
    QByteArray pdf;
    if (!path.isEmpty() && Write_Image_Pages_Pdf(path, {barcode})) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            pdf = file.readAll();
        data->setUrls({QUrl::fromLocalFile(path)});
        if (pdfPath)
            *pdfPath = path;
    }
    if (pdf.isEmpty())
        pdf = barcode.toPdfData();
    data->setData(QStringLiteral("application/pdf"), pdf);
    QByteArray png;
    QBuffer buffer(&png);
    const QImage pixels = barcode.toImage(300.0);
    if (buffer.open(QIODevice::WriteOnly) && pixels.save(&buffer, "PNG"))
        data->setData(QStringLiteral("image/png"), png);
    return data;
}

bool Copy_Barcode_To_Clipboard(const PtImage& barcode)
{
    QMimeData* data = Barcode_Clipboard_Data(barcode);
    if (!data)
        return false;
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setMimeData(data);
    else
        delete data;
    Show_MessageBox(QStringLiteral("Barcode is copied successfully.\nNow you can paste it into a word processor, a "
                                   "spreadsheet or a drawing program."));
    return true;
}
