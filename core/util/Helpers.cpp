#include "core/util/Helpers.h"

#include <QLocale>
#include <cmath>

#include "core/util/DesktopOpen.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QGroupBox>
#include <QWidget>

// ---------------------------------------------------------------- strings

namespace {

bool isWhitespaceOrNewline(QChar c)
{
    const ushort u = c.unicode();
    if ((u >= 0x09 && u <= 0x0D) || u == 0x85)
        return true;
    switch (c.category()) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

bool isControl(QChar c)
{
    const QChar::Category cat = c.category();
    return cat == QChar::Other_Control || cat == QChar::Other_Format;
}

QString trimBy(const QString& s, bool (*pred)(QChar))
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && pred(s.at(b))) ++b;
    while (e > b && pred(s.at(e - 1))) --e;
    if (b == 0 && e == s.size())
        return s;
    return s.mid(b, e - b);
}

} // namespace

QStringView Trim_View(QStringView s)
{
    const auto trim = [](QStringView t, bool (*pred)(QChar)) {
        qsizetype b = 0;
        qsizetype e = t.size();
        while (b < e && pred(t.at(b)))
            ++b;
        while (e > b && pred(t.at(e - 1)))
            --e;
        return t.mid(b, e - b);
    };
    auto printable = [](QChar c) { return c.unicode() > 0x20 && c.unicode() < 0x7F; };
    if (s.isEmpty() || (printable(s.front()) && printable(s.back())))
        return s;
    return trim(trim(s, isWhitespaceOrNewline), isControl);
}

bool Is_Trimmed(const QString& s)
{
    // Printable ASCII at both ends: nothing to trim (the common case, met a
    // million times in a large import, decided without the character tables).
    auto printable = [](QChar c) { return c.unicode() > 0x20 && c.unicode() < 0x7F; };
    if (s.isEmpty() || (printable(s.front()) && printable(s.back())))
        return true;
    auto keeps = [](QChar c) { return !isWhitespaceOrNewline(c) && !isControl(c); };
    return keeps(s.front()) && keeps(s.back());
}

QString Trim_Str(const QString& s)
{
    if (Is_Trimmed(s))
        return s;
    return trimBy(trimBy(s, isWhitespaceOrNewline), isControl);
}

void Trim_Str_Watch::feed(QStringView piece)
{
    // Trim_Str takes white space from the ends, then control characters:
    // what stays is a character that is neither, or white space that is
    // no control character between two characters that are not white space.
    for (qsizetype i = 0; i < piece.size() && !m_kept; ++i) {
        const QChar c = piece.at(i);
        if (isWhitespaceOrNewline(c)) {
            if (m_inner && !isControl(c))
                m_space = true;
            continue;
        }
        if (!isControl(c) || m_space)
            m_kept = true;
        m_inner = true;
    }
}

QString Replace_Char_For_Valid(const QString& s) { return Trim_Str(s); }
QString Replace_Char_For_valid(const QString& s) { return Trim_Str(s); }

QString Left_Str_substringToIndex(const QString& s, int n)
{
    if (n < 0) n = 0;
    if (n >= s.size()) return s;
    return s.left(n);
}

QString Right_Str_substringFromIndex(const QString& s, int n)
{
    if (n < 0) n = 0;
    if (n >= s.size()) return s;
    return s.right(n);
}

QString Read_Str_FromIndex(const QString& s, int i)
{
    if (i < 0 || i > s.size()) return QStringLiteral("");
    return s.mid(i);
}

QString Read_Str_Upto_Index(const QString& s, int i)
{
    if (i < 0 || i > s.size()) return QStringLiteral("");
    return s.left(i);
}

QString Replace_char_in_string(const QString& s, const QString& a, const QString& b)
{
    if (a.isEmpty()) return s;
    QString out = s;
    return out.replace(a, b, Qt::CaseSensitive);
}

QString stringByReplaceCharacterSet(const QString& s, const std::function<bool(QChar)>& inSet, const QString& r)
{
    if (!inSet) return s;
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        if (inSet(c)) out += r;
        else out += c;
    }
    return out;
}

bool Find_Str(const QString& s, const QString& t)
{
    if (s.isNull() || t.isEmpty()) return false;
    return s.contains(t, Qt::CaseSensitive);
}

bool Find_Str_Case_Insensitive(const QString& s, const QString& t)
{
    if (s.isNull() || t.isNull() || t.isEmpty()) return false;
    return s.contains(t, Qt::CaseInsensitive);
}

// ---------------------------------------------------------------- files

bool Is_Reserved_File_Name_Char(QChar c)
{
    switch (c.unicode()) {
    case '/': case '\\': case '?': case '%': case '*': case '|': case '"': case '<': case '>':
        return true;
    default:
        return false;
    }
}

QString Remove_Reserve_Char_In_File_Name(const QString& name)
{
    qsizetype b = 0;
    qsizetype e = name.size();
    while (b < e && Is_Reserved_File_Name_Char(name.at(b))) ++b;
    while (e > b && Is_Reserved_File_Name_Char(name.at(e - 1))) --e;
    QString out = name.mid(b, e - b);
    out.replace(QLatin1Char('/'), QLatin1Char('_'));
    out.remove(QChar(0));
    return Trim_Str(out);
}

bool Create_Folder(const QString& path)
{
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return info.isDir();
    // mkpath creates with 0777 less the umask.
    return QDir().mkpath(path) && QFileInfo(path).isDir();
}

void Delete_Folder(const QString& path)
{
    if (path.isEmpty()) return;
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isDir()) {
        QFile::remove(path);
        return;
    }
    QDir(path).removeRecursively();
}

void Delete_File(const QString& path)
{
    if (path.isEmpty()) return;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return;
    // Deletable when the folder that holds it is writable.
    const QFileInfo parent(info.absolutePath());
    if (!parent.isWritable()) return;
    Delete_Folder(path);
}

namespace {

bool nameTaken(const QString& folder, const QString& base, const QString& ext)
{
    const QString stem = Path_Join(folder, base);
    if (ext.isEmpty())
        return QFileInfo::exists(stem);
    const QString dotted = stem + QLatin1Char('.');
    return QFileInfo::exists(dotted + ext) || QFileInfo::exists(dotted + ext.toLower())
        || QFileInfo::exists(dotted + ext.toUpper());
}

} // namespace

QString Check_Exist_Path_and_Create_New(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = info.path();
    const QString base = info.completeBaseName();
    const QString ext = info.suffix().toUpper();
    auto join = [&](const QString& b) {
        const QString file = ext.isEmpty() ? b : b + QLatin1Char('.') + ext;
        return Path_Join(folder, file);
    };
    if (!nameTaken(folder, base, ext))
        return join(base);
    for (long long n = 1;; ++n) {
        const QString candidate = QStringLiteral("%1 (%2)").arg(base).arg(n);
        if (!nameTaken(folder, candidate, ext))
            return join(candidate);
    }
}

QString Help_File_Path()
{
    return QDir::cleanPath(QFileInfo(Path_Join(Folders.Resource_Path, QStringLiteral("Help.pdf"))).absoluteFilePath());
}

void Open_Help_File()
{
    const QString help = Help_File_Path();
    if (!QFileInfo(help).isFile()) {
        Show_MessageBox(QStringLiteral("Help file does not exist!"));
        return;
    }
    Open_With_Desktop(help, QStringLiteral("The user help"));
}

void Init_Program_Paths()
{
    if (Folders.Resource_Path.isEmpty()) Folders.Resource_Path = Default_Resource_Path();
    if (Folders.Created_Resource_Path.isEmpty()) Folders.Created_Resource_Path = Default_Created_Resource_Path();
    if (Folders.Data_Folder_Path.isEmpty()) Folders.Data_Folder_Path = Path_Join(Folders.Created_Resource_Path, QStringLiteral("DataSet"));
}

QString User_Resource_Folder(const QString& subFolder)
{
    return Path_Join(Folders.Created_Resource_Path, subFolder);
}

QStringList Resource_Folder_Paths(const QString& subFolder)
{
    return {Path_Join(Folders.Resource_Path, subFolder), User_Resource_Folder(subFolder)};
}

QString Resolve_Resource_File(const QString& relativePath)
{
    const QString user = Path_Join(Folders.Created_Resource_Path, relativePath);
    if (!Folders.Created_Resource_Path.isEmpty() && QFileInfo::exists(user))
        return user;
    return Path_Join(Folders.Resource_Path, relativePath);
}

namespace {

// Copies a shipped default file into the data folder when it is missing there.
// The copy is the user's to change, whatever the shipped file's permissions.
void copyDefaultIfMissing(const QString& folder, const QString& fileName, const QString& shippedFolder)
{
    const QString target = Path_Join(folder, fileName);
    if (QFileInfo::exists(target)) return;
    const QString source = Path_Join(Path_Join(Folders.Resource_Path, shippedFolder), fileName);
    if (!QFileInfo(source).isFile()) return;
    if (QFile::copy(source, target))
        QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace

void Check_Path_And_Create_Files()
{
    Init_Program_Paths();
    // Per-user twins of the resource folders the program fills.
    for (const char* sub : {"Background", "Fill_Style_Image", "LibraryImage"})
        Create_Folder(User_Resource_Folder(QString::fromLatin1(sub)));

    Create_Folder(Folders.Created_Resource_Path);
    Create_Folder(Folders.Data_Folder_Path);

    Folders.Cropped_Img_Path = Path_Join(Folders.Created_Resource_Path, QStringLiteral("Cropped_Images"));
    Create_Folder(Folders.Cropped_Img_Path);

    Folders.custom_label_path = Path_Join(Folders.Created_Resource_Path, QStringLiteral("CustomProductLabel"));
    Create_Folder(Folders.custom_label_path);
    copyDefaultIfMissing(Folders.custom_label_path, QStringLiteral("Custom1.zvp"), QStringLiteral("CustomProductLabel"));

    Folders.print_profile_path = Path_Join(Folders.Created_Resource_Path, QStringLiteral("PrintProfile"));
    Create_Folder(Folders.print_profile_path);
    copyDefaultIfMissing(Folders.print_profile_path, QStringLiteral("Default.zvp"), QStringLiteral("PrintProfile"));
}

// ---------------------------------------------------------------- controls

void SetObjEnabled(QWidget* object, bool enabled)
{
    if (!object) return;
    if (object->metaObject() == &QGroupBox::staticMetaObject) {
        const auto children = object->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget* child : children)
            SetObjEnabled(child, enabled);
        return;
    }
    object->setEnabled(enabled);
}

// ---------------------------------------------------------------- lengths

double MM_To_Unit_Factor(int unit)
{
    switch (unit) {
    case 0: return 1.0 / 25.4;  // inch
    case 1: return 0.1;         // centimetre
    default: return 1.0;        // millimetre
    }
}

double Points_To_Unit(double points, int unit)
{
    return points * Points_To_MM_Factor * MM_To_Unit_Factor(unit);
}

double Unit_To_Points(double value, int unit)
{
    return value / MM_To_Unit_Factor(unit) * MM_To_Points_Factor;
}

QString Length_Field_Text(double value, int unit)
{
    const int decimals = unit == 0 ? 4 : 2;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    return c.toString(std::isfinite(value) ? value : 0.0, 'f', decimals);
}

QString Points_Field_Text(double points)
{
    return Length_Field_Text(points, 2);
}

double Length_Field_Step(int unit)
{
    return unit == 0 ? 0.01 : unit == 1 ? 0.1 : 1.0;
}
