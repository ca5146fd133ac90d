#pragma once
// Helpers of the export and mail tests: real barcodes through the generation
// road, waiting for a job while the GUI thread serves it, and Ghostscript.
#include "barcode/generation/BarcodeRoad.h"
#include "common/ScopedFolders.h"
#include "common/TestSupport.h"
#include "export/ExportSetup.h"
#include "platform/PtImage.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPicture>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

namespace exporttest {

// A Code 128 barcode of `value` as the road draws it (vector, in points).
inline PtImage Code128(const QString& value, const QString& header = QString(), const QString& footer = QString())
{
    BarcodeSettings s;
    Set_Barcode_Type(s, QStringLiteral("Code 128"));
    return Make_Barcode_Image(s, value, header, footer);
}

// A card of `size` points: white, with the picture scaled into it (margins of
// 4 points) and a thin border.
inline PtImage Card_With(const PtImage& inner, QSizeF size)
{
    QPicture pic;
    {
        QPainter p(&pic);
        p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
        if (!inner.isNull())
            inner.draw(p, QRectF(4, 4, size.width() - 8, size.height() - 8));
    }
    return PtImage(pic, size);
}

// Spins the GUI thread until `done` or `seconds` pass; false on time-out.
inline bool Pump_Until(const std::function<bool()>& done, int seconds = 120)
{
    QDeadlineTimer deadline(seconds * 1000);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    QCoreApplication::processEvents();
    return true;
}

// Renders an EPS file with Ghostscript into a PNG at `dpi`; the PNG's path,
// or "" when Ghostscript failed (its output in *log).
inline QString Render_Eps(const QString& eps, int dpi, QString* log = nullptr)
{
    const QString png = eps + QStringLiteral(".png");
    const testsupport::ToolResult r = testsupport::Run_Tool(
        QStringLiteral("gs"),
        {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"), QStringLiteral("-dNOPAUSE"),
         QStringLiteral("-dEPSCrop"), QStringLiteral("-sDEVICE=png16m"), QStringLiteral("-r%1").arg(dpi),
         QStringLiteral("-dTextAlphaBits=4"), QStringLiteral("-dGraphicsAlphaBits=1"),
         QStringLiteral("-sOutputFile=%1").arg(png), eps});
    if (log) *log = QString::fromUtf8(r.out + r.err);
    return r.exitCode == 0 && QFileInfo::exists(png) ? png : QString();
}

// Files directly in a folder, sorted by name.
inline QStringList Files_In(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A test with a data folder of its own (where the e-mail settings live) and
// the export subsystem's services installed.
class PrivateDataTest : public ::testing::Test {
protected:
    void SetUp() override { Install_Export_Services(); }
    QTemporaryDir m_data;
    testsupport::Scoped_Folders m_folders{m_data.path()};
};

} // namespace exporttest
