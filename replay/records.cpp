// SPDX-License-Identifier: GPL-3.0-or-later
// The table of records by tag: their names for the messages of a replay that goes out of sync, and
// how to read past each one.
#include "replay/records.h"

namespace replay {

namespace {

struct Kind {
    const char* name;
    void (*skip)(ByteReader&);
};

template <typename R>
void skip(ByteReader& in) {
    GetFields<R>(in);
}

constexpr Kind kKinds[] = {
    {"an unknown record", nullptr},
    {"the clock", skip<TickRecord>},
    {"the pointer", skip<CursorRecord>},
    {"a message pump", skip<PumpBeginRecord>},
    {"the end of a pump", skip<PumpEndRecord>},
    {"a window event", skip<EventRecord>},
    {"a set line", skip<SetRecord>},
    {"the display state", skip<CooperativeRecord>},
    {"the display set-up", skip<DisplayBeginRecord>},
    {"the end of the display set-up", skip<DisplayEndRecord>},
    {"the sound device", skip<SoundDeviceRecord>},
    {"a sound copy", skip<SoundBufferRecord>},
    {"a sound copy's status", skip<SoundStatusRecord>},
    {"a frame", skip<FlipRecord>},
    {"a state hash", skip<HashRecord>},
    {"a file read", skip<FileReadRecord>},
    {"a file read", skip<FileReadSameRecord>},
    {"a file write", skip<FileWriteRecord>},
    {"a directory listing", skip<DirectoryListingRecord>},
    {"a snapshot", skip<SnapshotRecord>},
    {"the end", skip<EndRecord>},
};
static_assert(sizeof kKinds / sizeof kKinds[0] == kLastTag + 1);

}  // namespace

void SkipFields(ByteReader& in, uint8_t tag) {
    if (tag == 0 || tag > kLastTag)
        throw ReplayStop{StopKind::Unreadable, "the replay is damaged (unknown record " + std::to_string(tag) + ")"};
    kKinds[tag].skip(in);
}

const char* TagName(uint8_t tag) { return tag <= kLastTag ? kKinds[tag].name : kKinds[0].name; }

}  // namespace replay
