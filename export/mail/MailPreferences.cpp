#include "export/mail/MailPreferences.h"

#include "core/util/MainWindowServices.h"
#include "platform/Paths.h"
#include "platform/Plist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
}

QString PreferencesStore::Preferences_Path()
{
    const QString folder = Folders.Created_Resource_Path.isEmpty() ? Default_Created_Resource_Path() : Folders.Created_Resource_Path;
    return Path_Join(folder, QStringLiteral("com.velquist.plist"));
}

std::shared_ptr<PreferencesStore> PreferencesStore::sharedInstance()
{
    return std::make_shared<PreferencesStore>(Preferences_Path());
}

std::optional<QVariantMap> PreferencesStore::Parse(const QByteArray& data)
{
    if (data.isEmpty())
        return std::nullopt;
    const std::optional<QVariant> root = Plist_Parse(data);
    if (!root || root->typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    QVariantMap out;
    const QVariantMap map = root->toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        if (it.value().typeId() == QMetaType::QString)
            out.insert(it.key(), it.value());
    return out;
}

PreferencesStore::PreferencesStore(const QString& path) : mPreferencesPath(path)
{
    QFile file(path);
    std::optional<QVariantMap> dict;
    if (file.open(QIODevice::ReadOnly))
        dict = Parse(file.read(1 << 20));
    if (dict) {
        mDict = *dict;
        return;
    }
    if (!QFileInfo::exists(path)) {
        QDir().mkpath(QFileInfo(path).path());
        QFile empty(path);
        if (empty.open(QIODevice::WriteOnly))
            empty.setPermissions(ownerOnly);
    }
    mDict.clear();
    setDefaults();
}

void PreferencesStore::setDefaults()
{
    for (const char* key : {"SendEmailRecipient", "SendEmailSender", "SendEmailPwd", "SendEmailSMTP", "SendEmailPORT"})
        mDict.insert(QString::fromLatin1(key), QString());
}

QString PreferencesStore::value(const char* key) const
{
    return mDict.value(QString::fromLatin1(key)).toString();
}

bool PreferencesStore::flush(QString* error)
{
    const QByteArray data = Plist_Serialize(mDict, PlistFormat::Xml);
    QDir().mkpath(QFileInfo(mPreferencesPath).path());
    QSaveFile file(mPreferencesPath);
    bool ok = !data.isEmpty() && file.open(QIODevice::WriteOnly);
    ok = ok && file.setPermissions(ownerOnly);
    ok = ok && file.write(data) == data.size();
    if (!ok) {
        if (error) *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}
