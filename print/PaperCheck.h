#pragma once
// Whether the printer's paper suits a label sheet, by sizes in points.
//
// Sizes are compared, never paper names: a driver gives its paper in whole
// points ("A4" is 595 x 842), a catalogue sheet its page to a fraction of a
// millimetre (210 mm is 595.28 points), and a custom paper has whatever name
// the driver makes up. Two lengths within half a point are the same.
#include <QMarginsF>
#include <QSizeF>

class QPageLayout;

// How far two paper lengths may differ and still be the same paper, points.
inline constexpr double Paper_Tolerance_Points = 0.5;

// The size of the layout's page as it is turned, in points, from the unit
// its paper is defined in: Qt gives the points of its standard sizes rounded
// (A6, 105 x 148 mm, is 297 x 420 there, its true width 297.64).
QSizeF Page_Size_Points(const QPageLayout& layout);

// Whether a page of `paper` is the page of a sheet of `sheet`, both as they
// are turned (width against width): a sheet wider than high, catalogue or
// custom, wants the paper turned that way too. Empty sizes never match.
bool Paper_Is_Sheet_Size(QSizeF paper, QSizeF sheet);

// Whether one label of `label`, with the page margins of the grid and one
// gap each way, fits on `paper` (the check before a job): a label as wide as
// the page fits, however the page's width was rounded.
bool Label_Fits_Paper(QSizeF paper, QSizeF label, const QMarginsF& margins, QSizeF gaps);
