#pragma once
// The document: the ordered list of canvas items of the design (index 0 is the
// front-most item, drawn last). It records insertions, removals and observed
// property changes of its items with its undo manager, gives the canvas size,
// keeps the print settings and produces its own data. It never reads a
// document: designs are opened and saved by the main window in their own file
// format.
#include <QByteArray>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "core/model/LMNGraphic.h"
#include "core/model/LMNUndoManager.h"
#include "core/util/SharedValues.h"

inline const QString LMNDocumentGraphicsKey = QStringLiteral("graphics");
inline const QString LMNDocumentCanvasSizeKey = QStringLiteral("canvasSize");
inline const QString LMNDocumentVersionKey = QStringLiteral("version");
inline const QString LMNDocumentPrintInfoKey = QStringLiteral("printInfo");
inline constexpr int LMNDocumentCurrentVersion = 2;
inline const QString LMNDocumentNewTypeName = QStringLiteral("org.zorvlabel.Plimtar");
inline const QString LMNDocumentOldTypeName = QStringLiteral("Zorv Label document");
inline const QString LMNDocumentPdfTypeName = QStringLiteral("com.adobe.pdf");
inline const QString LMNDocumentTiffTypeName = QStringLiteral("public.tiff");

class LMNPrintOperation;

// Per item, the values its observed properties had at their first change
// since the last checkpoint.
class LMNMapTableOwner {
public:
    std::map<LMNGraphic*, std::pair<LMNGraphicPtr, QVariantMap>> mapTable;
};

class LMNDocument {
public:
    LMNDocument();
    ~LMNDocument();
    LMNDocument(const LMNDocument&) = delete;
    LMNDocument& operator=(const LMNDocument&) = delete;

    const QList<LMNGraphicPtr>& graphics() const { return _graphics; }
    QList<LMNGraphic*> graphicsPointers() const;

    // Inserts the items so that they end up at the indexes (ascending, one per
    // item); false and no change when the indexes do not fit the list.
    bool insertGraphics(const QList<LMNGraphicPtr>& items, QList<int> indexes);
    bool removeGraphicsAtIndexes(QList<int> indexes);
    // One-item forms.
    bool insertGraphic(const LMNGraphicPtr& item, int index) { return insertGraphics({item}, {index}); }
    bool removeGraphicAtIndex(int index) { return removeGraphicsAtIndexes({index}); }

    void Enable_Disable_Undo_Registraion(bool enable);
    void Clear_All_Undo_Redo();
    LMNUndoManager& undoManager() { return m_undo; }

    // 284 x 284 points when `fixed`, else the size given; nothing is stored.
    QSizeF canvasSize(bool fixed, QSizeF size_val) const;

    // The document's own data (a binary property list with "version" 2,
    // "graphics" as item archives and "printInfo", the print settings as a
    // plain archive), or PDF or TIFF data of the items through
    // Document_Picture_Data_Source. Empty for another type.
    QByteArray dataOfType(const QString& typeName, LMNError* error = nullptr) const;
    // Reads nothing: false, with the items and `error` left as they are.
    bool readFromData(const QByteArray& data, const QString& typeName, LMNError* error = nullptr);
    static bool canConcurrentlyReadDocumentsOfType(const QString&) { return true; }
    QString displayName() const;
    bool isDocumentEdited() const { return false; }

    // The document's own file, when it has one (designs are saved by the
    // main window in their own format, so it has none as a rule).
    QString fileURL;
    // A print run of the card with the items, 284 x 284 points whatever the
    // card's size, under the file's name without its extension (the display
    // name when there is no file), with the process's print settings and the
    // given ones on top (LMNPrintOperation::addPrintSettings). Nothing in the
    // window calls it.
    std::unique_ptr<LMNPrintOperation> printOperationWithSettings(const QVariantMap& settings,
                                                                  LMNError* error = nullptr) const;

    // The print settings (the main window hands it the page settings of the
    // process). Setting them tells the observers of "canvasSize" before and
    // after the change; the document keeps no canvas size of its own, so the
    // card keeps the size it has.
    const PrintInfo& printInfo() const { return m_printInfo; }
    void setPrintInfo(const PrintInfo& info);
    // Observers of "canvasSize": called with `prior` true before a change and
    // false after it.
    void addCanvasSizeObserver(const void* owner, std::function<void(bool prior)> observer);
    void removeCanvasSizeObserver(const void* owner);

    // Observers of "graphics": called after every insertion and removal.
    void addGraphicsObserver(const void* owner, std::function<void()> observer);
    void removeGraphicsObserver(const void* owner);

    // The plain archive of print settings that the document's data holds.
    static QByteArray Print_Info_Archive(const PrintInfo& info);

    // Whether `item` was inserted since the last checkpoint.
    bool wasInsertedInCurrentUndoGroup(const LMNGraphic* item) const { return _undoGroupInsertedGraphics.count(item) > 0; }

private:
    void startObserving(const LMNGraphicPtr& item);
    void stopObserving(LMNGraphic* item);
    void propertyChanged(const LMNGraphicPtr& item, const QString& key, const QVariant& oldValue,
                         const QVariant& newValue);
    void setGraphicProperties(const std::shared_ptr<LMNMapTableOwner>& owner);
    void notifyGraphics();

    QList<LMNGraphicPtr> _graphics;
    std::set<const LMNGraphic*> _undoGroupInsertedGraphics;
    std::shared_ptr<LMNMapTableOwner> _undoGroupOldPropertiesPerGraphic;
    LMNUndoManager m_undo;
    std::vector<std::pair<const void*, std::function<void()>>> m_graphicsObservers;
    std::vector<std::pair<const void*, std::function<void(bool)>>> m_canvasSizeObservers;
    PrintInfo m_printInfo;
};

// PDF (tiff false) or TIFF (tiff true) data of a list of items; the off-screen
// card renderer installs it.
extern std::function<QByteArray(const QList<LMNGraphic*>& graphics, bool tiff, LMNError* error)>
    Document_Picture_Data_Source;
