// Names of the records, for the messages of a replay that goes out of sync.
#include "replay/records.h"

namespace replay {

const char* TagName(uint8_t tag) {
    static constexpr const char* kNames[] = {
        "?",           "the clock",   "the pointer", "a message pump", "the end of a pump", "a window event",
        "a set line",  "the display state", "the display set-up", "the end of the display set-up",
        "the sound device", "a sound copy", "a sound copy's status", "a frame", "a state hash",
        "a file read", "a file read", "a file write", "a directory listing", "a snapshot", "the end"};
    return tag < sizeof kNames / sizeof kNames[0] ? kNames[tag] : "an unknown record";
}

}  // namespace replay
