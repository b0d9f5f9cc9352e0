#pragma once

// What zentrikctl's exit code says; the manual page lists them. Scripts rely
// on these numbers: never renumber them.
enum class CtlExit : int {
    Ok = 0,           // done; the keypad holds the file
    Differs = 1,      // differences, or a save the read-back did not confirm
    Usage = 2,        // bad command line
    NoKeypad = 3,     // no supported keypad, or it did not answer
    NoPermission = 4, // a keypad is there but the user may not open it
    Busy = 5,         // Zentrik's window holds the keypad, or another program does
    BadFile = 6,      // the file cannot be read or is not a keypad file
    NotHeld = 7,      // the keypad cannot hold all of the file
};

inline int exitCode(CtlExit exit)
{
    return static_cast<int>(exit);
}
