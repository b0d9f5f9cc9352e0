// The keypad file reader takes whatever bytes a file the user picked holds.

#include "fuzzsupport.h"
#include "model/keypadfile.h"

#include <QByteArray>

// Qt 5's JSON parser loses the earlier value of a key that an object names
// twice ({"a": [1], "a": 2}); the allocation is made inside Qt Core, whose
// frames the leak checker cannot unwind. The reader refuses such files before
// the parser sees them, so runs no longer leak there (a leaking run is run
// again and followed by a full leak scan, once far more than all else the
// fuzzer did); a leak inside Qt Core is still Qt's, not the reader's, and is
// not reported.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libQt5Core.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The reader sees the exact-size copy itself, not a second copy with room
    // after it, so a read past the file's end is caught.
    const std::vector<uint8_t> bytes = exactCopy(data, size);
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char *>(bytes.data()),
                                                    int(bytes.size()));
    const KeypadFileRead read = readKeypadFile(text);
    if (!read.file) {
        // A refusal always says why.
        FUZZ_REQUIRE(!read.error.text.isEmpty());
        return 0;
    }
    for (const KeypadFileLayer &layer : read.file->layers) {
        FUZZ_REQUIRE(layer.index >= 0 && layer.index < 4);
        for (const KeypadFileControl &control : layer.controls) {
            requireSoundRecord(control.record);
            // Only a fixed control is listed without a function.
            FUZZ_REQUIRE(control.fixed || !control.record.isEmpty());
        }
    }
    // What the reader accepted, written again, reads back the same.
    const KeypadFileRead again = readKeypadFile(writeKeypadFile(*read.file));
    FUZZ_REQUIRE(again.file.has_value());
    FUZZ_REQUIRE(again.file->layers.size() == read.file->layers.size());
    for (int i = 0; i < read.file->layers.size(); ++i) {
        const QVector<KeypadFileControl> &first = read.file->layers[i].controls;
        const QVector<KeypadFileControl> &second = again.file->layers[i].controls;
        FUZZ_REQUIRE(first.size() == second.size());
        for (int c = 0; c < first.size(); ++c)
            FUZZ_REQUIRE(first[c].role == second[c].role && first[c].fixed == second[c].fixed
                         && first[c].record.sameAssignment(second[c].record));
    }
    return 0;
}
