// The keypads the demo build plugs in, chosen by ZENTRIK_VIRTUAL_KEYPAD.

#include "legacydemo.h"
#include "virtualkeypad.h"

#include <QLoggingCategory>
#include <QString>

#include <cstdlib>
#include <iterator>

Q_LOGGING_CATEGORY(lcVirtualKeypad, "zentrik.virtualkeypad")

namespace {

struct DemoModel
{
    const char *name;
    VirtualKeypadModel model;
    int (*install)(const DemoModel &demo);
};

int installCurrentFamily(const DemoModel &demo);

int installR20Wide(const DemoModel &)
{
    return installR20WideDemoKeypad();
}

int installOld(const DemoModel &)
{
    return installOldDemoKeypad();
}

// Each description selects its layout in the window. The legacy keypads do
// not answer the description request; their model field is unused.
const DemoModel demoModels[] = {
    {"16k3e", {16, 3, 0, 3, 0, 0, 0}, installCurrentFamily},
    {"4k3e", {16, 3, 0, 3, 0, 1, 0}, installCurrentFamily},
    {"6k1e", {6, 1, 0, 3, 0, 0, 0}, installCurrentFamily},
    {"5k2e", {5, 2, 0, 3, 0, 0, 0}, installCurrentFamily},
    {"0k1e", {0, 1, 0, 3, 1, 1, 0}, installCurrentFamily},
    {"r20wide", {0, 0, 0, 3, 0, 0, 0}, installR20Wide},
    {"old", {0, 0, 0, 3, 0, 0, 0}, installOld},
};
constexpr const char *DefaultModel = "16k3e";

constexpr uint8_t UsageA = 0x04, UsageC = 0x06, UsageH = 0x0B, UsageI = 0x0C;
constexpr uint8_t ModLeftCtrl = 0x01;
constexpr uint16_t UsageVolumeUp = 0xE9, UsageVolumeDown = 0xEA, UsageMute = 0xE2;
constexpr uint8_t MouseLeftClick = 0;

// A keypad as a newcomer might find it: a few keys, the first knob on the
// volume, and colours on the first two layers.
void fillDemoContents(int device, const VirtualKeypadModel &model)
{
    using Step = VirtualKeySlot::MacroStep;
    const VirtualKeySlot keys[] = {
        VirtualKeySlot::singleKey(UsageA),
        VirtualKeySlot::combination(ModLeftCtrl, {UsageC}),
        VirtualKeySlot::macro({Step{0, UsageH, 0}, Step{1, UsageH, 20}, Step{0, UsageI, 20},
                               Step{1, UsageI, 20}}),
        VirtualKeySlot::media(UsageVolumeUp),
        VirtualKeySlot::mouse(MouseLeftClick),
    };
    for (int slot = 0; slot < int(std::size(keys)) && slot < model.keyCount; ++slot)
        VirtualKeypad::setKey(0, slot, keys[slot], device);

    if (model.encoderCount > 0 && model.keyCount + 3 <= 25) {
        const int knob = model.keyCount; // turn left, turn right, press
        VirtualKeypad::setKey(0, knob, VirtualKeySlot::media(UsageVolumeDown), device);
        VirtualKeypad::setKey(0, knob + 1, VirtualKeySlot::media(UsageVolumeUp), device);
        VirtualKeypad::setKey(0, knob + 2, VirtualKeySlot::media(UsageMute), device);
    }
    if (model.keyCount > 0)
        VirtualKeypad::setKey(1, 0, VirtualKeySlot::combination(ModLeftCtrl, {0x19}), device); // Ctrl+V

    VirtualLighting rainbow;
    rainbow.effect = 1;
    for (int i = 0; i < 16; ++i) {
        const int phase = i * 6 * 255 / 16; // hue walk around the colour wheel
        const int sector = phase / 255, rise = phase % 255;
        const uint8_t up = uint8_t(rise), down = uint8_t(255 - rise);
        constexpr uint8_t F = 255, Z = 0;
        const VirtualLighting::Rgb wheel[6] = {{F, up, Z}, {down, F, Z}, {Z, F, up},
                                               {Z, down, F}, {up, Z, F}, {F, Z, down}};
        rainbow.colors[i] = wheel[sector % 6];
    }
    VirtualKeypad::setLighting(0, rainbow, device);

    VirtualLighting blue;
    blue.effect = 2;
    blue.colors.fill(VirtualLighting::Rgb{0, 80, 255});
    VirtualKeypad::setLighting(1, blue, device);
}

int installCurrentFamily(const DemoModel &demo)
{
    VirtualKeypadConfig config;
    config.model = demo.model;
    config.product = L"Zentrik Keypad " + QString::fromLatin1(demo.name).toStdWString();
    const int device = VirtualKeypad::plug(config);
    fillDemoContents(device, demo.model);
    return device;
}

const DemoModel *findModel(const std::string &name)
{
    for (const DemoModel &demo : demoModels) {
        if (name == demo.name)
            return &demo;
    }
    return nullptr;
}

} // namespace

int VirtualKeypad::installDemoKeypad()
{
    const char *chosen = std::getenv("ZENTRIK_VIRTUAL_KEYPAD");
    return installDemoKeypad(chosen && *chosen ? chosen : DefaultModel);
}

int VirtualKeypad::installDemoKeypad(const std::string &name)
{
    const DemoModel *demo = findModel(name);
    if (!demo) {
        qCWarning(lcVirtualKeypad).noquote() << "VirtualKeypad: unknown model" << QString::fromStdString(name)
                                             << "using" << DefaultModel;
        demo = findModel(DefaultModel);
    }
    qCDebug(lcVirtualKeypad).noquote() << "VirtualKeypad: plugged demo model" << demo->name;
    return demo->install(*demo);
}

std::vector<std::string> VirtualKeypad::demoModelNames()
{
    std::vector<std::string> names;
    for (const DemoModel &demo : demoModels)
        names.emplace_back(demo.name);
    return names;
}
