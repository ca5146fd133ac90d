#pragma once
// Helpers shared by the test suites: running the decoders and tools that
// serve as oracles, and writing images for them.
#include <QImage>
#include <QString>
#include <QStringList>

#include <atomic>

namespace testsupport {

struct ToolResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a program to completion (three minutes at most, for a loaded machine) and gathers its output.
ToolResult Run_Tool(const QString& program, const QStringList& args);

// True when the program can be found on the PATH. A missing program fails
// the calling test: a test that asks needs it, and ./test installs it.
bool Tool_Available(const QString& program);

// Decodes the one symbol in an image file with ZXingReader and returns its
// bytes; empty when nothing was read. `format` is a ZXing format name.
QByteArray ZXing_Decode(const QString& imagePath, const QString& format = QString());

// The same with zbarimg (raw output, no symbology prefix).
QByteArray Zbar_Decode(const QString& imagePath);

// The same with dmtxread.
QByteArray Dmtx_Decode(const QString& imagePath);

// Draws a bar string ('1' bar, '0' space) as a black-on-white PNG with
// `modulepx` pixels a module, `quiet` modules of quiet zone and the given height.
QImage Bars_To_Image(const QByteArray& bars, int modulepx = 2, int quiet = 12, int heightPx = 80);

// Draws a module grid (row-major, 1 dark) with `modulePx` pixels a module and
// a quiet zone of `quiet` modules.
QImage Grid_To_Image(const unsigned char* grid, int width, int height, int modulePx = 4, int quiet = 4);

// Writes `bytes` to a file, replacing it; false when it cannot be opened.
bool Write_File(const QString& path, const QByteArray& bytes);

// Writes a small file and fails the test when it cannot.
void touch(const QString& path, const QByteArray& bytes = "x");

// The bytes of a file; empty when it cannot be read.
QByteArray readAll(const QString& path);

// How many file descriptors of this process are open on the file at `path`
// (read from /proc/self/fd).
int Open_Descriptors_On(const QString& path);

// ASCII from the full-ASCII pairs of a decoded Code 39 text, by the
// standard's table (independently of the encoder's own table).
QByteArray From_Full_Ascii(const QByteArray& raw);

// Spins the GUI thread's event loop until `done` or five seconds pass.
void pumpUntil(const std::atomic<bool>& done);

// A file or folder nobody may write into, the owner included (root ignores
// modes, so it gets the immutable attribute instead); given back on
// destruction.
class Read_Only_Path {
public:
    explicit Read_Only_Path(const QString& path);
    ~Read_Only_Path();
    Read_Only_Path(const Read_Only_Path&) = delete;
    Read_Only_Path& operator=(const Read_Only_Path&) = delete;
    bool ok() const { return m_ok; }

private:
    QString m_path;
    bool m_ok = false;
};

} // namespace testsupport
