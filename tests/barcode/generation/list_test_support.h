#pragma once
// Readable barcode list rows in test failures.
#include "barcode/generation/list/BarcodeList.h"

#include <ostream>

inline void PrintTo(const BarcodeRow& r, std::ostream* os)
{
    *os << "{\"" << r.Value.left(60).toStdString() << "\", \"" << r.Header.toStdString() << "\", \""
        << r.Footer.toStdString() << "\", \"" << r.PQ.toStdString() << "\"}";
}
