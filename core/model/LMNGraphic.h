#pragma once
// The model of every canvas item.
//
// An item holds every field that any kind needs; a kind simply ignores the
// fields of the others. The kind of an item is its class, tested by exact
// class (kind()), never by inheritance. Coordinates are canvas points in the
// flipped canvas space: origin at the top-left of the card, y downward.
//
// Items live on the GUI thread only. Setters validate nothing; the callers of
// the plain setters redraw and take the undo snapshot themselves. Only
// setBounds() and setValueForKey() notify observers.
#include <QColor>
#include <QFont>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

#include "platform/PtImage.h"

class QPainter;
class QPen;
class LMNGraphicView;

// Exact kind of an item.
enum class LMNKind { Graphic, Text, Line, Shape, Image, Barcode, Signature };

// Tag for the blank object an archive is read into: every field zero, NO,
// empty or nil, instead of the defaults of a new item.
struct LMNBlank {};

// The attributed text of a text item: its characters with the one font and
// colour they were made with.
struct LMNTextStorage {
    QString string;
    QFont font;
    QColor color;
    bool operator==(const LMNTextStorage& o) const
    {
        return string == o.string && font == o.font && color == o.color;
    }
};

// Observation keys.
inline const QString LMNGraphicCanSetDrawingFillKey = QStringLiteral("canSetDrawingFill");
inline const QString LMNGraphicCanSetDrawingStrokeKey = QStringLiteral("canSetDrawingStroke");
inline const QString LMNGraphicIsDrawingFillKey = QStringLiteral("drawingFill");
inline const QString LMNGraphicFillColorKey = QStringLiteral("fillColor");
inline const QString LMNGraphicIsDrawingStrokeKey = QStringLiteral("drawingStroke");
inline const QString LMNGraphicStrokeColorKey = QStringLiteral("strokeColor");
inline const QString LMNGraphicStrokeWidthKey = QStringLiteral("strokeWidth");
inline const QString LMNGraphicXPositionKey = QStringLiteral("xPosition");
inline const QString LMNGraphicYPositionKey = QStringLiteral("yPosition");
inline const QString LMNGraphicWidthKey = QStringLiteral("width");
inline const QString LMNGraphicHeightKey = QStringLiteral("height");
inline const QString LMNGraphicBoundsKey = QStringLiteral("bounds");
inline const QString LMNGraphicDrawingBoundsKey = QStringLiteral("drawingBounds");
inline const QString LMNGraphicDrawingContentsKey = QStringLiteral("drawingContents");
inline const QString LMNGraphicKeysForValuesToObserveForUndoKey = QStringLiteral("keysForValuesToObserveForUndo");

// Handles.
inline constexpr double LMNGraphicHandleWidth = 8.0;
inline constexpr double LMNGraphicHandleHalfWidth = 4.0;
inline constexpr int LMNGraphicNoHandle = 0;

// An error of the drawing core (domain "LimnorErrorDomain").
struct LMNError {
    QString domain;
    int code = 0;
    QString description;
    QString failureReason;
};
LMNError LMNErrorWithCode(int code);

// The affine transform that rotates by `degrees` about (x, y); positive angles
// turn from +x towards +y (clockwise on the flipped canvas).
QTransform RotationTransform(double degrees, double x, double y);

// Dash lengths in points of a border style code: "DA" 8 2, "DO" 4 6,
// "DD" 24 10 6 10, "DDD" 24 8 8 8 8 8; "S" and any other code solid (empty).
QList<qreal> Border_Dash_Lengths(const QString& code);
// A pen of `width` points with the dash pattern of `code` at phase 0. The
// paint engines measure a dashed pen thinner than one device pixel (and a
// zero-width pen always) in pixels, not in line widths, so such a pen's
// dashes come out the wrong length: item borders use Stroke_Border instead.
QPen Border_Pen(const QColor& color, double width, const QString& code,
                Qt::PenJoinStyle join = Qt::MiterJoin, Qt::PenCapStyle cap = Qt::FlatCap);
// The dashes of `pattern` (on and off lengths in path units, phase 0, the
// pattern restarting at every sub-path) cut out of `path` as open sub-paths
// that follow it, corners included. Curves are flattened finely enough for
// the device `deviceTransform` maps to. A path too long for its pattern to
// be cut in reasonable time comes back whole.
QPainterPath Dashed_Path(const QPainterPath& path, const QList<qreal>& pattern,
                         const QTransform& deviceTransform = QTransform());
// Strokes `path` as a border of `width` points in the style of `code`: solid,
// or cut into that code's dashes, whose lengths stay in points whatever the
// width, the zoom or the device (a width of 0 strokes the thinnest line).
void Stroke_Border(QPainter& painter, const QPainterPath& path, const QColor& color, double width,
                   const QString& code, Qt::PenJoinStyle join = Qt::MiterJoin, Qt::PenCapStyle cap = Qt::FlatCap);
// Names of the hatch patterns: the ".png" pictures of "Fill_Style_Image" in
// the per-user data folder and in the resource folder, without extension,
// sorted, each once.
QStringList Hatch_Style_Names();
// Hatch pattern picture "Fill_Style_Image/<name>.png" of the resource folder
// (the per-user twin first); null when it cannot be read. Only a name of
// Hatch_Style_Names() is looked up: a name from a file or the pasteboard
// never reaches another path ("../x" and the like give no pattern).
QImage Hatch_Pattern_Image(const QString& name);
// Two gradient end points that make a linear gradient at `degrees` cover `box`.
QLineF Gradient_Line_For_Box(const QRectF& box, double degrees);

class LMNGraphic;
using LMNGraphicPtr = std::shared_ptr<LMNGraphic>;

class LMNGraphic {
public:
    // Observer of an item: key, old value, new value.
    using Observer = std::function<void(LMNGraphic* item, const QString& key,
                                        const QVariant& oldValue, const QVariant& newValue)>;

    // A new item with every default (the main window supplies the text font and colour).
    LMNGraphic();
    virtual ~LMNGraphic();
    LMNGraphic(const LMNGraphic&) = delete;
    LMNGraphic& operator=(const LMNGraphic&) = delete;

    virtual LMNKind kind() const { return LMNKind::Graphic; }
    // Class name as recorded in item archives.
    QString className() const;
    static QString classNameOfKind(LMNKind kind);
    // A blank object of the named class, or null for an unknown name.
    static std::unique_ptr<LMNGraphic> newBlankOfClass(const QString& name);
    // A new item of the named kind with every default.
    static std::unique_ptr<LMNGraphic> newOfKind(LMNKind kind);

    // Sets every default; afterwards the kind-dependent ones (text: fill and
    // stroke off; barcode: fill off; picture: stroke off).
    void init();
    // The defaults of the barcode fields (init's share for barcodes).
    void initBarcodeDefaults();

    // A new item of the same class with the defaults, carrying geometry, fill,
    // border, value binding and Text_Value.
    virtual std::unique_ptr<LMNGraphic> copyWithZone() const;

    // ---- Item archive: a keyed archive of the item's field groups ----
    // Writes the archive (the common group, the binding group for text,
    // picture and barcode items, then the kind's group).
    QByteArray encodeWithCoder() const;
    // Reads an archive into a blank object of the archived class; null (and
    // an error text) for data that is no well-formed item archive or names
    // no kind. A value that does not read ends the reading there: the item
    // comes back with the fields read before it (and the error text).
    static std::unique_ptr<LMNGraphic> initWithCoder(const QByteArray& archive, QString* error = nullptr);
    static QList<QByteArray> propertiesWithGraphics(const QList<LMNGraphic*>& graphics);
    // Binary property list whose root is the array of item archives.
    static QByteArray pasteboardDataWithGraphics(const QList<LMNGraphic*>& graphics);
    // The pasted items, with identifiers cleared and unlocked; nothing and
    // error code 2 when the data is not a list. An element that gives no
    // item is left out and counted in `skipped`.
    static QList<LMNGraphicPtr> graphicsWithPasteboardData(const QByteArray& data, LMNError* error = nullptr,
                                                          int* skipped = nullptr);
    static QList<LMNGraphicPtr> graphicsWithProperties(const QList<QByteArray>& archives, int* skipped = nullptr);

    // ---- Geometry and editing state ----
    QRectF _bounds;
    bool _isFlippedHorizontally = false;
    bool _isFlippedVertically = false;
    bool _boundsBeingChangedToMatchContents = false;

    // ---- Fill, stroke, opacity ----
    bool _isDrawingFill = false;
    QColor _fillColor;
    QString _fill_type;
    QColor _fill_Grad_clr1;
    QColor _fill_Grad_clr2;
    double _fill_grad_angle = 0.0;
    QColor _fill_htch_clr;
    QString _fill_hatch_type;
    bool _isDrawingStroke = false;
    QColor _strokeColor;
    double _strokeWidth = 0.0;
    QString _stroke_border_type;
    float alpha_val = 0.0f;
    float alpha_val_stroke = 0.0f;

    // ---- Item state ----
    bool ctrl_is_locked = false;
    bool ctrl_is_visible = false;
    int print_object = 0;
    QString control_ID;

    // ---- Data binding ----
    int data_source_type = 0;
    QString batch_list_name;
    int batch_list_index = 0;
    QString batch_hdr_list_name;
    int batch_hdr_list_index = 0;
    QString batch_ftr_list_name;
    int batch_ftr_list_index = 0;
    bool excel_binding = false;
    int excel_col_indx = 0;

    // ---- Text ----
    QString Text_Value;
    std::unique_ptr<LMNTextStorage> _Text_contents;
    QFont text_ctrl_font;
    QColor txt_clr;
    int text_alignmnet = 0;
    int text_alignmnet_Vert = 0;
    int text_transfrom_case = 0;
    float text_kerning = 0.0f;
    bool Drawing_Shadow = false;
    QColor Shadow_Color;
    float Shadow_offset_X = 0.0f;
    float Shadow_offset_Y = 0.0f;
    float Shadow_blur = 0.0f;
    float Shadow_transparency = 0.0f;
    int text_rotation = 0;

    // ---- Shape and line ----
    QString _shape_type;
    float cor_rad_val = 0.0f;
    int double_star_type = 0;
    int polygon_type = 0;
    int _line_ori = 0;
    int _line_cap_style = 0;

    // ---- Picture and signature ----
    QString _file_path;
    PtImage _contents;
    PtImage _contents_with_settings;
    bool invert_clr = false;
    bool gray_Scale = false;
    bool Sepia = false;
    float img_trnsp_val = 0.0f;
    float hue_val = 0.0f;
    float sat_val = 0.0f;
    float brt_val = 0.0f;
    float con_val = 0.0f;
    float srp_val = 0.0f;
    float ev_val = 0.0f;
    float blr_val = 0.0f;
    float rotate_image = 0.0f;
    QString sign_or_fingureprint;

    // ---- Barcode ----
    PtImage _barcode_image;
    QRectF bar_image_ctrl_bounds;
    int linear_or_2d = 0;
    int barcode_font_index = 0;
    QString linear_font_val;
    QString two_d_font_val;
    QString header_val;
    QString footer_val;
    int show_hide_hdr = 0;
    int show_hide_ftr = 0;
    int show_hide_val = 0;
    int show_val_on_top = 0;
    int align_hdr_index = 0;
    int align_ftr_index = 0;
    float linear_height_val = 0.0f;
    float linear_width_val = 0.0f;
    int qr_size_val = 0;
    int qr_version_index = 0;
    int qr_ec_index = 0;
    int pdf_hgt_val = 0;
    int pdf_wdt_val = 0;
    int pdf_ec_val = 0;
    int dm_module_val = 0;
    int dm_format_index = 0;
    int dm_encoding_index = 0;
    float hdr_margin_val = 0.0f;
    float ftr_margin_val = 0.0f;
    float val_margin_val = 0.0f;
    float TB_marging_val = 0.0f;
    float LR_margin_val = 0.0f;
    QFont value_font_val;
    QFont header_font_val;
    QFont footer_font_val;
    QColor barcode_hdr_clr_val;
    QColor barcode_ftr_clr_val;
    QColor barcode_val_clr_val;
    QColor barcode_back_clr_val;
    QColor barcode_clr_val;
    int dpi_val_index = 0;
    QString dpi_custom_val;
    int barcode_unit_val = 0;

    // ---- Field accessors (plain; none notifies or records undo) ----
    void Set_Ctrl_Is_Visible(bool v) { ctrl_is_visible = v; }
    bool Is_Control_Locked() const { return ctrl_is_locked; }
    QString Get_shape_type() const { return _shape_type; }
    void Set_Shape_Type(const QString& v) { _shape_type = v; }
    void Set_Excel_binding(bool v) { excel_binding = v; }
    void Set_Excel_binding_Index(int v) { excel_col_indx = v; }
    QFont Text_Font_value() const { return text_ctrl_font; }
    QColor Text_Color_Value() const { return txt_clr; }
    int Get_Line_Ori() const { return _line_ori; }
    int Get_Line_Cap_Style() const { return _line_cap_style; }
    void Set_Batch_List_Name(const QString& v) { batch_list_name = v; }
    QString batch_list_name_val() const { return batch_list_name; }
    void Set_Batch_List_Index(int v) { batch_list_index = v; }
    int batch_list_index_val() const { return batch_list_index; }
    void Set_Hdr_Batch_List_Name(const QString& v) { batch_hdr_list_name = v; }
    QString batch_Hdr_list_name_val() const { return batch_hdr_list_name; }
    void Set_Hdr_Batch_List_Index(int v) { batch_hdr_list_index = v; }
    int batch_Hdr_list_index_val() const { return batch_hdr_list_index; }
    void Set_Ftr_Batch_List_Name(const QString& v) { batch_ftr_list_name = v; }
    QString batch_Ftr_list_name_val() const { return batch_ftr_list_name; }
    void Set_Ftr_Batch_List_Index(int v) { batch_ftr_list_index = v; }
    int batch_Ftr_list_index_val() const { return batch_ftr_list_index; }
    int data_source_type_val() const { return data_source_type; }
    virtual void setFlippedHorizontally(bool v) { _isFlippedHorizontally = v; }
    virtual void setFlippedVertically(bool v) { _isFlippedVertically = v; }
    QString Sign_Or_FP_Val() const { return sign_or_fingureprint; }
    void Set_Sign_Or_FP(const QString& v) { sign_or_fingureprint = v; }
    void Set_Control_File_path(const QString& v) { _file_path = v; }
    QString FilePath() const { return _file_path; }
    QRectF bounds() const { return _bounds; }
    virtual bool isDrawingFill() const { return _isDrawingFill; }
    virtual bool isDrawingStroke() const { return _isDrawingStroke; }
    double Get_Image_Trnsp_val() const { return img_trnsp_val; }
    double Get_Hue_val() const { return hue_val; }
    double strokeWidth() const { return _strokeWidth; }
    QString strokeBorderType() const { return _stroke_border_type; }
    QString fill_type() const { return _fill_type; }
    QString fill_hatch_type() const { return _fill_hatch_type; }
    QColor fill_Grad_clr1() const { return _fill_Grad_clr1; }
    QColor fill_Grad_clr2() const { return _fill_Grad_clr2; }
    double fill_grad_angle() const { return _fill_grad_angle; }
    // Opacity rule: the stored colour with its alpha replaced by the opacity
    // field (limited to 0..1), stored back, so reading is idempotent.
    QColor fillColor();
    QColor strokeColor();
    QColor fill_hatch_bk_clr();

    // ---- Binding ----
    void Set_Data_source_type(int type);

    // ---- Text ----
    // The text storage, made on first use from Text_Value in black and the
    // default text font.
    LMNTextStorage& Text_contents();
    void Set_text_value(const QString& text);

    // ---- Barcode ----
    // Stores the image and sizes the item to it (width, then height).
    void Set_Barcode_image(const PtImage& image);
    void Set_Barcode_image_control_bounds() { bar_image_ctrl_bounds = _bounds; }

    // ---- Geometry and observation ----
    // Stores the bounds, shows them in the main window and notifies "bounds".
    virtual void setBounds(const QRectF& bounds);
    double xPosition() const { return _bounds.x(); }
    double yPosition() const { return _bounds.y(); }
    double width() const { return _bounds.width(); }
    double height() const { return _bounds.height(); }
    void setXPosition(double v);
    void setYPosition(double v);
    void setWidth(double v);
    void setHeight(double v);

    // Observers; each owner token may register one observer.
    void addObserver(const void* owner, Observer observer);
    void removeObserver(const void* owner);
    // Key-value access for the observed keys ("drawingFill", "fillColor",
    // "drawingStroke", "strokeColor", "strokeWidth", "bounds" and the kinds' own).
    // Setting by key writes the field and notifies the key's observers.
    virtual QVariant valueForKey(const QString& key) const;
    virtual bool setValueForKey(const QString& key, const QVariant& value);
    virtual QStringList keysForValuesToObserveForUndo() const;
    // Name of a property for undo action names; "" in the base.
    virtual QString presentablePropertyNameForKey(const QString& key) const { return QString(""); }

    // The area the item may paint, handles included.
    QRectF drawingBounds() const;
    // Inside the bounds (left and top edges in, right and bottom out).
    virtual bool isContentsUnderPoint(const QPointF& point) const;

    // ---- Drawing ----
    // Draws the item into the painter's canvas coordinates; the view may be null.
    virtual void drawContentsInView(QPainter& painter, LMNGraphicView* view, bool isBeingCreateOrEdited);
    // The outline a path-drawn kind strokes and fills; the base has none and throws.
    virtual QPainterPath bezierPathForDrawing() const;
    static QPainterPath rotatedPath(const QPainterPath& path, double angle, const QPointF& aboutPoint);

    // ---- Handles ----
    virtual void drawHandlesInView(QPainter& painter, LMNGraphicView* view, bool lock_hai) const;
    void drawHandleInView(QPainter& painter, LMNGraphicView* view, const QPointF& point, bool lock_hai) const;
    virtual int handleUnderPoint(const QPointF& point) const;
    static bool isHandleAtPoint(const QPointF& handlePoint, const QPointF& point);
    static QPointF handlePoint(const QRectF& bounds, int handle);
    // Resizes by dragging a handle; returns the handle the drag continues with.
    // A rectangle that would leave `canvas` (the card) is not taken.
    virtual int resizeByMovingHandle(int handle, const QPointF& point, const QRectF& canvas);
    virtual int creationSizingHandle() const { return 8; }

    // ---- Size commands ----
    virtual bool canMakeNaturalSize() const { return _bounds.width() != _bounds.height(); }
    virtual void makeNaturalSize();
    // The item takes the whole card, `canvas`.
    void makeSameAsLabelSize(const QRectF& canvas);
    virtual void flipHorizontally() {}
    virtual void flipVertically() {}
    virtual void setColor(const QColor& color);
    virtual bool canSetDrawingFill() const { return true; }
    virtual bool canSetDrawingStroke() const { return true; }

    // ---- Operations on lists of items ----
    static QRectF boundsOfGraphics(const QList<LMNGraphic*>& graphics);
    // The drawing bounds of the items; `canvas` (the card) for none.
    static QRectF drawingBoundsOfGraphics(const QList<LMNGraphic*>& graphics, const QRectF& canvas);
    // Moves the unlocked items; an item that would leave `canvas` stays.
    static void translateGraphics(const QList<LMNGraphic*>& graphics, double dx, double dy, const QRectF& canvas);
    // The first item goes to (x, y), each further one to the point
    // `nextPoint` gives (the new-item cascade of whoever pastes); without
    // it, every item goes to (x, y).
    static void Paste_Location_Of_Graphics(const QList<LMNGraphic*>& graphics, double x, double y,
                                           const std::function<QPointF()>& nextPoint);

protected:
    explicit LMNGraphic(LMNBlank) {}
    // Stores the bounds, notifying nobody.
    void storeBounds(const QRectF& bounds);
    // Values of keysAffectedByBounds() (empty when nobody observes).
    QVariantList captureBoundsKeys() const;
    void notifyBoundsKeys(const QVariantList& oldValues);
    // Notifies observers of `key`.
    void notify(const QString& key, const QVariant& oldValue, const QVariant& newValue);
    bool hasObservers() const { return !m_observers.empty(); }
    // Keys whose values change with the bounds (the line adds its end points).
    virtual QStringList keysAffectedByBounds() const { return {LMNGraphicBoundsKey}; }
    // Copies the fields the base copy carries into `copy`.
    void copyBaseFieldsTo(LMNGraphic& copy) const;
    // Fills `path` with the item's fill (solid, gradient or hatch).
    void fillPathWithItemFill(QPainter& painter, const QPainterPath& path, bool allowHatch);

private:
    std::vector<std::pair<const void*, Observer>> m_observers;
};

// Default font of text content: Text_Ctrl_Font_Family() at `size` points.
QFont Default_Text_Font(double size);
