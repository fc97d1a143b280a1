// SPDX-License-Identifier: GPL-3.0-or-later
// The records of a replay's stream: one per answer the program got from the machine, in the order
// it asked. Each record's byte layout is written once, in its `fields`, which the writer and the
// reader both walk: a Put writes the fields, a Get reads them back in the same order.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "replay/byte_stream.h"

namespace replay {

enum class Tag : uint8_t {
    Tick = 1,
    Cursor,
    PumpBegin,  // a message pump; Event and Set records follow until PumpEnd
    PumpEnd,
    Event,
    Set,
    Cooperative,
    DisplayBegin,  // the display is set up; Event records may follow until DisplayEnd
    DisplayEnd,
    SoundDevice,
    SoundBuffer,
    SoundStatus,
    Flip,
    Hash,
    FileRead,
    FileReadSame,  // the same answer as the last FileRead of that file
    FileWrite,
    DirectoryListing,
    Snapshot,
    End,
};
inline constexpr uint8_t kLastTag = static_cast<uint8_t>(Tag::End);

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

// Writes a record's fields.
class Put {
  public:
    explicit Put(ByteWriter& out) : out_(out) {}
    void u8(uint8_t v) { out_.u8(v); }
    void flag(bool v) { out_.u8(v); }
    void u64(uint64_t v) { out_.fixed(v, 8); }
    void varint(uint64_t v) { out_.varint(v); }
    void svarint(int64_t v) { out_.signedVarint(v); }
    void f32(float v) { out_.f32(v); }
    void text(const std::string& v) { out_.text(v); }
    void bytes(std::span<const uint8_t> v) { out_.bytes(v); }

  private:
    ByteWriter& out_;
};

// Reads a record's fields; a damaged stream stops with ReplayStop.
class Get {
  public:
    explicit Get(ByteReader& in) : in_(in) {}
    void u8(uint8_t& v) { v = in_.u8(); }
    void flag(bool& v) { v = in_.u8() != 0; }
    void u64(uint64_t& v) { v = in_.fixed(8); }
    void varint(uint64_t& v) { v = in_.varint(); }
    void svarint(int64_t& v) { v = in_.signedVarint(); }
    void f32(float& v) { v = in_.f32(); }
    void text(std::string& v) { v = in_.text(); }
    void bytes(std::span<const uint8_t>& v) { v = in_.bytes(); }

  private:
    ByteReader& in_;
};

// A record without content.
template <Tag T>
struct Bare {
    static constexpr Tag tag = T;
    template <typename IO>
    void fields(IO&) {}
};

using PumpBeginRecord = Bare<Tag::PumpBegin>;
using PumpEndRecord = Bare<Tag::PumpEnd>;
using DisplayBeginRecord = Bare<Tag::DisplayBegin>;
using FlipRecord = Bare<Tag::Flip>;
using FileReadSameRecord = Bare<Tag::FileReadSame>;

// A one-value record.
template <Tag T, typename V, void (Put::*W)(V), void (Get::*R)(V&)>
struct Single {
    static constexpr Tag tag = T;
    V value{};
    void fields(Put& io) { (io.*W)(value); }
    void fields(Get& io) { (io.*R)(value); }
};

// The difference to the clock's previous answer.
using TickRecord = Single<Tag::Tick, int64_t, &Put::svarint, &Get::svarint>;
using CooperativeRecord = Single<Tag::Cooperative, bool, &Put::flag, &Get::flag>;  // the display is held
using SoundDeviceRecord = Single<Tag::SoundDevice, bool, &Put::flag, &Get::flag>;  // there is one
using SoundStatusRecord = Single<Tag::SoundStatus, int64_t, &Put::svarint, &Get::svarint>;
// The program's state hash after the last frame, or at the end.
using HashRecord = Single<Tag::Hash, uint64_t, &Put::u64, &Get::u64>;
using EndRecord = Single<Tag::End, uint64_t, &Put::u64, &Get::u64>;
using DirectoryListingRecord = Single<Tag::DirectoryListing, bool, &Put::flag, &Get::flag>;  // holds a visible file

// The program's state when the recording began (replays from a START).
struct SnapshotRecord {
    static constexpr Tag tag = Tag::Snapshot;
    std::span<const uint8_t> state;
    template <typename IO>
    void fields(IO& io) {
        io.bytes(state);
    }
};

// Differences to the pointer's previous answer.
struct CursorRecord {
    static constexpr Tag tag = Tag::Cursor;
    int64_t dx = 0, dy = 0;
    template <typename IO>
    void fields(IO& io) {
        io.svarint(dx);
        io.svarint(dy);
    }
};

// A window event: keys and characters carry their code, the mouse its button, shift and place.
struct EventRecord {
    static constexpr Tag tag = Tag::Event;
    uint8_t kind = 0;
    int64_t code = 0, shift = 0;
    float x = 0, y = 0;
    template <typename IO>
    void fields(IO& io) {
        io.u8(kind);
        const auto k = static_cast<EventKind>(kind);
        if (k == EventKind::KeyDown || k == EventKind::KeyUp || k == EventKind::KeyPress) {
            io.svarint(code);
        } else if (k == EventKind::MouseDown || k == EventKind::MouseUp || k == EventKind::MouseMove) {
            io.svarint(code);
            io.svarint(shift);
            io.f32(x);
            io.f32(y);
        } else if (kind > static_cast<uint8_t>(EventKind::MouseMove)) {
            throw ReplayStop{StopKind::Unreadable,
                             "the replay is damaged (unknown event " + std::to_string(kind) + ")"};
        }
    }
};

// A driver (the headless script) wrote the program's state directly: a test aid, never play.
struct SetRecord {
    static constexpr Tag tag = Tag::Set;
    std::string field, value;
    template <typename IO>
    void fields(IO& io) {
        io.text(field);
        io.text(value);
    }
};

// The display's set-up: done, or failed with whether exclusive mode was refused and why.
struct DisplayEndRecord {
    static constexpr Tag tag = Tag::DisplayEnd;
    bool failed = false, exclusiveRefused = false;
    std::string why;
    template <typename IO>
    void fields(IO& io) {
        io.flag(failed);
        if (!failed) return;
        io.flag(exclusiveRefused);
        io.text(why);
    }
};

// A sound copy: made, or failed and why.
struct SoundBufferRecord {
    static constexpr Tag tag = Tag::SoundBuffer;
    bool failed = false;
    std::string why;
    template <typename IO>
    void fields(IO& io) {
        io.flag(failed);
        if (failed) io.text(why);
    }
};

// A file of the data directory read: its error (0 = read), the whole file's size and what was read.
struct FileReadRecord {
    static constexpr Tag tag = Tag::FileRead;
    int64_t errorNumber = 0;
    std::string error;
    uint64_t size = 0;
    std::span<const uint8_t> content;
    template <typename IO>
    void fields(IO& io) {
        io.svarint(errorNumber);
        io.text(error);
        io.varint(size);
        io.bytes(content);
    }
};

struct FileWriteRecord {
    static constexpr Tag tag = Tag::FileWrite;
    int64_t errorNumber = 0;
    std::string error;
    template <typename IO>
    void fields(IO& io) {
        io.svarint(errorNumber);
        io.text(error);
    }
};

// Appends the record, its tag first.
template <typename R>
void PutRecord(ByteWriter& out, R record) {
    out.u8(static_cast<uint8_t>(R::tag));
    Put put(out);
    record.fields(put);
}

// Reads the fields of a record whose tag was already taken.
template <typename R>
R GetFields(ByteReader& in) {
    R record;
    Get get(in);
    record.fields(get);
    return record;
}

// Reads past the fields of a record with this tag; an unknown tag stops as damage.
void SkipFields(ByteReader& in, uint8_t tag);

const char* TagName(uint8_t tag);

}  // namespace replay
