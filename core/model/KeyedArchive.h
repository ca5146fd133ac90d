#pragma once
// A compact keyed archive: one object recorded with its class name and a list
// of named, typed values. Item archives, card archives and the undo snapshots
// use it.
//
// Layout (little-endian): "ZLKA", version byte 2, class name (u8 length +
// Latin-1), u16 entry count, then per entry: key (u8 length + Latin-1), type
// byte, payload. A missing key reads as "not there" and leaves the target
// unchanged. Reading checks every length against the data, so damaged or
// hostile bytes are refused, never read past.
//
// Pictures travel in forms whose readers check them: a raster picture as PNG
// bytes (read by Picture_From_Data within the archive's pixel limit), and a
// picture the owner can make again (a barcode) as a reference: the SHA-256
// of its contents, resolved through the pictures this process has archived.
// A reference that this process does not know (data from another process or
// a forged one) reads as no picture and tells the caller, who makes it anew.
// A vector picture that is to travel as data is drawn into a raster first.
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "platform/PtImage.h"

struct LMNTextStorage;

class KeyedArchiver {
public:
    explicit KeyedArchiver(const QString& className, int reserve = 1024);
    void encodeRect(const char* key, const QRectF& v);
    void encodePoint(const char* key, const QPointF& v);
    void encodeSize(const char* key, const QSizeF& v);
    void encodeBool(const char* key, bool v);
    void encodeInt32(const char* key, qint32 v);
    void encodeFloat(const char* key, float v);
    // A null string, an invalid colour, a null image or a missing text
    // storage is recorded as a null entry: the key is there, with no value.
    void encodeString(const char* key, const QString& v);
    void encodeColor(const char* key, const QColor& v);
    void encodeFont(const char* key, const QFont& v);
    enum class ImageForm { Data, Reference };
    void encodeImage(const char* key, const PtImage& v, ImageForm form = ImageForm::Data);
    void encodeTextStorage(const char* key, const LMNTextStorage* v);
    int count() const { return m_count; }
    QByteArray finish();

private:
    void key(const char* key, quint8 type);
    void null(const char* key) { this->key(key, 12); }
    QByteArray m_data;
    int m_countPos = 0;
    int m_count = 0;
};

class KeyedUnarchiver {
public:
    enum Type : quint8 { Rect = 1, Point, Size, Bool, Int32, Float, String, Color, Font, Image, TextStorage, Null };

    // Checks the whole layout; false (with an error text) when the data is no archive.
    bool open(const QByteArray& data, QString* error = nullptr);
    QString className() const { return m_className; }
    QStringList keys() const;
    int count() const { return int(m_entries.size()); }
    bool contains(const char* key) const { return find(key) >= 0; }

    // Each answers false when the key holds a value of another type or an
    // unreadable value; an absent key (or a null entry for an object type)
    // answers true and leaves `out` alone.
    bool decodeRect(const char* key, QRectF& out);
    bool decodePoint(const char* key, QPointF& out);
    bool decodeSize(const char* key, QSizeF& out);
    bool decodeBool(const char* key, bool& out);
    bool decodeInt32(const char* key, int& out);
    bool decodeFloat(const char* key, float& out);
    bool decodeDouble(const char* key, double& out);   // a float widened
    bool decodeString(const char* key, QString& out);
    bool decodeColor(const char* key, QColor& out);
    bool decodeFont(const char* key, QFont& out);
    // `unresolved` (when given) is set when the key holds a reference to a
    // picture this process does not know; `out` is then left alone.
    bool decodeImage(const char* key, PtImage& out, bool* unresolved = nullptr);
    bool decodeTextStorage(const char* key, std::unique_ptr<LMNTextStorage>& out);

private:
    struct Entry {
        const char* key;
        int keyLen;
        quint8 type;
        int offset;   // of the payload
        int length;
    };
    int find(const char* key) const;
    const Entry* entry(const char* key, quint8 type, bool& ok);
    QByteArray m_data;
    QString m_className;
    std::vector<Entry> m_entries;
    mutable int m_hint = 0;
};

// Largest picture an archive may carry, in pixels.
inline constexpr qint64 Keyed_Archive_Max_Image_Pixels = 100'000'000;
// Resolution at which a vector picture is drawn when it travels as data.
inline constexpr double Keyed_Archive_Vector_Dpi = 300.0;

// How many pictures archived by reference this process keeps (the oldest
// are forgotten first; their owners then make them anew).
inline constexpr int Keyed_Archive_Kept_References = 256;
// Forgets every picture archived by reference (tests).
void Keyed_Archive_Forget_References();
