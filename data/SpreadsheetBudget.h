#pragma once
// The budget of one table read, shared by the workbook, OpenDocument and
// XML 2003 readers: counted as the cells arrive, so a table past it is
// refused early, with a message that says how large it would be (estimated
// from how much of the part was read) and what to do.
#include "data/Spreadsheet.h"

#include <QString>

#include <functional>

class Sheet_Budget {
public:
    // `sheet` names the sheet in the messages; "" says "The sheet".
    explicit Sheet_Budget(const QString& sheet = QString());
    // How far the part has been read: bytes taken in so far, and its size.
    void setPart(std::function<qint64()> done, qint64 total);
    // A cell with a text: `textBytes` as the user receives it (a shared text
    // counts at each use), `storedBytes` what storing it costs. False once
    // a limit is passed (error() then says why).
    bool addCell(qint64 textBytes, qint64 storedBytes);
    // Memory the table holds besides its cells.
    bool addStored(qint64 bytes);
    // Memory the caller holds beside the table now, in place of what it
    // held before (counted whole in the estimates, not scaled with the part).
    bool setHeld(qint64 bytes);
    // The cells of the grid so far (rows by columns); false past Max_Sheet_Cells.
    bool checkGrid(qint64 cells);
    QString error() const { return m_error; }
    qint64 textBytes() const { return m_text; }
    qint64 storedBytes() const { return m_stored; }

private:
    // The whole part's share of what was counted so far.
    qint64 estimate(qint64 soFar) const;
    bool refuse(const QString& what);

    QString m_sheet;
    std::function<qint64()> m_done;
    qint64 m_total = 0;
    qint64 m_text = 0;
    qint64 m_stored = 0;
    qint64 m_held = 0;
    QString m_error;
};
