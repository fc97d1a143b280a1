// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of the platform seam both backends share: pictures from the resources, the directories
// and the screenshots.
#include "platform/platform.h"

#include "platform/bitmap.h"
#include "platform/resources.h"

namespace platform {

std::unique_ptr<Surface> Platform::CreateSurfaceFromResource(const std::string& name) {
    const std::vector<uint8_t> bytes = assetDir_.empty() ? EmbeddedBitmap(name) : BitmapFromDirectory(assetDir_, name);
    return DecodeBitmap(bytes, name);
}

void Platform::SetDirectories(std::filesystem::path program, std::filesystem::path data, std::filesystem::path sound) {
    programDir_ = std::move(program);
    dataDir_ = std::move(data);
    soundDir_ = std::move(sound);
}

void Platform::SetScreenshotDirectory(std::filesystem::path dir) { screenshotDir_ = std::move(dir); }

void Platform::RequestScreenshot() {
    if (!screenshots_) {
        screenshots_ =
            std::make_unique<ScreenshotWriter>(screenshotDir_.empty() ? dataDir_ / "screenshots" : screenshotDir_);
    }
    screenshots_->Request();
}

void Platform::FinishScreenshots() {
    if (screenshots_) screenshots_->Finish();
}

}  // namespace platform
