// Fuzz target for the settings reader: any bytes are read without harm, and the options read
// are written and read back the same.
#include "core/settings/PredictionOptions.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    PredictionOptions options;
    readSettingsText(bytes, options);

    const std::optional<QByteArray> written = settingsText(options);
    PredictionOptions again;
    for (bool &flag : again.ReflectFlag)
        flag = true;
    if (written)
        readSettingsText(*written, again);
    if (!written || !(again == options)) {
        fprintf(stderr, "settings reader: options do not survive a write\n");
        abort();
    }
    return 0;
}
