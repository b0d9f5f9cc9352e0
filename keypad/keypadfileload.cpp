#include "keypad/keypadfileload.h"

#include "model/regularfile.h"
#include "model/translation.h"

namespace {

// Why the file cannot be imported, in the interface's language.
QString problemText(const KeypadFileError &error)
{
    QString problem = translateText(error.text);
    for (const QString &argument : error.arguments)
        problem = problem.arg(argument);
    return translateText("The file cannot be imported: %1.").arg(problem)
        + (error.field.isEmpty() ? QString()
                                 : QLatin1Char('\n') + translateText("Field: %1").arg(error.field))
        + QLatin1Char('\n') + translateText("Nothing was changed.");
}

// Why a named file cannot be read, or empty when its bytes are there.
QString readProblemText(const RegularFileRead &read)
{
    using Problem = RegularFileRead::Problem;
    switch (read.problem) {
    case Problem::None:
        return QString();
    case Problem::Missing:
        return translateText("The file could not be read: it does not exist.");
    case Problem::Folder:
        return translateText("This is a folder, not a keypad file. Nothing was changed.");
    case Problem::NotRegular:
        return translateText(
            "This is not a regular file (a pipe, a device or a socket) and is not read. "
            "Nothing was changed.");
    case Problem::Unreadable:
        break;
    }
    return translateText("The file could not be read: %1").arg(read.systemError);
}

} // namespace

LoadedKeypadFile loadKeypadFile(const QString &path)
{
    LoadedKeypadFile loaded;
    // One byte more than allowed is enough to refuse a large file.
    const RegularFileRead bytes = readRegularFile(path, kKeypadFileMaxBytes);
    if (bytes.problem != RegularFileRead::Problem::None) {
        loaded.problem = readProblemText(bytes);
        return loaded;
    }
    const KeypadFileRead read = readKeypadFile(bytes.bytes);
    if (read.file)
        loaded.file = read.file;
    else
        loaded.problem = problemText(read.error);
    return loaded;
}
