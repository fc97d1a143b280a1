// SPDX-License-Identifier: GPL-3.0-or-later
// Showing a replay on the output: pacing, pausing, stepping, jumping and the window title.
#include "replay/watching_platform.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <thread>

#include "replay/stop.h"

namespace replay {

namespace {
// A frame this far behind the recorded clock is skipped instead of shown.
constexpr auto kLateFrame = std::chrono::milliseconds(20);
// A display too slow for the speed still shows a frame this often, so the game is seen moving.
constexpr auto kShownAtLeastEvery = std::chrono::milliseconds(100);
// While paused the window is still drawn now and then, so it survives being covered and uncovered.
constexpr auto kPausedRedraw = std::chrono::milliseconds(15);
// How often the viewer's keys are read while a jump skips frames (Escape still ends it).
constexpr auto kLookWhileSkipping = std::chrono::milliseconds(100);
// Windows virtual key codes, as every backend delivers them.
constexpr int16_t kEscape = 27, kSpace = 32, kLeft = 37, kRight = 39;
}  // namespace

std::string WatchTitle(uint32_t elapsedMs, uint32_t lengthMs, double speed, bool paused) {
    auto clock = [](uint32_t ms) {
        const uint32_t s = ms / 1000;
        return std::to_string(s / 60) + ":" + (s % 60 < 10 ? "0" : "") + std::to_string(s % 60);
    };
    char factor[16];
    std::snprintf(factor, sizeof factor, "%g", speed);
    std::string speedText = factor;
    std::replace(speedText.begin(), speedText.end(), '.', ',');  // a German title writes 0,5
    std::string title = "Aufzeichnung " + clock(elapsedMs) + " / " + clock(lengthMs) + " \u00d7" + speedText;
    if (paused) title += " (Pause)";
    return title;
}

// The program's window events come from the recording, through the replaying platform.
class WatchingPlatform::Relay : public platform::WindowEvents {
  public:
    explicit Relay(WatchingPlatform& w) : w_(w) {}
    void Form_Activate() override {
        if (auto* h = w_.events()) h->Form_Activate();
    }
    void Form_GotFocus() override {
        if (auto* h = w_.events()) h->Form_GotFocus();
    }
    void Form_LostFocus() override {
        if (auto* h = w_.events()) h->Form_LostFocus();
    }
    void Form_KeyDown(int16_t k) override {
        if (auto* h = w_.events()) h->Form_KeyDown(k);
    }
    void Form_KeyUp(int16_t k) override {
        if (auto* h = w_.events()) h->Form_KeyUp(k);
    }
    void Form_KeyPress(int16_t c) override {
        if (auto* h = w_.events()) h->Form_KeyPress(c);
    }
    void Form_MouseDown(int16_t b, int16_t s, float x, float y) override {
        if (auto* h = w_.events()) h->Form_MouseDown(b, s, x, y);
    }
    void Form_MouseUp(int16_t b, int16_t s, float x, float y) override {
        if (auto* h = w_.events()) h->Form_MouseUp(b, s, x, y);
    }
    void Form_MouseMove(int16_t b, int16_t s, float x, float y) override {
        if (auto* h = w_.events()) h->Form_MouseMove(b, s, x, y);
    }

  private:
    WatchingPlatform& w_;
};

// The viewer's own keys at the output. Everything else the viewer does is ignored: the recording
// already holds the input.
class WatchingPlatform::Viewer : public platform::WindowEvents {
  public:
    void Form_Activate() override {}
    void Form_GotFocus() override {}
    void Form_LostFocus() override {}
    void Form_KeyDown(int16_t k) override {
        if (k == kEscape) stop = true;
        if (k == kSpace) pause = !pause;
        if (k == kLeft) jumpMs -= static_cast<int64_t>(kJumpMs);
        if (k == kRight) jumpMs += kJumpMs;
    }
    void Form_KeyUp(int16_t) override {}
    void Form_KeyPress(int16_t c) override {
        if (c == kEscape) stop = true;  // closing the window arrives as a typed Escape
        if (c == '.') ++steps;
        if (c == '+') ++faster;
        if (c == '-') --faster;
    }
    void Form_MouseDown(int16_t, int16_t, float, float) override {}
    void Form_MouseUp(int16_t, int16_t, float, float) override {}
    void Form_MouseMove(int16_t, int16_t, float, float) override {}

    bool stop = false, pause = false;
    int steps = 0, faster = 0;
    int64_t jumpMs = 0;
};

// A sound copy: its status comes from the recording, its sound from the output. Frames skipped
// over by a jump stay silent except for the loops, which go on where the viewer lands.
class WatchingPlatform::WatchedSound : public platform::SoundBuffer {
  public:
    WatchedSound(std::unique_ptr<platform::SoundBuffer> recorded, std::unique_ptr<platform::SoundBuffer> out,
                 const ViewerState& state)
        : recorded_(std::move(recorded)), out_(std::move(out)), state_(state) {}
    int32_t GetStatus() override { return recorded_->GetStatus(); }
    void SetPan(int32_t pan) override {
        recorded_->SetPan(pan);
        if (out_) out_->SetPan(pan);
    }
    void Play(bool looping) override {
        recorded_->Play(looping);
        if (out_ && (looping || !state_.skipping)) out_->Play(looping);
    }
    void Stop() override {
        recorded_->Stop();
        if (out_) out_->Stop();
    }

  private:
    std::unique_ptr<platform::SoundBuffer> recorded_, out_;
    const ViewerState& state_;
};

WatchingPlatform::WatchingPlatform(ReplayingPlatform& inner, const WatchOptions& options, ViewerState& state)
    : inner_(inner),
      output_(*options.output),
      options_(options),
      state_(state),
      relay_(std::make_unique<Relay>(*this)),
      viewer_(std::make_unique<Viewer>()) {
    SetDirectories(inner.ProgramDirectory(), inner.DataDirectory(), inner.SoundDirectory());
    inner_.SetEventHandler(relay_.get());
    viewer_->pause = state_.paused;
    output_.SetEventHandler(viewer_.get());
}

WatchingPlatform::~WatchingPlatform() {
    output_.SetEventHandler(nullptr);
    inner_.SetEventHandler(nullptr);
}

void WatchingPlatform::openOutput() {
    // A replay from a START had its display long before it begins; the viewer's opens now.
    if (state_.displayOpen) return;
    state_.displayOpen = true;
    output_.InitDisplay();
}

void WatchingPlatform::ShowCursor(bool show) {
    inner_.ShowCursor(show);
    output_.ShowCursor(show);
}

void WatchingPlatform::MessageBox(const std::string& title, const std::string& text) {
    inner_.MessageBox(title, text);
    if (!state_.skipping) output_.MessageBox(title, text);
}

void WatchingPlatform::InitDisplay() {
    inner_.InitDisplay();
    openOutput();
}

void WatchingPlatform::DoEvents() {
    openOutput();
    // Frames skipped over by a jump are not shown, and a window's pump without a new frame waits
    // a moment for input: while skipping, the viewer's keys are looked at only now and then.
    const auto now = std::chrono::steady_clock::now();
    if (!state_.skipping || (options_.realTime && now - lastLook_ >= kLookWhileSkipping)) {
        lastLook_ = now;
        output_.DoEvents();
        react();
    }
    inner_.DoEvents();
}

bool WatchingPlatform::CreateSoundDevice() {
    const bool present = inner_.CreateSoundDevice();
    if (present && !state_.soundAsked) {
        state_.soundAsked = true;
        state_.soundOpen = output_.CreateSoundDevice();
    }
    return present;
}

std::unique_ptr<platform::SoundBuffer> WatchingPlatform::CreateSoundBuffer(const std::filesystem::path& file,
                                                                           int32_t slot, int32_t copy) {
    auto recorded = inner_.CreateSoundBuffer(file, slot, copy);
    std::unique_ptr<platform::SoundBuffer> out;
    if (state_.soundOpen) {
        // The viewer hears the sounds beside this program; one it lacks stays silent, since the
        // recording already decided how the program went on.
        try {
            out = output_.CreateSoundBuffer(output_.SoundDirectory() / file.filename(), slot, copy);
        } catch (const std::runtime_error&) {
            out.reset();
        }
    }
    return std::make_unique<WatchedSound>(std::move(recorded), std::move(out), state_);
}

void WatchingPlatform::showTitle() {
    if (state_.skipping) return;
    const std::string title =
        WatchTitle(std::min(elapsedMs(), state_.lengthMs), state_.lengthMs, state_.speed, state_.paused);
    if (title == state_.title) return;
    state_.title = title;
    if (options_.title) options_.title(title);
}

void WatchingPlatform::react() {
    Viewer& v = *viewer_;
    if (v.stop) throw ReplayStop{StopKind::Stopped, "the replay was ended at frame " + std::to_string(inner_.frames())};
    // A new speed paces on from the frame where it was chosen.
    if (v.faster != 0) paceStarted_ = false;
    for (; v.faster > 0; --v.faster) state_.speed = std::min(kFastestWatch, state_.speed * 2);
    for (; v.faster < 0; ++v.faster) state_.speed = std::max(kSlowestWatch, state_.speed / 2);
    if (v.pause != state_.paused) {
        state_.paused = v.pause;
        paceStarted_ = false;
    }
    if (v.steps > 0 && state_.paused) state_.step = true;
    v.steps = 0;
    if (v.jumpMs != 0) {
        const int64_t from = state_.skipping ? state_.skipUntilMs : elapsedMs();
        const uint32_t to = static_cast<uint32_t>(std::clamp<int64_t>(from + v.jumpMs, 0, state_.lengthMs));
        v.jumpMs = 0;
        state_.skipUntilMs = to;
        state_.skipping = true;
        // The way back is a re-simulation from the beginning: the program cannot run backwards.
        if (to < elapsedMs()) throw JumpBack{to};
    }
    showTitle();
}

bool WatchingPlatform::pace() {
    // The recorded clock, paced to the real one.
    const auto now = std::chrono::steady_clock::now();
    if (!paceStarted_) {
        paceStarted_ = true;
        paceStart_ = now;
        paceStartMs_ = elapsedMs();
    }
    const auto due =
        paceStart_ +
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double, std::milli>(static_cast<int32_t>(elapsedMs() - paceStartMs_) / state_.speed));
    if (due > now) std::this_thread::sleep_until(due);
    // A frame the window is too late for is not shown, so a fast speed is kept even where the
    // display cannot show every frame; a display too slow for the speed still shows one now and then.
    if (due + kLateFrame < now && now - lastShown_ < kShownAtLeastEvery) return false;
    lastShown_ = now;
    return true;
}

void WatchingPlatform::Flip(const platform::Surface& back) {
    inner_.Flip(back);
    if (state_.skipping) {
        if (elapsedMs() < state_.skipUntilMs) return;
        state_.skipping = false;
        paceStarted_ = false;
    }
    openOutput();
    showTitle();
    if (!options_.realTime || state_.paused || pace()) output_.Flip(back);
    // Paused: the frame stays and the keys are read, until Space, '.', a jump or Escape.
    while (state_.paused && !state_.step && !state_.skipping) {
        if (options_.realTime) std::this_thread::sleep_for(kPausedRedraw);
        output_.DoEvents();
        react();
        output_.Flip(back);
    }
    state_.step = false;
}

}  // namespace replay
