// The settings parser takes whatever bytes lie in Config.ini.

#include "keypad/settingsfile.h"
#include "fuzzsupport.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::vector<uint8_t> bytes = exactCopy(data, size);
    const QByteArray text(reinterpret_cast<const char *>(bytes.data()), int(bytes.size()));
    const AppSettings settings = parseSettingsText(text);
    if (settings.layerNum)
        FUZZ_REQUIRE(*settings.layerNum >= 0 && *settings.layerNum <= 3);

    // The parser is pure: the same bytes give the same settings.
    const AppSettings again = parseSettingsText(text);
    FUZZ_REQUIRE(again.useChinese == settings.useChinese && again.layerNum == settings.layerNum);
    return 0;
}
