#pragma once
// Subset tags on the fonts of the PDF files we write.
//
// A PDF reader knows an embedded font holds only some of its glyphs by the
// tag before its name ("QMAAAA+DejaVuSans"). Qt's PDF writer tags the font's
// descriptor but names the font itself without the tag, so readers take the
// subset for the whole font. Pdf_Font_Tag_Device sits between the writer and
// the file: it gives each font the tag of its descriptor and moves the file's
// cross-reference offsets by what it added. It holds one line of the file at
// a time.
#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QMap>
#include <QPair>

class Pdf_Font_Tag_Device : public QIODevice {
    Q_OBJECT
public:
    // Writes into `target`, which must be open for writing and outlive it.
    explicit Pdf_Font_Tag_Device(QIODevice* target, QObject* parent = nullptr);
    ~Pdf_Font_Tag_Device() override;

    bool isSequential() const override { return true; }
    // Writes the last line (one without a line break) and closes; the target
    // stays open.
    void close() override;
    // False once a write into the target failed.
    bool ok() const { return m_ok; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override;

private:
    void takeLine(QByteArray line);
    void put(const QByteArray& bytes);
    qint64 shifted(qint64 offset) const;

    QIODevice* m_target;
    QByteArray m_line;            // the line being received
    qint64 m_in = 0;              // bytes received before m_line
    QMap<QByteArray, QByteArray> m_tags;        // font name -> "TAGTAG+"
    QList<QPair<qint64, int>> m_inserted;       // where bytes were added (input offset) and how many
    bool m_xref = false;          // in the cross-reference table and what follows
    bool m_startxref = false;     // the next line is the table's offset
    bool m_ok = true;
};

// The same for a whole PDF file on disk (a print into a file): false when it
// could not be read or written back (the file is then unchanged).
bool Tag_Pdf_Font_Subsets(const QString& path);
