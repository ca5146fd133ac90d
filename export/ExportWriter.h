#pragma once
// The writer of one exported image file, shared by card and barcode export
// (and by the crop tools).
//
// The extension chooses the road: "eps" writes the EPS drawing of the image at
// its size in points; every other format gets the image redrawn at 600 DPI
// (unless told not to), transparent areas filled with white except in PNG,
// the resolution recorded where the format has a field for it. Files are
// written atomically: a failed write leaves what was there before.
#include "platform/PtImage.h"

#include <QByteArray>
#include <QString>

class Job_Control;

constexpr double Export_DPI = 600.0;

enum class ExportWriteResult { Written, Failed, Cancelled };

// The bytes of the file for `path`'s extension (any case); empty on failure
// with the reason in *error. Safe on any thread.
QByteArray Encode_Export_File(const PtImage& image, const QString& path, bool increase_dpi,
                              QString* error = nullptr);

// Writes one file. Without `skip_keep_replace_msg` it first asks the
// keep-or-replace decision (with "apply to all") of `job` and writes to the
// path it answers; Cancel writes nothing. With `show_msg` the after-export
// box follows a written file. `writtenPath` receives the path written; a
// written file is noted in `job` (Export_Any_File).
ExportWriteResult Export_File_Function(const QString& path, const PtImage& original, bool show_msg,
                                       bool skip_keep_replace_msg, bool increase_dpi,
                                       QString* writtenPath = nullptr, QString* error = nullptr,
                                       Job_Control* job = nullptr);

// The same with bytes already encoded for the path's extension.
ExportWriteResult Export_Encoded_File(const QString& path, const QByteArray& bytes,
                                      bool skip_keep_replace_msg, QString* writtenPath = nullptr,
                                      QString* error = nullptr, Job_Control* job = nullptr);

// The end of an export that wrote `path` (a file or a folder): the
// after-export box with `message`, or a message box with it when the main
// window is gone. Any thread; the main window is asked for on the GUI thread
// and a worker waits.
void Show_Export_Done(const QString& path, const QString& message);
