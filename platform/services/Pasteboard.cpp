#include "platform/services/Pasteboard.h"

#include <SDL.h>
#include <map>
#include <memory>

namespace platform {

namespace {
constexpr const char* kGeneralName = "general";

std::mutex& registryMutex() {
    static std::mutex mutex;
    return mutex;
}
} // namespace

// Pasteboards live for the process: callers keep references to them.
static std::map<std::string, std::unique_ptr<Pasteboard>>& boards() {
    static auto* boards = new std::map<std::string, std::unique_ptr<Pasteboard>>();
    return *boards;
}

Pasteboard& Pasteboard::general() {
    return named(kGeneralName);
}

Pasteboard& Pasteboard::named(const std::string& name) {
    std::lock_guard<std::mutex> lock(registryMutex());
    auto& slot = boards()[name];
    if (!slot) slot.reset(new Pasteboard(name));
    return *slot;
}

Pasteboard* Pasteboard::existing(const std::string& name) {
    std::lock_guard<std::mutex> lock(registryMutex());
    auto found = boards().find(name);
    return found == boards().end() ? nullptr : found->second.get();
}

void Pasteboard::setString(const std::string& text) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        text_ = text;
        hasText_ = true;
    }
    // The desktop clipboard needs the video subsystem; without it the text stays here.
    if (name_ == kGeneralName && SDL_WasInit(SDL_INIT_VIDEO) != 0) SDL_SetClipboardText(text.c_str());
}

std::string Pasteboard::string() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return text_;
}

bool Pasteboard::hasString() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return hasText_;
}

void Pasteboard::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    text_.clear();
    hasText_ = false;
}

} // namespace platform
