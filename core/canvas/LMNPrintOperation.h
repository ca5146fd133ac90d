#pragma once
// A print run of the off-screen card renderer without a print panel: the view
// is drawn at its own size in points from the top-left corner of the page's
// printable area, on the printer (or into the PDF file) that the print
// settings name, under the view's title as the job's name.
#include <QString>
#include <QVariantMap>

#include <memory>

#include "core/canvas/LMNRenderingView.h"
#include "core/util/SharedValues.h"

class QPrinter;

class LMNPrintOperation {
public:
    LMNPrintOperation(std::unique_ptr<LMNRenderingView> view, const PrintInfo& info);

    const LMNRenderingView& view() const { return *m_view; }
    QString jobTitle() const { return m_view->printJobTitle(); }

    // The items the view draws, kept alive for as long as the operation
    // lives (the caller's list may change before it runs).
    QList<LMNGraphicPtr> retainedGraphics;

    // The settings the run prints with.
    PrintInfo printInfo;
    int copies = 1;
    // Takes the settings given, by name: "printerName", "jobDisposition"
    // ("spool" or "save"), "savePath" and "copies"; other names are ignored.
    void addPrintSettings(const QVariantMap& settings);

    // Whether the run may go on a thread of its own. The renderer draws live
    // canvas items, which are touched on the GUI thread only, so a run is
    // made where it is asked for whatever this says.
    bool canSpawnSeparateThread() const { return m_separateThread; }
    void setCanSpawnSeparateThread(bool allowed) { m_separateThread = allowed; }

    // Prints the view once per copy; false with a reason when no printer or
    // file could take the job.
    bool runOperation(QString* error = nullptr);
    // The same on a printer the caller set up.
    bool runOperationOn(QPrinter& printer, QString* error = nullptr);

private:
    std::unique_ptr<LMNRenderingView> m_view;
    bool m_separateThread = false;
};
