#pragma once
// Shared helpers of the image tools tests: scripted message boxes and
// dialogs, private program folders, and pictures written to files.
#include "common/ScopedFolders.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "platform/MessageSink.h"

#include <QBuffer>
#include <QByteArray>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

namespace imgtest {

// Answers every box from a function (default: the first button, "OK" or
// "Yes") and keeps the texts, trimmed.
class Boxes {
public:
    explicit Boxes(std::function<int(const QString&)> answer = {}) : m_answer(std::move(answer))
    {
        m_previous = Set_Message_Responder([this](const MessageRequest& r) {
            const QString text = r.text.trimmed();
            {
                QMutexLocker lock(&m_lock);
                m_texts << text;
            }
            return m_answer ? m_answer(text) : 0;
        });
    }
    ~Boxes() { Set_Message_Responder(m_previous); }
    QStringList texts() const
    {
        QMutexLocker lock(&m_lock);
        return m_texts;
    }

private:
    std::function<int(const QString&)> m_answer;
    MessageResponder m_previous;
    mutable QMutex m_lock;
    QStringList m_texts;
};

// Runs dialogs without a modal loop: the keep-or-replace box answers with
// `keepReplace` ("keep", "replace" or "cancel"), every other dialog ends with 1.
class Dialogs {
public:
    explicit Dialogs(QString keepReplace = QStringLiteral("keep")) : m_answer(std::move(keepReplace))
    {
        m_previous = Set_Modal_Runner([this](QDialog& d) {
            ++shown;
            if (auto* box = qobject_cast<Replcae_Confirm_Box*>(&d)) {
                ++keepReplaceBoxes;
                if (m_answer == QLatin1String("replace")) box->Replace_Pressed();
                else if (m_answer == QLatin1String("cancel")) box->CancelPressed();
                else box->Keep_Pressed();
                return d.result();
            }
            if (qobject_cast<Open_Export_Log*>(&d))
                ++afterExportBoxes;
            return 1;
        });
    }
    ~Dialogs() { Set_Modal_Runner(m_previous); }
    int shown = 0;
    int keepReplaceBoxes = 0;
    int afterExportBoxes = 0;

private:
    QString m_answer;
    ModalRunner m_previous;
};

// The program's folders inside a temporary folder, restored afterwards.
class Temp_Folders {
public:
    Temp_Folders()
    {
        ::Folders.Created_Resource_Path = path("user");
        ::Folders.Resource_Path = path("resources");
        ::Folders.Data_Folder_Path = path("user/DataSet");
        ::Folders.Cropped_Img_Path = path("user/Cropped_Images");
        for (const QString& p : {::Folders.Created_Resource_Path, ::Folders.Resource_Path, ::Folders.Data_Folder_Path, ::Folders.Cropped_Img_Path})
            QDir().mkpath(p);
    }
    QString path(const QString& rel) const { return m_dir.filePath(rel); }
    QString mkdir(const QString& rel) const
    {
        QDir().mkpath(path(rel));
        return path(rel);
    }

private:
    QTemporaryDir m_dir;
    testsupport::Scoped_Folders m_saved;
};

inline QByteArray encode(const QImage& image, const char* format, int quality = 95)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

// An APP1 segment holding an EXIF block with one orientation entry.
inline QByteArray exifSegment(int orientation)
{
    QByteArray tiff("II\x2a\x00\x08\x00\x00\x00", 8);
    tiff += QByteArray("\x01\x00", 2);                       // one entry
    tiff += QByteArray("\x12\x01\x03\x00\x01\x00\x00\x00", 8);  // 0x0112, SHORT, count 1
    tiff += char(orientation);
    tiff += QByteArray(3, '\0');
    tiff += QByteArray(4, '\0');                             // no next IFD
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    QByteArray seg("\xFF\xE1", 2);
    seg += char((length >> 8) & 0xFF);
    seg += char(length & 0xFF);
    return seg + payload;
}

// A JPEG of the picture with an EXIF segment right after the start marker.
inline QByteArray jpegWithExif(const QImage& stored, const QByteArray& app1, int quality = 95)
{
    QByteArray jpeg = encode(stored, "jpg", quality);
    return jpeg.left(2) + app1 + jpeg.mid(2);
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    return f.write(bytes) == bytes.size();
}

inline bool near(QRgb a, QRgb b, int tol)
{
    return std::abs(qRed(a) - qRed(b)) <= tol && std::abs(qGreen(a) - qGreen(b)) <= tol
        && std::abs(qBlue(a) - qBlue(b)) <= tol;
}

} // namespace imgtest
