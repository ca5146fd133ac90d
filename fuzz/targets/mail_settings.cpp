// The e-mail settings file.
#include "export/mail/MailPreferences.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    const std::optional<QVariantMap> dict = PreferencesStore::Parse(Fuzz_Bytes(data, size));
    if (dict)
        for (auto it = dict->cbegin(); it != dict->cend(); ++it)
            Fuzz_Check(it.value().typeId() == QMetaType::QString, "only string values are kept");
    return 0;
}
