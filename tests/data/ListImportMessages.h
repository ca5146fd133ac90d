#pragma once
// The list's worksheet window run on a file as a user runs it, and the
// messages it shows, each with how many descriptors of the process were open
// on the file while it showed (a refused file is let go of before anyone is
// told).
#include "common/TestSupport.h"
#include "data/barcodelist/ListDialogs.h"
#include "platform/MessageSink.h"

#include <QCheckBox>
#include <QDialog>

#include <functional>
#include <ostream>
#include <vector>

namespace datatest {

// A message shown, and the descriptors open on the file read meanwhile.
struct Shown {
    QString text;
    int open = 0;
    bool operator==(const Shown&) const = default;
};
inline void PrintTo(const Shown& s, std::ostream* os) { *os << s.text.toStdString() << " (open " << s.open << ")"; }

// Every message shown while `body` runs, answered with the first button.
inline std::vector<Shown> Messages_While(const QString& path, const std::function<void()>& body)
{
    std::vector<Shown> shown;
    const MessageResponder previous = Set_Message_Responder([&](const MessageRequest& r) {
        shown.push_back({r.text.trimmed(), testsupport::Open_Descriptors_On(path)});
        return 0;
    });
    body();
    Set_Message_Responder(previous);
    return shown;
}

// The list's worksheet window run on a file: the value column ticked, OK
// pressed. The messages shown.
inline std::vector<Shown> Import_Into_List(BarcodeListModel& list, const QString& path)
{
    return Messages_While(path, [&] {
        Import_Excel_Barcode w;
        w.setList(&list);
        const ModalRunner runner = Set_Modal_Runner([&](QDialog&) {
            w.chk_value->setChecked(true);
            w.OKPressed();
            return w.result();
        });
        w.Open_excel_Wnd(path);
        Set_Modal_Runner(runner);
    });
}

// Three rows in the list ("V0" to "V2"); the rows as they stand.
inline std::vector<BarcodeRow> Three_Rows(BarcodeListModel& list)
{
    for (int i = 0; i < 3; ++i)
        list.Create_Item_List(QStringLiteral("V%1").arg(i), QString(), QString(), QStringLiteral("1"), list.count());
    return list.rows();
}

} // namespace datatest
