// SPDX-License-Identifier: GPL-3.0-or-later
// The screenshot worker: names each picture by the time it was taken and writes it as a PNG.
#include "base/log.h"
#include "platform/screenshot_writer.h"

#include <cstdio>
#include <system_error>

#include "base/utf8_path.h"
#include "platform/png_writer.h"

namespace platform {

namespace fs = std::filesystem;

fs::path FreeScreenshotName(const fs::path& dir, const std::tm& when) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "vorlanix-%Y%m%d-%H%M%S", &when);
    std::error_code ec;
    fs::path name = dir / (std::string(stamp) + ".png");
    for (int n = 2; fs::exists(name, ec); ++n) name = dir / (std::string(stamp) + "-" + std::to_string(n) + ".png");
    return name;
}

ScreenshotWriter::~ScreenshotWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void ScreenshotWriter::OnFlip(const Surface& frame) {
    if (!requested_) return;
    requested_ = false;
    // A copy of the 640 x 480 frame is all the game pays; the encoding happens on the worker.
    auto copy = std::make_unique<Surface>(frame.width(), frame.height());
    copy->BltFast(0, 0, frame, Rect{0, 0, frame.width(), frame.height()}, false);
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(copy));
        if (!worker_.joinable()) worker_ = std::thread(&ScreenshotWriter::work, this);
    }
    wake_.notify_one();
}

void ScreenshotWriter::Finish() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void ScreenshotWriter::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) return;
        std::unique_ptr<Surface> frame = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();

        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        std::error_code ec;
        fs::create_directories(dir_, ec);
        const fs::path file = FreeScreenshotName(dir_, local);
        std::string error;
        if (WritePng(*frame, file, error))
            base::Log("screenshot %s", base::Utf8FromPath(file).c_str());
        else
            base::Log("no screenshot: %s", error.c_str());

        lock.lock();
        busy_ = false;
        idle_.notify_all();
    }
}

}  // namespace platform
