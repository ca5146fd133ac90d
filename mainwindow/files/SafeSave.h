#pragma once
// Atomic saving of the files the user keeps (design and barcode settings
// files): the bytes go to a temporary file beside the target, which replaces
// the target only once everything is written. A failure at any point leaves
// the old file exactly as it was.
#include <QByteArray>
#include <QString>

#include <functional>

// Writes `bytes` to `path` atomically; false with a reason when it could not.
bool Save_File_Atomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Test seam: called before each chunk is written with the offset reached;
// answering false makes that write fail as a full disk would. Returns the
// previous seam; an empty function removes it.
using Save_Fault = std::function<bool(qint64 offset)>;
Save_Fault Set_Save_Fault(Save_Fault fault);
