#pragma once
// Helpers of the series window tests: a main-window fake with a widget, a
// dialog driver that presses buttons per window kind, folders that cannot be
// written and small workbooks.
#include "core/FakeMainWindow.h"
#include "core/util/SharedValues.h"
#include "data/DataTestSupport.h"
#include "data/Spreadsheet.h"

#include <QDialog>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <typeindex>

namespace seriestest {

using testsupport::Read_Only_Path;

// Hands every dialog run through Run_Modal_Dialog to the handler of its kind,
// the one set last (a dialog of a kind without a handler is closed with code 0).
class Dialog_Driver {
public:
    explicit Dialog_Driver(ScriptedMessages& messages)
    {
        messages.onDialog = [this](QDialog& d) {
            ++count;
            for (auto& [match, handler] : m_handlers)
                if (match(d)) {
                    handler(d);
                    return;
                }
            d.done(0);
        };
    }
    template <class Dialog>
    void on(std::function<void(Dialog&)> handler)
    {
        m_handlers.emplace(m_handlers.begin(), [](QDialog& d) { return dynamic_cast<Dialog*>(&d) != nullptr; },
                                [handler](QDialog& d) { handler(*dynamic_cast<Dialog*>(&d)); });
    }
    int count = 0;

private:
    std::vector<std::pair<std::function<bool(QDialog&)>, std::function<void(QDialog&)>>> m_handlers;
};

// A one-sheet workbook of the given rows, written with our writer.
inline QString Make_Workbook(const QTemporaryDir& dir, const QString& name, const SheetTable& rows)
{
    const QString path = dir.filePath(name);
    EXPECT_TRUE(SpreadsheetWriter::WriteWorkbook(path, rows, true));
    return path;
}

// The texts of every message box so far, joined, for `contains` checks.
inline QString All_Texts(const ScriptedMessages& m)
{
    return m.texts().join(QStringLiteral(" | "));
}

} // namespace seriestest
