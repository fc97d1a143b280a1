// The records of a replay's stream: one per answer the program got from the machine, in the order
// it asked. Each starts with its tag; what follows is listed beside it.
#pragma once

#include <cstdint>

namespace replay {

enum class Tag : uint8_t {
    Tick = 1,          // signed varint: difference to the clock's previous answer
    Cursor,            // signed varints x, y
    PumpBegin,         // a message pump; Set and Event records follow until PumpEnd
    PumpEnd,
    Event,             // u8 EventKind, signed varints code and shift, f32 x and y for the mouse
    Set,               // texts field and value: a driver wrote the program's state directly
    Cooperative,       // u8: the display is held
    DisplayBegin,      // the display is set up; Event records may follow until DisplayEnd
    DisplayEnd,        // u8 0 = set up; 1 = failed, then u8 exclusive refused, text why
    SoundDevice,       // u8: there is one
    SoundBuffer,       // u8 0 = made; 1 = failed, then text why
    SoundStatus,       // signed varint
    Flip,
    Hash,              // u64: the program's state hash after the last Flip
    FileRead,          // signed varint error number (0 = read), text error, varint size, bytes content
    FileReadSame,      // the same answer as the last FileRead of that file
    FileWrite,         // signed varint error number, text error
    DirectoryListing,  // u8: the directory holds a visible file
    Snapshot,          // bytes: the program's state when the recording began (replays from a START)
    End,               // u64: the program's state hash at the end
};

enum class EventKind : uint8_t {
    Activate,
    GotFocus,
    LostFocus,
    KeyDown,
    KeyUp,
    KeyPress,
    MouseDown,
    MouseUp,
    MouseMove,
};

const char* TagName(uint8_t tag);

}  // namespace replay
