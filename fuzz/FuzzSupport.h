#pragma once
// Shared by the fuzz targets: the headless application every target runs in,
// and a reader that turns fuzz bytes into numbers and texts.
//
// A target is one file targets/<name>.cpp defining
//     extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
// that calls Fuzz_Start() first. The same file builds into a libFuzzer program
// (fuzz/run) and into a replay program that ./test runs over corpus/<name>/.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

class QImage;

// Makes the offscreen QApplication once, silences Qt's messages and answers
// every message box and dialog without showing it. Call at the top of every
// input; only the first call does anything.
void Fuzz_Start();

// Installs the barcode road for barcode items read from archives, as the
// application does at start-up.
void Fuzz_Install_Barcode_Road();

// The input as bytes (no copy).
QByteArray Fuzz_Bytes(const uint8_t* data, size_t size);

// Aborts with a message when a target's own invariant does not hold, so that
// libFuzzer records the input as a finding.
void Fuzz_Check(bool condition, const char* what);

// Reads typed values off the front of the input; past the end it answers
// zeros and empty texts.
class FuzzReader {
public:
    FuzzReader(const uint8_t* data, size_t size) : m_p(data), m_left(size) {}
    bool boolean();
    int intIn(int lo, int hi);
    float floatIn(float lo, float hi);
    // UTF-8 text of at most `maxBytes` bytes, ended by a zero byte or the end.
    QString text(int maxBytes);
    // Whatever is left.
    QByteArray rest();
    size_t left() const { return m_left; }

private:
    uint64_t bits(int bytes);
    const uint8_t* m_p;
    size_t m_left;
};

// Writes the bytes a FuzzReader reads back as the given values, for seeds.
class FuzzWriter {
public:
    void boolean(bool v);
    void intIn(int lo, int hi, int v);
    void floatIn(float lo, float hi, float v);
    void text(const QString& v);   // followed by a zero byte
    void rest(const QByteArray& v);
    const QByteArray& bytes() const { return m_bytes; }

private:
    void bits(int bytes, uint64_t v);
    QByteArray m_bytes;
};
