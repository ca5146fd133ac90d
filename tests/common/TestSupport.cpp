#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace testsupport {

bool Write_File(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(bytes);
    f.close();
    return true;
}

void touch(const QString& path, const QByteArray& bytes)
{
    ASSERT_TRUE(Write_File(path, bytes)) << path.toStdString();
}

int Open_Descriptors_On(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        return 0;
    int open = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System))
        if (QFileInfo(fds.filePath(fd)).symLinkTarget() == target)
            ++open;
    return open;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void pumpUntil(const std::atomic<bool>& done)
{
    QElapsedTimer t;
    t.start();
    while (!done && t.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

ToolResult Run_Tool(const QString& program, const QStringList& args)
{
    ToolResult r;
    QProcess p;
    if (!Tool_Available(program))
        return r;
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        ADD_FAILURE() << program.toStdString() << " could not be started";
        return r;
    }
    p.closeWriteChannel();
    if (!p.waitForFinished(180000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

bool Tool_Available(const QString& program)
{
    if (!QStandardPaths::findExecutable(program).isEmpty())
        return true;
    // An oracle the test needs is part of the test: without it the test fails
    // (./test installs it), whatever the test does next.
    ADD_FAILURE() << program.toStdString() << " is not installed: the test cannot check its result";
    return false;
}

QByteArray ZXing_Decode(const QString& imagePath, const QString& format)
{
    QStringList args{"-bytes"};
    if (!format.isEmpty())
        args << "-format" << format;
    args << imagePath;
    ToolResult r = Run_Tool("ZXingReader", args);
    if (r.exitCode != 0)
        return {};
    return r.out;
}

QByteArray Zbar_Decode(const QString& imagePath)
{
    ToolResult r = Run_Tool("zbarimg", {"--raw", "-q", "-Sbinary", imagePath});
    if (r.exitCode != 0)
        return {};
    QByteArray out = r.out;
    if (out.endsWith('\n'))
        out.chop(1);
    return out;
}

QByteArray Dmtx_Decode(const QString& imagePath)
{
    ToolResult r = Run_Tool("dmtxread", {"-n", "-m", "5000", imagePath});
    if (r.exitCode != 0)
        return {};
    return r.out;
}

QImage Bars_To_Image(const QByteArray& bars, int modulepx, int quiet, int heightPx)
{
    const int w = (int(bars.size()) + 2 * quiet) * modulepx;
    QImage img(w, heightPx + 2 * quiet * modulepx / 2, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    for (int i = 0; i < bars.size(); ++i) {
        if (bars[i] == '1')
            p.fillRect((quiet + i) * modulepx, quiet * modulepx / 2, modulepx, heightPx, Qt::black);
    }
    return img;
}

QImage Grid_To_Image(const unsigned char* grid, int width, int height, int modulePx, int quiet)
{
    QImage img((width + 2 * quiet) * modulePx, (height + 2 * quiet) * modulePx, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (grid[y * width + x])
                p.fillRect((x + quiet) * modulePx, (y + quiet) * modulePx, modulePx, modulePx, Qt::black);
    return img;
}

QByteArray From_Full_Ascii(const QByteArray& raw)
{
    QByteArray out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (!QByteArray("$%/+").contains(c) || i + 1 >= raw.size()) {
            out.append(c);
            continue;
        }
        const char k = raw[++i];
        int v = -1;
        switch (c) {
        case '$': v = k - 'A' + 1; break;
        case '+': v = k - 'A' + 'a'; break;
        case '/': v = k == 'Z' ? ':' : k - 'A' + '!'; break;
        case '%':
            if (k >= 'A' && k <= 'E') v = k - 'A' + 27;
            else if (k >= 'F' && k <= 'J') v = k - 'F' + ';';
            else if (k >= 'K' && k <= 'O') v = k - 'K' + '[';
            else if (k >= 'P' && k <= 'T') v = k - 'P' + '{';
            else if (k == 'U') v = 0;
            else if (k == 'V') v = '@';
            else if (k == 'W') v = '`';
            else if (k >= 'X' && k <= 'Z') v = 127;
            break;
        }
        out.append(char(v));
    }
    return out;
}

Read_Only_Path::Read_Only_Path(const QString& path) : m_path(path)
{
    if (geteuid() == 0)
        m_ok = Run_Tool("chattr", {"+i", path}).exitCode == 0;
    else
        m_ok = QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
}

Read_Only_Path::~Read_Only_Path()
{
    if (geteuid() == 0)
        Run_Tool("chattr", {"-i", m_path});
    else
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace testsupport
