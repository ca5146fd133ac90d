#pragma once
// The e-mail settings store: a property-list dictionary of strings in the
// per-user data folder, "com.velquist.plist", readable by its owner only.
//
// Every sharedInstance() reads the file anew. A missing or unreadable file
// gives the defaults (and an empty file, created 0600, is left behind). The
// setters change memory only; flush() writes the file atomically, so a failed
// save keeps the old file as it was.
#include "core/util/ServiceInterfaces.h"

#include <QString>
#include <QVariantMap>

#include <memory>
#include <optional>

class PreferencesStore : public Preferences {
public:
    explicit PreferencesStore(const QString& path);
    static std::shared_ptr<PreferencesStore> sharedInstance();
    static QString Preferences_Path();  // Folders.Created_Resource_Path + "/com.velquist.plist"

    QString send_email_Recipient() const { return value("SendEmailRecipient"); }
    QString send_email_SenderEmail() const override { return value("SendEmailSender"); }
    QString send_email_Password() const override { return value("SendEmailPwd"); }
    QString send_email_SMTP_server() const override { return value("SendEmailSMTP"); }
    QString send_email_PORT_num() const override { return value("SendEmailPORT"); }
    QString send_email_enable_ssl() const override { return value("SendEnableSSL"); }

    void setsend_email_Recipient(const QString& v) { mDict.insert("SendEmailRecipient", v); }
    void setsend_email_SenderEmail(const QString& v) { mDict.insert("SendEmailSender", v); }
    void setsend_email_Password(const QString& v) { mDict.insert("SendEmailPwd", v); }
    void setsend_email_SMTP_server(const QString& v) { mDict.insert("SendEmailSMTP", v); }
    void setsend_email_PORT_num(const QString& v) { mDict.insert("SendEmailPORT", v); }
    void setsend_email_enable_ssl(const QString& v) { mDict.insert("SendEnableSSL", v); }

    void setDefaults();
    // Writes the dictionary; false (with the reason) when the file could not be written.
    bool flush(QString* error = nullptr);

    // Reads settings data; only string values are kept. Null when the data
    // is no property-list dictionary.
    static std::optional<QVariantMap> Parse(const QByteArray& data);

    QString mPreferencesPath;
    QVariantMap mDict;

private:
    QString value(const char* key) const;
};
