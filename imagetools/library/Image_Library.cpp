#include "imagetools/library/Image_Library.h"

#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "imagetools/picture/Thumbnails.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"

#include <QComboBox>
#include <QDataStream>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

QPointer<Image_Library> Image_Library::s_instance;

namespace {

const QString kRowsMime = QStringLiteral("application/x-zorv-library-rows");
constexpr int kThumbSide = 256;

// Icon side in pixels for a zoom value between 0 and 1.
int iconSideFor(double zoom)
{
    return int(48 + zoom * 400);
}

} // namespace

// ---------------------------------------------------------------- model

LibraryModel::LibraryModel(Image_Library* owner) : QAbstractListModel(owner), m_owner(owner) {}

int LibraryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_owner->images.size());
}

QVariant LibraryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_owner->images.size())
        return {};
    const MyImageObject& item = m_owner->images[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return item.imageTitle();
    case Qt::DecorationRole:
        return item.image.isNull() ? QVariant() : QVariant(QIcon(QPixmap::fromImage(item.image)));
    case Qt::UserRole:
        return item.path;
    default:
        return {};
    }
}

Qt::ItemFlags LibraryModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags base = QAbstractListModel::flags(index) | Qt::ItemIsDropEnabled;
    return index.isValid() ? base | Qt::ItemIsDragEnabled : base;
}

QStringList LibraryModel::mimeTypes() const
{
    return {kRowsMime};
}

QMimeData* LibraryModel::mimeData(const QModelIndexList& indexes) const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    QList<int> rows;
    for (const QModelIndex& i : indexes)
        if (i.isValid())
            rows << i.row();
    out << rows;
    auto* mime = new QMimeData;
    mime->setData(kRowsMime, bytes);
    return mime;
}

bool LibraryModel::dropMimeData(const QMimeData* data, Qt::DropAction, int row, int, const QModelIndex& parent)
{
    if (!data || !data->hasFormat(kRowsMime))
        return false;
    QList<int> rows;
    QDataStream in(data->data(kRowsMime));
    in >> rows;
    int to = row >= 0 ? row : (parent.isValid() ? parent.row() : rowCount());
    return m_owner->imageBrowser_moveItemsAtIndexes_toIndex(rows, to);
}

void LibraryModel::reload()
{
    beginResetModel();
    endResetModel();
}

// ---------------------------------------------------------------- grid

LibraryGrid::LibraryGrid(Image_Library* owner) : m_owner(owner)
{
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setWrapping(true);
    setSpacing(8);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

void LibraryGrid::dropEvent(QDropEvent* event)
{
    if (event->source() != this || !event->mimeData()->hasFormat(kRowsMime)) {
        event->ignore();
        return;
    }
    const QModelIndex at = indexAt(event->position().toPoint());
    const int to = at.isValid() ? at.row() : model()->rowCount();
    model()->dropMimeData(event->mimeData(), Qt::MoveAction, to, 0, QModelIndex());
    // Reported as a copy, so the view does not also remove the dragged rows.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

// ---------------------------------------------------------------- picker

Image_Library* Image_Library::defaultInstance()
{
    return s_instance ? s_instance.data() : Gui_Window_Instance(s_instance);
}

Image_Library::Image_Library(QWidget* parent) : QDialog(parent)
{
    Apply_Dialog_Background(this);
    setWindowTitle(QStringLiteral("Image Library"));
    resize(760, 560);
    auto* col = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    category_label = new QLabel(QStringLiteral("Category:"));
    cat_cmbo_bx = new QComboBox;
    top->addWidget(category_label);
    top->addWidget(cat_cmbo_bx, 1);
    col->addLayout(top);
    auto* grid = new LibraryGrid(this);
    imageBrowser = grid;
    model = new LibraryModel(this);
    imageBrowser->setModel(model);
    col->addWidget(imageBrowser, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Zoom:")));
    _zoom_slider = new QSlider(Qt::Horizontal);
    _zoom_slider->setRange(0, 100);
    _zoom_slider->setFixedWidth(180);
    bottom->addWidget(_zoom_slider);
    bottom->addStretch(1);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    bottom->addWidget(cancel);
    bottom->addWidget(ok);
    col->addLayout(bottom);

    connect(ok, &QPushButton::clicked, this, &Image_Library::OK_Clicked);
    connect(cancel, &QPushButton::clicked, this, &Image_Library::Cancel_Clicked);
    connect(_zoom_slider, &QSlider::valueChanged, this, &Image_Library::zoomSliderDidChange);
    connect(cat_cmbo_bx, &QComboBox::activated, this, &Image_Library::comboBoxSelectionDidChange);
    connect(imageBrowser->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Image_Library::imageBrowserSelectionDidChange);
    connect(imageBrowser, &QListView::doubleClicked, this, [] {});
    _zoom_slider->setValue(40);
    applyZoom();
}

void Image_Library::applyZoom()
{
    const int side = iconSideFor(_zoom_slider->value() / 100.0);
    imageBrowser->setIconSize(QSize(side, side));
    imageBrowser->setGridSize(QSize(side + 24, side + 40));
}

void Image_Library::zoomSliderDidChange()
{
    applyZoom();
    imageBrowser->viewport()->update();
}

void Image_Library::Prepare_For_Open()
{
    images.clear();
    _zoom_slider->setValue(40);
    applyZoom();
    model->reload();
    if (control_or_BG == QLatin1String("C")) {
        setWindowTitle(QStringLiteral("Image Library"));
        Fill_Combobox();
    } else {
        setWindowTitle(QStringLiteral("Background Image Library"));
        Load_and_fill_backgrounds();
    }
    cat_cmbo_bx->setVisible(false);
    category_label->setVisible(false);
}

int Image_Library::Open_Library_Window()
{
    try {
        Prepare_For_Open();
        const int code = Run_Modal_Dialog(*this);
        hide();
        return code == 1 ? 1 : 0;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return 0;
    }
}

void Image_Library::fillFrom(const QString& subFolder)
{
    QStringList folders;
    for (const QString& folder : Resource_Folder_Paths(subFolder))
        if (QFileInfo(folder).isDir() && !folders.contains(folder))
            folders << folder;
    if (folders.isEmpty())
        return;
    images.clear();
    model->reload();
    for (const QString& folder : folders) {
        const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& info : entries) {
            const QString ext = info.suffix().toLower();
            if (ext == QLatin1String("png") || ext == QLatin1String("jpg"))
                addImageWithPath(info.filePath(), info.fileName(), info.fileName());
        }
    }
    loadThumbnails();
}

void Image_Library::loadThumbnails()
{
    QStringList paths;
    for (const MyImageObject& item : images)
        paths << item.path;
    const QList<QImage> thumbs = Thumbnails_Of_Files(paths, kThumbSide);
    for (int i = 0; i < images.size() && i < thumbs.size(); ++i)
        images[i].image = thumbs[i];
    model->reload();
}

void Image_Library::Fill_Combobox()
{
    cat_cmbo_bx->clear();
    fillFrom(QStringLiteral("LibraryImage"));
}

void Image_Library::Load_and_fill_backgrounds()
{
    fillFrom(QStringLiteral("Background"));
}

void Image_Library::comboBoxSelectionDidChange()
{
    try {
        const QString category = cat_cmbo_bx->currentText();
        if (!category.isEmpty())
            fillFrom(Path_Join(QStringLiteral("LibraryImage"), category));
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Image_Library::addImageWithPath(const QString& path, const QString& imageName, const QString& image_UID)
{
    const QString trimmed = Trim_Str(path);
    if (trimmed.isEmpty())
        return;
    images.append(MyImageObject(trimmed, imageName, image_UID));
    model->reload();
}

bool Image_Library::imageBrowser_moveItemsAtIndexes_toIndex(QList<int> indexes, int toIndex)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    indexes.erase(std::remove_if(indexes.begin(), indexes.end(),
                                 [this](int i) { return i < 0 || i >= images.size(); }),
                  indexes.end());
    if (indexes.isEmpty())
        return true;
    QList<MyImageObject> moved;
    int before = 0;
    for (int i : indexes) {
        moved << images[i];
        if (i < toIndex)
            ++before;
    }
    for (auto it = indexes.crbegin(); it != indexes.crend(); ++it)
        images.removeAt(*it);
    const int at = std::clamp(toIndex - before, 0, int(images.size()));
    for (int k = 0; k < moved.size(); ++k)
        images.insert(at + k, moved[k]);
    model->reload();
    return true;
}

void Image_Library::imageBrowserSelectionDidChange()
{
    const QModelIndexList chosen = imageBrowser->selectionModel()->selectedIndexes();
    if (chosen.isEmpty())
        return;
    const int row = chosen.first().row();
    if (row >= 0 && row < images.size())
        selected_image = images[row].path;
}

void Image_Library::OK_Clicked()
{
    if (!selected_image.isEmpty() && QFileInfo::exists(selected_image)) {
        done(1);
        return;
    }
    Show_MessageBox(QStringLiteral("Please select image."));
}

void Image_Library::Cancel_Clicked()
{
    selected_image = QString();
    done(0);
}
