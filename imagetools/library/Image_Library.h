#pragma once
// The picture library picker: a modal window with a zoomable grid of the
// pictures that come with the application (and the user's own, kept in the
// per-user twin of the library folder), from which the user picks one.
// Mode "C": pictures for picture items ("LibraryImage"); any other mode:
// card backgrounds ("Background").
#include <QAbstractListModel>
#include <QDialog>
#include <QImage>
#include <QList>
#include <QListView>
#include <QPointer>
#include <QString>

class QComboBox;
class QLabel;
class QSlider;

// One grid item.
class MyImageObject {
public:
    MyImageObject() = default;
    MyImageObject(const QString& path, const QString& name, const QString& uid)
        : path(path), image_Name(name), image_UID(uid) {}
    QString path;        // full path of the picture file
    QImage image;        // its thumbnail, once made
    QString image_Name;  // the title shown under it: the file name
    QString image_UID;   // the item's identifier: the file name

    QString imageTitle() const { return image_Name; }
    QString imageUID() const { return image_UID; }
};

class Image_Library;

// The grid's model over the picker's items.
class LibraryModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit LibraryModel(Image_Library* owner);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    void reload();

private:
    Image_Library* m_owner;
};

class Image_Library : public QDialog {
    Q_OBJECT
public:
    explicit Image_Library(QWidget* parent = nullptr);
    static Image_Library* defaultInstance();

    // Shows the picker in the mode of control_or_BG; 1 with OK (the path in
    // selected_image), 0 with Cancel.
    int Open_Library_Window();
    // Fills the grid for the mode as opening does, without the modal loop.
    void Prepare_For_Open();

    void OK_Clicked();
    void Cancel_Clicked();
    void zoomSliderDidChange();
    void comboBoxSelectionDidChange();
    void Fill_Combobox();
    void Load_and_fill_backgrounds();
    void addImageWithPath(const QString& path, const QString& imageName, const QString& image_UID);
    // Moves the items at the indexes, in their order, to stand before `toIndex`.
    bool imageBrowser_moveItemsAtIndexes_toIndex(QList<int> indexes, int toIndex);
    // Removing items from the grid is not offered: nothing is removed.
    void imageBrowser_removeItemsAtIndexes(const QList<int>&) {}
    void imageBrowserSelectionDidChange();

    QList<MyImageObject> images;
    QString control_or_BG = QStringLiteral("C");
    QString selected_image;

    // Escape and the close button answer as Cancel.
    void reject() override { Cancel_Clicked(); }

    QListView* imageBrowser = nullptr;
    QSlider* _zoom_slider = nullptr;
    QComboBox* cat_cmbo_bx = nullptr;
    QLabel* category_label = nullptr;
    LibraryModel* model = nullptr;

private:
    // Lists the png and jpg files of a library folder (shipped and per-user).
    void fillFrom(const QString& subFolder);
    void applyZoom();
    void loadThumbnails();

    static QPointer<Image_Library> s_instance;
};

// The grid view: a drop inside it reorders through the picker, never
// removing the dragged items from their old place as a move out would.
class LibraryGrid : public QListView {
    Q_OBJECT
public:
    explicit LibraryGrid(Image_Library* owner);

protected:
    void dropEvent(QDropEvent* event) override;

private:
    Image_Library* m_owner;
};
