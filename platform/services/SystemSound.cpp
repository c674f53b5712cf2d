#include "platform/services/SystemSound.h"

#include "platform/runtime/Log.h"
#include "platform/services/Vibration.h"

#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>

namespace platform {

namespace {

// Samples converted once, at registration, to the device's format.
using Samples = std::shared_ptr<const std::vector<uint8_t>>;

struct Sound {
    std::string name;
    Samples samples;
};

struct Voice {
    Samples samples;
    size_t position = 0;
    bool loop = false; // starts over at its end until stopped
};

// The engine lives for the whole process: the audio thread may still call the mixer
// while static objects are destroyed at exit, so it is never freed.
class Engine {
public:
    static Engine& get() {
        static Engine* engine = new Engine();
        return *engine;
    }

    SoundId add(const std::string& path) {
        Samples samples = load(path);
        std::lock_guard<std::mutex> lock(mutex_);
        SoundId id = nextId_++;
        if (id == SystemSound::kVibrate) id = nextId_++;
        sounds_[id] = Sound{baseName(path), std::move(samples)};
        return id;
    }

    void remove(SoundId id) {
        std::lock_guard<std::mutex> lock(mutex_);
        sounds_.erase(id);
    }

    void play(SoundId id) {
        Samples samples;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            auto it = sounds_.find(id);
            if (it == sounds_.end()) return;
            record(it->second.name);
            samples = it->second.samples;
        }
        if (!samples || samples->empty() || device_ == 0) return;
        std::lock_guard<std::mutex> lock(voicesMutex_);
        // A burst of plays (many cards dealt at once) must not pile up without end.
        if (voices_.size() >= kMaxVoices) voices_.erase(voices_.begin());
        voices_.push_back(Voice{std::move(samples), 0});
    }

    // One looping sound at a time: a new one replaces the old.
    void playLooping(SoundId id) {
        Samples samples;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            auto it = sounds_.find(id);
            if (it == sounds_.end()) return;
            record(it->second.name);
            looping_ = it->second.name;
            samples = it->second.samples;
        }
        std::lock_guard<std::mutex> lock(voicesMutex_);
        dropLoops();
        if (samples && !samples->empty() && device_ != 0) voices_.push_back(Voice{std::move(samples), 0, true});
    }

    void stopLooping() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            looping_.clear();
        }
        std::lock_guard<std::mutex> lock(voicesMutex_);
        dropLoops();
    }

    std::string looping() {
        std::lock_guard<std::mutex> lock(mutex_);
        return looping_;
    }

    std::vector<std::string> played() {
        std::lock_guard<std::mutex> lock(mutex_);
        return {played_.begin(), played_.end()};
    }

    void clearRecord() {
        std::lock_guard<std::mutex> lock(mutex_);
        played_.clear();
    }

    bool hasDevice() {
        std::lock_guard<std::mutex> lock(openMutex_);
        openDevice();
        return device_ != 0;
    }

private:
    static constexpr size_t kMaxVoices = 16;

    // Called with voicesMutex_ held.
    void dropLoops() {
        voices_.erase(std::remove_if(voices_.begin(), voices_.end(), [](const Voice& voice) { return voice.loop; }),
                      voices_.end());
    }

    static std::string baseName(const std::string& path) {
        auto slash = path.find_last_of('/');
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }

    // A sound server's socket or an ALSA playback device exists.
    static bool soundOutputLikely() {
        namespace fs = std::filesystem;
        std::error_code error;
        if (std::getenv("PULSE_SERVER")) return true;
        if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
            for (const char* socket : {"/pulse/native", "/pipewire-0"})
                if (fs::exists(std::string(runtime) + socket, error)) return true;
        }
        for (const auto& entry : fs::directory_iterator("/dev/snd", error)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("pcm", 0) == 0 && name.back() == 'p') return true;
        }
        return false;
    }

    // Opens the audio device the first time a sound is loaded. Called with openMutex_ held.
    void openDevice() {
        if (triedOpen_) return;
        triedOpen_ = true;
        // Without a sound card the sound libraries print errors of their own while they
        // look for one; the silent driver is taken before they are asked.
        if (!std::getenv("SDL_AUDIODRIVER") && !soundOutputLikely()) {
            log("SystemSound: no sound device here; sounds are silent");
            SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        }
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            log(std::string("SystemSound: no audio: ") + SDL_GetError());
            return;
        }
        SDL_AudioSpec want;
        std::memset(&want, 0, sizeof want);
        want.freq = 44100;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = 1024;
        want.callback = &Engine::mix;
        want.userdata = this;
        // No changes allowed: SDL converts to the hardware for us, so every sound is
        // converted once to this one format.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &spec_, 0);
        if (device_ == 0) {
            log(std::string("SystemSound: cannot open an audio device: ") + SDL_GetError());
            return;
        }
        SDL_PauseAudioDevice(device_, 0);
    }

    Samples load(const std::string& path) {
        std::lock_guard<std::mutex> lock(openMutex_);
        openDevice();
        if (device_ == 0) return nullptr;
        SDL_AudioSpec wavSpec;
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        if (!SDL_LoadWAV(path.c_str(), &wavSpec, &buffer, &length)) {
            log("SystemSound: cannot read " + path + ": " + SDL_GetError());
            return nullptr;
        }
        SDL_AudioCVT cvt;
        if (SDL_BuildAudioCVT(&cvt, wavSpec.format, wavSpec.channels, wavSpec.freq, spec_.format, spec_.channels,
                              spec_.freq) < 0) {
            log("SystemSound: cannot convert " + path + ": " + SDL_GetError());
            SDL_FreeWAV(buffer);
            return nullptr;
        }
        auto out = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(length) * cvt.len_mult);
        std::memcpy(out->data(), buffer, length);
        SDL_FreeWAV(buffer);
        cvt.buf = out->data();
        cvt.len = static_cast<int>(length);
        if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
            log("SystemSound: cannot convert " + path + ": " + SDL_GetError());
            return nullptr;
        }
        out->resize(static_cast<size_t>(cvt.needed ? cvt.len_cvt : static_cast<int>(length)));
        return out;
    }

    // The audio thread's callback: mixes every sound that is playing.
    static void mix(void* userdata, Uint8* stream, int length) {
        auto* self = static_cast<Engine*>(userdata);
        std::memset(stream, self->spec_.silence, static_cast<size_t>(length));
        std::lock_guard<std::mutex> lock(self->voicesMutex_);
        for (auto it = self->voices_.begin(); it != self->voices_.end();) {
            size_t left = it->samples->size() - it->position;
            size_t chunk = std::min(left, static_cast<size_t>(length));
            SDL_MixAudioFormat(stream, it->samples->data() + it->position, self->spec_.format,
                               static_cast<Uint32>(chunk), SDL_MIX_MAXVOLUME);
            it->position += chunk;
            if (it->position < it->samples->size()) {
                ++it;
            } else if (it->loop) {
                it->position = 0; // the rest of this buffer waits for the next call
                ++it;
            } else {
                it = self->voices_.erase(it);
            }
        }
    }

    // Under mutex_. The record keeps the latest plays only: a player who never restarts
    // the game plays sounds without end, and nothing reads the record but tests.
    void record(const std::string& name) {
        played_.push_back(name);
        if (played_.size() > kRecordLimit) played_.pop_front();
    }

    static constexpr size_t kRecordLimit = 1000;
    std::mutex mutex_; // sounds and record
    std::map<SoundId, Sound> sounds_;
    std::deque<std::string> played_;
    std::string looping_; // the looping sound's file name, or empty
    SoundId nextId_ = 1;

    std::mutex openMutex_;
    bool triedOpen_ = false;
    std::atomic<SDL_AudioDeviceID> device_{0}; // read by play() without openMutex_
    SDL_AudioSpec spec_{};

    std::mutex voicesMutex_;
    std::vector<Voice> voices_;
};

} // namespace

SoundId SystemSound::registerSound(const std::string& path) {
    if (path.empty()) return 0;
    return Engine::get().add(path);
}

void SystemSound::dispose(SoundId id) {
    Engine::get().remove(id);
}

void SystemSound::play(SoundId id) {
    if (id == kVibrate) {
        Vibration::vibrate();
        return;
    }
    Engine::get().play(id);
}

void SystemSound::playLooping(SoundId id) {
    Engine::get().playLooping(id);
}

void SystemSound::stopLooping() {
    Engine::get().stopLooping();
}

std::string SystemSound::looping() {
    return Engine::get().looping();
}

std::vector<std::string> SystemSound::played() {
    return Engine::get().played();
}

void SystemSound::clearRecord() {
    Engine::get().clearRecord();
}

bool SystemSound::hasAudioDevice() {
    return Engine::get().hasDevice();
}

} // namespace platform
