#include "core/model/LMNDocument.h"

#include "core/canvas/LMNPrintOperation.h"

#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "platform/Plist.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFileInfo>
#include <QtDebug>

#include <algorithm>

std::function<QByteArray(const QList<LMNGraphic*>&, bool, LMNError*)> Document_Picture_Data_Source;

LMNDocument::LMNDocument()
{
    m_undo.onCheckpoint = [this] {
        _undoGroupInsertedGraphics.clear();
        _undoGroupOldPropertiesPerGraphic.reset();
    };
}

LMNDocument::~LMNDocument()
{
    Clear_All_Undo_Redo();
    m_undo.onCheckpoint = nullptr;
    for (const LMNGraphicPtr& g : _graphics)
        stopObserving(g.get());
}

QList<LMNGraphic*> LMNDocument::graphicsPointers() const
{
    QList<LMNGraphic*> out;
    out.reserve(_graphics.size());
    for (const LMNGraphicPtr& g : _graphics)
        out.append(g.get());
    return out;
}

bool LMNDocument::insertGraphics(const QList<LMNGraphicPtr>& items, QList<int> indexes)
{
    if (items.size() != indexes.size() || items.isEmpty())
        return false;
    if (!std::is_sorted(indexes.begin(), indexes.end()))
        return false;
    const qsizetype n = _graphics.size();
    for (qsizetype k = 0; k < indexes.size(); ++k) {
        if (indexes[k] < 0 || indexes[k] > n + k || (k > 0 && indexes[k] == indexes[k - 1]) || !items[k])
            return false;
    }
    for (qsizetype k = 0; k < indexes.size(); ++k)
        _graphics.insert(indexes[k], items[k]);

    m_undo.registerUndo([this, indexes] { removeGraphicsAtIndexes(indexes); });
    if (m_undo.isUndoRegistrationEnabled())
        for (const LMNGraphicPtr& g : items)
            _undoGroupInsertedGraphics.insert(g.get());
    for (const LMNGraphicPtr& g : items)
        startObserving(g);
    notifyGraphics();
    return true;
}

bool LMNDocument::removeGraphicsAtIndexes(QList<int> indexes)
{
    if (indexes.isEmpty())
        return false;
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    if (indexes.front() < 0 || indexes.back() >= _graphics.size())
        return false;
    QList<LMNGraphicPtr> removed;
    removed.reserve(indexes.size());
    for (int i : indexes)
        removed.append(_graphics[i]);
    for (const LMNGraphicPtr& g : removed)
        stopObserving(g.get());
    m_undo.registerUndo([this, removed, indexes] { insertGraphics(removed, indexes); });
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
        _graphics.removeAt(*it);
    notifyGraphics();
    return true;
}

void LMNDocument::Enable_Disable_Undo_Registraion(bool enable)
{
    if (enable)
        m_undo.enableUndoRegistration();
    else
        m_undo.disableUndoRegistration();
}

void LMNDocument::Clear_All_Undo_Redo()
{
    m_undo.removeAllActions();
    m_undo.disableUndoRegistration();
    if (!_graphics.isEmpty()) {
        QList<int> all(_graphics.size());
        for (int i = 0; i < all.size(); ++i)
            all[i] = i;
        removeGraphicsAtIndexes(all);
    }
    m_undo.enableUndoRegistration();
    _undoGroupInsertedGraphics.clear();
    _undoGroupOldPropertiesPerGraphic.reset();
}

QSizeF LMNDocument::canvasSize(bool fixed, QSizeF size_val) const
{
    return fixed ? QSizeF(284, 284) : size_val;
}

void LMNDocument::startObserving(const LMNGraphicPtr& item)
{
    std::weak_ptr<LMNGraphic> weak = item;
    item->addObserver(this, [this, weak](LMNGraphic*, const QString& key, const QVariant& oldValue,
                                         const QVariant& newValue) {
        if (LMNGraphicPtr g = weak.lock())
            propertyChanged(g, key, oldValue, newValue);
    });
}

void LMNDocument::stopObserving(LMNGraphic* item) { item->removeObserver(this); }

void LMNDocument::propertyChanged(const LMNGraphicPtr& item, const QString& key, const QVariant& oldValue,
                                  const QVariant& newValue)
{
    // The observed set is asked afresh, so a text item fitting its height
    // (bounds left out of the set meanwhile) records nothing.
    if (!item->keysForValuesToObserveForUndo().contains(key))
        return;
    if (_undoGroupInsertedGraphics.count(item.get()) || oldValue == newValue)
        return;
    if (!m_undo.isUndoRegistrationEnabled())
        return;
    if (!_undoGroupOldPropertiesPerGraphic) {
        _undoGroupOldPropertiesPerGraphic = std::make_shared<LMNMapTableOwner>();
        std::shared_ptr<LMNMapTableOwner> owner = _undoGroupOldPropertiesPerGraphic;
        m_undo.registerUndo([this, owner] { setGraphicProperties(owner); });
    }
    auto& entry = _undoGroupOldPropertiesPerGraphic->mapTable[item.get()];
    if (!entry.first)
        entry.first = item;
    if (!entry.second.contains(key))
        entry.second.insert(key, oldValue);
    // Every observed property must have a name for the undo menu. A kind that
    // gives none is a fault of the program: it is written to the log (the
    // change is recorded all the same, and the user's work goes on).
    if (!m_undo.isUndoing() && !m_undo.isRedoing() && item->presentablePropertyNameForKey(key).isNull()) {
        const QString cls = item->className();
        Show_NSLog_Message(QStringLiteral("[[%1 class] keysForValuesToObserveForUndo] returns a set that includes "
                                          "@\"%2\", but [[%1 class] presentablePropertyNameForKey:@\"%2\"] "
                                          "returns nil.")
                               .arg(cls, key));
    }
}

void LMNDocument::setGraphicProperties(const std::shared_ptr<LMNMapTableOwner>& owner)
{
    for (auto& [raw, entry] : owner->mapTable) {
        const LMNGraphicPtr item = entry.first;
        for (auto it = entry.second.cbegin(); it != entry.second.cend(); ++it)
            item->setValueForKey(it.key(), it.value());
    }
}

void LMNDocument::addGraphicsObserver(const void* owner, std::function<void()> observer)
{
    removeGraphicsObserver(owner);
    m_graphicsObservers.emplace_back(owner, std::move(observer));
}

void LMNDocument::removeGraphicsObserver(const void* owner)
{
    m_graphicsObservers.erase(std::remove_if(m_graphicsObservers.begin(), m_graphicsObservers.end(),
                                             [owner](const auto& o) { return o.first == owner; }),
                              m_graphicsObservers.end());
}

void LMNDocument::addCanvasSizeObserver(const void* owner, std::function<void(bool)> observer)
{
    removeCanvasSizeObserver(owner);
    m_canvasSizeObservers.emplace_back(owner, std::move(observer));
}

void LMNDocument::removeCanvasSizeObserver(const void* owner)
{
    m_canvasSizeObservers.erase(std::remove_if(m_canvasSizeObservers.begin(), m_canvasSizeObservers.end(),
                                               [owner](const auto& o) { return o.first == owner; }),
                                m_canvasSizeObservers.end());
}

void LMNDocument::setPrintInfo(const PrintInfo& info)
{
    const auto tell = [this](bool prior) {
        const auto observers = m_canvasSizeObservers;
        for (const auto& o : observers)
            o.second(prior);
    };
    tell(true);
    m_printInfo = info;
    tell(false);
}

QByteArray LMNDocument::Print_Info_Archive(const PrintInfo& info)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    const QPageLayout& page = info.pageLayout;
    out << qint32(page.pageSize().id()) << page.pageSize().key() << page.pageSize().size(QPageSize::Point)
        << qint32(page.orientation()) << page.margins(QPageLayout::Point) << info.printerName << info.jobDisposition
        << info.savePath;
    return bytes;
}

void LMNDocument::notifyGraphics()
{
    const auto observers = m_graphicsObservers;
    for (const auto& o : observers)
        o.second();
}

QByteArray LMNDocument::dataOfType(const QString& typeName, LMNError* error) const
{
    if (typeName == LMNDocumentNewTypeName || typeName == LMNDocumentOldTypeName) {
        QVariantList archives;
        for (const QByteArray& a : LMNGraphic::propertiesWithGraphics(graphicsPointers()))
            archives.append(a);
        QVariantMap dict;
        dict.insert(LMNDocumentVersionKey, qint64(LMNDocumentCurrentVersion));
        dict.insert(LMNDocumentGraphicsKey, archives);
        dict.insert(LMNDocumentPrintInfoKey, Print_Info_Archive(m_printInfo));
        return Plist_Serialize(dict, PlistFormat::Binary);
    }
    const bool pdf = typeName == LMNDocumentPdfTypeName;
    const bool tiff = typeName == LMNDocumentTiffTypeName;
    if (pdf || tiff) {
        if (Document_Picture_Data_Source)
            return Document_Picture_Data_Source(graphicsPointers(), tiff, error);
        return {};
    }
    qWarning("Invalid parameter not satisfying: %s", qPrintable(typeName));
    return {};
}

bool LMNDocument::readFromData(const QByteArray&, const QString&, LMNError*)
{
    return false;
}

QString LMNDocument::displayName() const
{
    return App_Services().Main_App_wnd ? App_Services().Main_App_wnd->App_Name() : QCoreApplication::applicationName();
}

std::unique_ptr<LMNPrintOperation> LMNDocument::printOperationWithSettings(const QVariantMap& settings,
                                                                           LMNError*) const
{
    const QString title = fileURL.isEmpty() ? displayName() : QFileInfo(fileURL).completeBaseName();
    const QSizeF size = canvasSize(true, QSizeF());
    auto view = std::make_unique<LMNRenderingView>(QRectF(QPointF(0, 0), size), graphicsPointers(), title);
    auto operation = std::make_unique<LMNPrintOperation>(std::move(view), m_printInfo);
    operation->retainedGraphics = _graphics;
    operation->setCanSpawnSeparateThread(true);
    operation->addPrintSettings(settings);
    return operation;
}
