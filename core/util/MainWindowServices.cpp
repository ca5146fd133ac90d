#include "core/util/MainWindowServices.h"
#include "core/util/Services.h"
#include "core/util/BarcodeServices.h"

#include "core/model/LMNGraphic.h"
#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"
#include "core/util/ServiceInterfaces.h"
#include "platform/ImageWriter.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QMutex>
#include <QMutexLocker>
#include <QTemporaryDir>
#include <QWidget>

#include <cmath>
#include <exception>
#include <functional>
#include <memory>
#include <vector>



MainWindowServices::~MainWindowServices() = default;

MainWindowServices* Main_Window_On_This_Thread()
{
    return Is_Main_Thread() ? App_Services().Main_App_wnd : nullptr;
}

QString Text_Ctrl_Font_Family()
{
    MainWindowServices* main = Main_Window_On_This_Thread();
    const QString family = main ? main->Text_Ctrl_Font() : QString();
    return family.isEmpty() ? QStringLiteral("Helvetica") : family;
}

QString MainWindowServices::App_Name() const
{
    return QCoreApplication::applicationName();
}

namespace {

// Another installation's resource folder inside a path of a design file.
const QString kForeignResources = QStringLiteral(".app/Contents/Resources/");

// Our file for a path relative to the resource folder: the shipped one, or
// the per-user twin's; "" when neither exists.
QString Own_Resource_File(const QString& rel)
{
    if (rel.isEmpty() || rel == QLatin1String("..") || rel.startsWith(QLatin1String("../")))
        return {};
    if (!Folders.Resource_Path.isEmpty()) {
        const QString shipped = Path_Join(Folders.Resource_Path, rel);
        if (QFileInfo(shipped).isFile())
            return shipped;
    }
    if (!Folders.Created_Resource_Path.isEmpty()) {
        const QString user = Path_Join(Folders.Created_Resource_Path, rel);
        if (QFileInfo(user).isFile())
            return user;
    }
    return {};
}

bool Is_Inside(const QString& path, const QString& folder)
{
    if (folder.isEmpty())
        return false;
    const QString f = QDir::cleanPath(folder);
    return path.size() > f.size() && path.startsWith(f) && path.at(f.size()) == QLatin1Char('/');
}

} // namespace

QString Rebase_Picture_Path(const QString& path)
{
    if (path.isEmpty())
        return path;
    if (QDir::isRelativePath(path)) {
        const QString rel = QDir::cleanPath(path);
        const QString own = Own_Resource_File(rel);
        if (!own.isEmpty())
            return own;
        if (rel == QLatin1String("..") || rel.startsWith(QLatin1String("../")) || Folders.Resource_Path.isEmpty())
            return path;
        return Path_Join(Folders.Resource_Path, rel);
    }
    const QString clean = QDir::cleanPath(path);
    if (Is_Inside(clean, Folders.Resource_Path) || Is_Inside(clean, Folders.Created_Resource_Path))
        return path;
    const qsizetype at = path.indexOf(kForeignResources);
    if (at >= 0) {
        const QString rest = path.mid(at + kForeignResources.size());
        if (rest.isEmpty())
            return path;
        // Pictures the user added live in the per-user twin of the resource folder.
        const QString own = Own_Resource_File(rest);
        return own.isEmpty() ? Path_Join(Folders.Resource_Path, rest) : own;
    }
    // The longest ending first: "Background/sky.png" before "sky.png".
    const QStringList parts = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const bool missing = !QFileInfo(clean).isFile();
    const QString ownData = QFileInfo(Folders.Created_Resource_Path).fileName();
    const QString ownShipped = QFileInfo(Folders.Resource_Path).fileName();
    for (int i = 1; i < parts.size(); ++i) {
        const QString& folder = parts.at(i - 1);
        const bool installed = folder.compare(QLatin1String("zorv-label"), Qt::CaseInsensitive) == 0;
        const bool likely = folder.compare(QLatin1String("resources"), Qt::CaseInsensitive) == 0
            || (!ownData.isEmpty() && folder == ownData) || (!ownShipped.isEmpty() && folder == ownShipped);
        if (!installed && !(likely && missing))
            continue;
        const QString own = Own_Resource_File(parts.mid(i).join(QLatin1Char('/')));
        if (!own.isEmpty())
            return own;
    }
    return path;
}

QString Picture_Path_To_Store(const QString& path)
{
    if (path.isEmpty() || Folders.Resource_Path.isEmpty() || QDir::isRelativePath(path))
        return path;
    const QString clean = QDir::cleanPath(path);
    if (!Is_Inside(clean, Folders.Resource_Path))
        return path;
    return clean.mid(QDir::cleanPath(Folders.Resource_Path).size() + 1);
}

QString MainWindowServices::Check_Path_For_App_Resources(const QString& path) const
{
    return Rebase_Picture_Path(path);
}

QPointF MainWindowServices::Control_New_Point(const QString& side)
{
    float step = 20.0f;
    float W = 0.0f;
    float H = 0.0f;
    try {
        if (side == QLatin1String("F"))
            step = std::max(20.0f, float(Get_Front_Control_Count()));
        const QRectF bounds = graphicViewBounds();
        W = float(bounds.width());
        H = float(bounds.height());
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return QPointF(10.0, 10.0);
    }
    float x = last_ctrl_X + step;
    float y = last_ctrl_Y + step;
    if (!(x + 50.0f < W && 10.0f + last_ctrl_X_Exeed_Count < W)) {
        if (10.0f + last_ctrl_X_Exeed_Count >= W)
            last_ctrl_X_Exeed_Count = 2.0f;
        x = 10.0f + last_ctrl_X_Exeed_Count;
        last_ctrl_X_Exeed_Count += 5.0f;
    }
    if (!(y + 50.0f < H && 10.0f + last_ctrl_Y_Exeed_Count < H)) {
        if (10.0f + last_ctrl_Y_Exeed_Count >= H)
            last_ctrl_Y_Exeed_Count = 2.0f;
        y = 10.0f + last_ctrl_Y_Exeed_Count;
        last_ctrl_Y_Exeed_Count += 5.0f;
    }
    last_ctrl_X = x;
    last_ctrl_Y = y;
    return QPointF(x, y);
}

bool MainWindowServices::Check_Batch_File_In_Use_Validation(const QString& seriesName) const
{
    try {
        // Names are matched without regard to case; the file is found whatever
        // the case of its name and extension (a kept copy's is in capitals).
        for (const QString& used : Barcode_Mode_Series_Names())
            if (Same_Series_Name(used, seriesName))
                return true;
        if (Existing_Series_File(seriesName).isEmpty())
            return false;
        for (LMNGraphic* item : Get_Front_Controls_Array()) {
            if (!item)
                continue;
            const LMNKind kind = item->kind();
            if (kind != LMNKind::Image && kind != LMNKind::Text && kind != LMNKind::Barcode)
                continue;
            if (item->data_source_type != 1)
                continue;
            if (Same_Series_Name(item->batch_list_name, seriesName)
                || Same_Series_Name(item->batch_hdr_list_name, seriesName)
                || Same_Series_Name(item->batch_ftr_list_name, seriesName))
                return true;
        }
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
    return false;
}

// ---------------------------------------------------------------- sheets and boxes

void MainWindowServices::Show_Create_Modeless()
{
    Run_On_Main_Thread_And_Wait([] {
        if (Please_Wait_Sheet* sheet = Please_Wait_Sheet::defaultInstance())
            sheet->Begin();
    });
}

void MainWindowServices::Hide_Destroy_Modeless()
{
    Run_On_Main_Thread_And_Wait([] {
        if (Please_Wait_Sheet* sheet = Please_Wait_Sheet::defaultInstance())
            sheet->End();
    });
}

void MainWindowServices::Show_One_By_One_Modeless()
{
    Run_On_Main_Thread_And_Wait([this] {
        if (QWidget* w = Send_Models_Window()) {
            w->setWindowModality(w->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
            w->show();
            w->raise();
        }
    });
}

void MainWindowServices::Hide_One_By_One_Modeless()
{
    Run_On_Main_Thread_And_Wait([this] {
        if (QWidget* w = Send_Models_Window())
            w->hide();
    });
}

int MainWindowServices::Open_Export_File_Box(const QString& Export_File_Path, const QString& Export_File_Message)
{
    int code = 0;
    Run_On_Main_Thread_And_Wait([&] {
        Open_Export_Log* box = Open_Export_Log::defaultInstance();
        box->Export_File_Path = Export_File_Path;
        box->Export_File_Message = Export_File_Message;
        box->Reset_Controls();
        box->setWindowModality(box->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
        code = Run_Modal_Dialog(*box);
        box->hide();
    });
    return code;
}

// ---------------------------------------------------------------- units

float MainWindowServices::Points_to_MM_Convert(float points)
{
    return float(double(points) * Points_To_MM_Factor);
}

float MainWindowServices::MM_to_Points_Convert(float mm)
{
    return float(double(mm) * MM_To_Points_Factor);
}

// ---------------------------------------------------------------- images

PtImage MainWindowServices::Increase_DPI(const PtImage& image, double dpi)
{
    if (image.isNull()) {
        Show_NSLog_Message(QStringLiteral("Invalid image"));
        return {};
    }
    if (!(dpi > 0.0) || !std::isfinite(dpi))
        return {};
    const double pw = std::ceil(float(dpi * image.size().width() / 72.0));
    const double ph = std::ceil(float(dpi * image.size().height() / 72.0));
    if (pw * ph > 100.0e6) {
        Show_NSLog_Message(QStringLiteral("Image too large at %1 DPI").arg(dpi));
        return {};
    }
    const QImage pixels = image.toImage(dpi);
    if (pixels.isNull())
        return {};
    return PtImage(pixels, image.size());
}

bool MainWindowServices::Save_gen_image(const PtImage& image, const QString& path)
{
    QString error;
    ImageFileFormat format = Image_Format_For_Path(path);
    if (format == ImageFileFormat::Unknown)
        format = ImageFileFormat::PNG;
    if (!Write_PtImage_File(path, image, format, &error)) {
        Show_NSLog_Message(QStringLiteral("Could not write %1: %2").arg(path, error));
        return false;
    }
    return true;
}

PtImage MainWindowServices::Get_Image_For_Path(const QString& path, bool asIcon, bool org_or_crop)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return {};
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!org_or_crop) {
        const QImage thumb = QuickLook::imageWithPreviewOfFileAtPath(clean, QSize(Crop_Image_Size, Crop_Image_Size), asIcon);
        return thumb.isNull() ? PtImage() : PtImage(thumb);
    }
    QImageReader reader(clean);
    reader.setAutoTransform(true);
    const QImage full = reader.read();
    if (full.isNull())
        return {};
    // The picture's size in points follows its resolution when it has one.
    QSizeF points(full.size());
    const double dpmX = full.dotsPerMeterX();
    const double dpmY = full.dotsPerMeterY();
    if (dpmX > 100 && dpmY > 100)
        points = QSizeF(full.width() * 72.0 / (dpmX * 0.0254), full.height() * 72.0 / (dpmY * 0.0254));
    return PtImage(full, points);
}

PtImage MainWindowServices::Get_Image_For_Data(const QByteArray& data, bool asIcon)
{
    if (data.isEmpty())
        return {};
    const QImage thumb = QuickLook::imageWithPreviewOfFile_With_Data(data, QSize(Crop_Image_Size, Crop_Image_Size), asIcon);
    return thumb.isNull() ? PtImage() : PtImage(thumb);
}

bool MainWindowServices::Image_Is_Over_Size(const QString& path, bool show_msg, bool org_or_crop)
{
    if (MainWindowServices* main = Main_Window_On_This_Thread())
        main->Use_Org_image_Or_Shred_it = 0;
    return false;
}

quint64 MainWindowServices::Get_File_Size_At_Path(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? quint64(info.size()) : 0;
}

// ---------------------------------------------------------------- files and folders

namespace {

// The name without its last extension ("a.b.txt" -> "a.b"; ".hidden" stays).
QString deleteExtension(const QString& name)
{
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash + 1)
        return name;
    return name.left(dot);
}

QString extensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return QString();
    return name.mid(dot + 1);
}

constexpr QDir::Filters kAll = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

QStringList walk(const QString& path, bool foldersOnly)
{
    QStringList out;
    if (!QFileInfo(path).isDir())
        return out;
    const QDir base(path);
    QDirIterator it(path, kAll, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (foldersOnly && !info.isDir())
            continue;
        out << deleteExtension(base.relativeFilePath(info.filePath()));
    }
    out.sort();
    return out;
}

} // namespace

QStringList MainWindowServices::Get_Folder_Array_At_Path(const QString& path)
{
    if (!QFileInfo(path).isDir())
        return {};
    return QDir(path).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList MainWindowServices::Get_Files_Array_At_Path(const QString& path, bool del_ext)
{
    QStringList out;
    if (!QFileInfo(path).isDir())
        return out;
    const QFileInfoList entries = QDir(path).entryInfoList(kAll, QDir::Name);
    for (const QFileInfo& info : entries) {
        if (info.isDir())
            continue;
        out << (del_ext ? deleteExtension(info.fileName()) : info.fileName());
    }
    return out;
}

QStringList MainWindowServices::Get_Folders_And_Sub_Folder_Array_At_Path(const QString& path)
{
    return walk(path, true);
}

QStringList MainWindowServices::Get_Files_And_Folder_Array_At_Path(const QString& path)
{
    return walk(path, false);
}

QStringList MainWindowServices::Get_datasheet_File_Name_Array()
{
    QStringList out;
    if (!QFileInfo(Folders.Data_Folder_Path).isDir())
        return out;
    const QFileInfoList entries = QDir(Folders.Data_Folder_Path).entryInfoList(kAll, QDir::Name);
    for (const QFileInfo& info : entries) {
        if (info.isDir())
            continue;
        if (extensionOf(info.fileName()).toLower() == batch_file_EXT)
            out << deleteExtension(info.fileName());
    }
    return out;
}

bool MainWindowServices::Check_And_Validate_File_Path(const QString& path)
{
    const QString trimmed = Trim_Str(path);
    if (trimmed.isEmpty() || !QFileInfo::exists(trimmed)) {
        Show_MessageBox(QStringLiteral("Please select valid file path."));
        return true;
    }
    return false;
}

QString MainWindowServices::Convert_Path_From_URL(const QUrl& url)
{
    return url.isLocalFile() ? url.toLocalFile() : url.path();
}

QString MainWindowServices::Private_Temp_Folder()
{
    // Made on first use (once, on any thread), never changed after; removed at exit.
    static const QTemporaryDir folder;
    return folder.isValid() ? folder.path() : QString();
}

void MainWindowServices::Delete_Excel_File_Temp_Folder()
{
    const QString base = Private_Temp_Folder();
    if (base.isEmpty())
        return;
    QDir(Path_Join(base, QStringLiteral("ziptmp"))).removeRecursively();
}

// ---------------------------------------------------------------- texts and settings

namespace {

// Date pattern letters of the usual pattern language turned into Qt's.
QString toQtDatePattern(const QString& pattern)
{
    QString out;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\'')) {
            // Quoted literal, copied with its quotes ('' is a quote).
            qsizetype j = i + 1;
            while (j < pattern.size() && pattern.at(j) != QLatin1Char('\'')) ++j;
            out += pattern.mid(i, qMin(j + 1, pattern.size()) - i);
            i = j + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern.at(i + run) == c) ++run;
        const char l = c.toLatin1();
        switch (l) {
        case 'E': case 'c': out += run >= 4 ? QStringLiteral("dddd") : QStringLiteral("ddd"); break;
        case 'a': out += QStringLiteral("AP"); break;
        case 'L': out += QString(run, QLatin1Char('M')); break;
        case 'Y': case 'u': out += QString(run, QLatin1Char('y')); break;
        case 'S': out += QStringLiteral("zzz"); break;
        case 'z': case 'Z': case 'v': case 'V': case 'O': case 'X': case 'x': out += QStringLiteral("t"); break;
        case 'k': out += QString(qMin<qsizetype>(run, 2), QLatin1Char('H')); break;
        case 'K': out += QString(qMin<qsizetype>(run, 2), QLatin1Char('h')); break;
        case 'y': case 'M': case 'd': case 'H': case 'h': case 'm': case 's':
            out += QString(run, c);
            break;
        default:
            if (c.isLetter()) {
                // Letters Qt would read as fields, quoted so they stay text.
                out += QLatin1Char('\'') + QString(run, c) + QLatin1Char('\'');
            } else {
                out += QString(run, c);
            }
            break;
        }
        i += run;
    }
    return out;
}

} // namespace

QString MainWindowServices::Get_date_Value(const QString& pattern)
{
    return QLocale::system().toString(QDateTime::currentDateTime(), toQtDatePattern(pattern));
}

QString MainWindowServices::Get_time_Value(const QString& pattern)
{
    return Get_date_Value(pattern);
}

int MainWindowServices::Get_OS_Version()
{
    return 2299;
}

Email_Details MainWindowServices::Get_Email_Details()
{
    Email_Details d;
    const std::shared_ptr<Preferences> prefs = Preferences::sharedInstance();
    if (!prefs)
        return d;
    d.sender_email = prefs->send_email_SenderEmail();
    d.sender_pwd = prefs->send_email_Password();
    d.sending_server = prefs->send_email_SMTP_server();
    d.sending_port = prefs->send_email_PORT_num();
    d.send_enable_ssl = prefs->send_email_enable_ssl();
    return d;
}

namespace {
// The page settings of the process (paper, margins, the printer chosen):
// one set for every design, as the page setup, the print and PDF windows and
// the design's own print command share them, also with no main window made
// (guarded).
struct Page_Settings {
    QMutex lock;
    PrintInfo info;
    std::vector<std::pair<int, std::function<void(const PrintInfo&)>>> listeners;
    int lastListener = 0;
};
Page_Settings g_page;
}

void MainWindowServices::setPrintInfo(const PrintInfo& info)
{
    std::vector<std::pair<int, std::function<void(const PrintInfo&)>>> listeners;
    {
        QMutexLocker lock(&g_page.lock);
        if (g_page.info == info)
            return;
        g_page.info = info;
        listeners = g_page.listeners;
    }
    for (const auto& l : listeners)
        l.second(info);
}

int MainWindowServices::addPrintInfoListener(std::function<void(const PrintInfo&)> listener)
{
    QMutexLocker lock(&g_page.lock);
    const int id = ++g_page.lastListener;
    g_page.listeners.emplace_back(id, std::move(listener));
    return id;
}

void MainWindowServices::removePrintInfoListener(int id)
{
    QMutexLocker lock(&g_page.lock);
    std::erase_if(g_page.listeners, [id](const auto& l) { return l.first == id; });
}

PrintInfo MainWindowServices::printInfo()
{
    QMutexLocker lock(&g_page.lock);
    return g_page.info;
}
