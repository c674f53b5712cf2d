#pragma once

#include <mutex>
#include <string>

namespace platform {

// A place to leave a text for the player to paste elsewhere (an SMS text to copy).
// The general pasteboard also hands its text to the desktop clipboard when a window
// system is running; named pasteboards stay inside the process.
class Pasteboard {
public:
    static Pasteboard& general();
    // The pasteboard of that name, made on first use; lives for the process.
    static Pasteboard& named(const std::string& name);
    // The pasteboard of that name when some caller made it; never makes one.
    static Pasteboard* existing(const std::string& name);

    void setString(const std::string& text);
    std::string string() const;
    bool hasString() const;
    void clear();
    const std::string& name() const { return name_; }

private:
    explicit Pasteboard(std::string name) : name_(std::move(name)) {}

    std::string name_;
    mutable std::mutex mutex_;
    std::string text_;
    bool hasText_ = false;
};

} // namespace platform
