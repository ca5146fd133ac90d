#include "export/ExportNaming.h"

#include "core/util/Helpers.h"
#include "core/util/JobControl.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "platform/MainThread.h"
#include "platform/Paths.h"

#include <QFileInfo>

#include <exception>

QString Export_Naming::withPrefixSuffix(const QString& name) const
{
    QString out = name;
    if (!file_prefix_exported.isEmpty())
        out = file_prefix_exported + QLatin1Char('_') + out;
    if (!file_sufix_exported.isEmpty())
        out = out + QLatin1Char('_') + file_sufix_exported;
    return out;
}

QString Export_Naming::numbered(const QString& name) const
{
    return export_card_counter > 0 ? QStringLiteral("%1 (%2)").arg(name).arg(export_card_counter) : name;
}

QString Export_Naming::Export_Name_With_Options(const QString& value, const QString& seriesName, int row)
{
    bool useCounter = false;
    QString name;
    if (file_name_exported == QLatin1String("<DEF>")) {
        name = numbered(withPrefixSuffix(QStringLiteral("Label")));
    } else if (file_name_exported == QLatin1String("<SN>")) {
        name = withPrefixSuffix(QStringLiteral("%1 (%2)").arg(seriesName).arg(row));
    } else if (file_name_exported == QLatin1String("<SV>")) {
        QString v = value;
        if (v.isEmpty()) { v = QStringLiteral("Value"); useCounter = true; }
        name = withPrefixSuffix(v);
    } else if (file_name_exported == QLatin1String("<SNV>")) {
        QString v = value;
        if (v.isEmpty()) { v = QStringLiteral("Value"); useCounter = true; }
        name = withPrefixSuffix(seriesName + QLatin1Char('_') + v);
    } else {
        name = numbered(withPrefixSuffix(file_name_exported));
    }
    return Create_And_Check_File_Name(file_export_Path, name, useCounter);
}

QString Export_Naming::Export_Barcode_Name_With_Options(const QString& value, const QString& header,
                                                        const QString& footer, const QString& seriesName,
                                                        int row)
{
    bool useCounter = false;
    auto orDefault = [&useCounter](const QString& text, const char* fallback) {
        if (!text.isEmpty()) return text;
        useCounter = true;
        return QString::fromLatin1(fallback);
    };
    QString name;
    if (file_name_exported == QLatin1String("<DEF>"))
        name = numbered(withPrefixSuffix(QStringLiteral("Barcode")));
    else if (file_name_exported == QLatin1String("<BV>"))
        name = withPrefixSuffix(orDefault(value, "Value"));
    else if (file_name_exported == QLatin1String("<BS>"))
        name = withPrefixSuffix(QStringLiteral("%1 (%2)").arg(seriesName).arg(row));
    else if (file_name_exported == QLatin1String("<BSV>"))
        name = withPrefixSuffix(seriesName + QLatin1Char('_') + orDefault(value, "Value"));
    else if (file_name_exported == QLatin1String("<BH>"))
        name = withPrefixSuffix(orDefault(Trim_Str(header), "Header"));
    else if (file_name_exported == QLatin1String("<BF>"))
        name = withPrefixSuffix(orDefault(Trim_Str(footer), "Footer"));
    else
        name = numbered(withPrefixSuffix(file_name_exported));
    return Create_And_Check_File_Name(file_export_Path, name, useCounter);
}

QString Export_Naming::Create_And_Check_File_Name(const QString& dir, const QString& name, bool useCounter)
{
    QString path;
    try {
        const QString clean = Remove_Reserve_Char_In_File_Name(name);
        path = Path_Join(dir, clean) + QLatin1Char('.') + file_path_ext;
        ++export_card_counter;
        if (useCounter)
            path = Check_Exist_Path_and_Create_New(path);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
    return path;
}

QString Check_And_Show_Keep_Replace_File_Msg(const QString& path, bool show_apply_all, Job_Control& job)
{
    try {
        return Ask_Keep_Or_Replace(path, show_apply_all, nullptr, job);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
    return path;
}
