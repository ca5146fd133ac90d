#include "data/Spreadsheet.h"

#include "data/XlsxReading.h"

// ---------------------------------------------------------------- shared strings

namespace {

class Shared_Strings_Handler : public Part_Handler {
public:
    explicit Shared_Strings_Handler(Xlsx_Shared_Strings& store) : m_store(store) {}

    void startElement(const char* name, const char**) override
    {
        ++m_depth;
        if (m_depth == 2 && named(name, "si")) {
            m_item.clear();
            m_inItem = true;
        } else if (m_inItem) {
            m_item.start(m_depth - 2, name);
        }
    }
    void endElement(const char*) override
    {
        if (m_inItem && m_depth == 2) {
            m_inItem = false;
            if (m_store.count() >= Max_Shared_Strings) {
                fail(QStringLiteral("The workbook holds more than %1 texts, more than can be read. "
                                    "Split it into smaller workbooks and try again.")
                         .arg(number(Max_Shared_Strings)));
                return;
            }
            const std::string& t = m_item.value();
            if (m_store.size + qint64(t.size()) > Max_Shared_Text_Bytes) {
                fail(QStringLiteral("The texts of the workbook are larger than %1 MB, more than can be read. "
                                    "Split it into smaller workbooks and try again.")
                         .arg(Max_Shared_Text_Bytes >> 20));
                return;
            }
            m_store.add(t.data(), qsizetype(t.size()));
        } else if (m_inItem) {
            m_item.end(m_depth - 2);
        }
        --m_depth;
    }
    void text(const char* data, int size) override
    {
        if (m_inItem && !m_item.text(data, size, Max_Cell_Text_Bytes))
            fail(QStringLiteral("A text of the workbook is longer than %1 MB: the workbook is damaged. ")
                     .arg(Max_Cell_Text_Bytes >> 20)
                 + kSaveAgain);
    }

private:
    Xlsx_Shared_Strings& m_store;
    String_Item_Text m_item;
    int m_depth = 0;
    bool m_inItem = false;
};

} // namespace

bool Xlsx_Workbook::readSharedStrings(const QString& sharedPart, bool& encrypted)
{
    const int sharedEntry = m_zip->find(sharedPart);
    if (sharedEntry >= 0) {
        Shared_Strings_Handler handler(*m_shared);
        QString reason;
        if (Stream_Part(*m_zip, sharedEntry, handler, Max_Part_Bytes, {}, &reason, &encrypted) == Part_Result::Failed) {
            if (encrypted)
                return failOpen(passwordText);
            if (!handler.failure().isEmpty())
                return failOpen(reason);
            return failOpen(QStringLiteral("The texts of the workbook are damaged (%1). ").arg(reason) + kSaveAgain);
        }
    }
    return true;
}
