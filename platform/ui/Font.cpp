#include "platform/ui/Font.h"

#include "platform/runtime/Log.h"

#include <SDL_ttf.h>
#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace platform::ui {

namespace {

const char* const regularFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const boldFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// Opened fonts live for the process: the map is never destroyed, so the fonts stay
// reachable (and the renderer may hold a handle at any time).
std::map<std::pair<bool, int>, TTF_Font*>& fontCache() {
    static auto* cache = new std::map<std::pair<bool, int>, TTF_Font*>();
    return *cache;
}

// Needs ttfMutex held.
TTF_Font* openFont(bool bold, int pixels) {
    static bool initialised = false;
    static bool available = false;
    if (!initialised) {
        initialised = true;
        available = TTF_WasInit() > 0 || TTF_Init() == 0;
        if (!available) platform::log(std::string("Font: TTF_Init failed: ") + TTF_GetError());
    }
    if (!available) return nullptr;
    auto key = std::make_pair(bold, pixels);
    auto& cache = fontCache();
    auto found = cache.find(key);
    if (found != cache.end()) return found->second;
    TTF_Font* font = TTF_OpenFont(bold ? boldFile : regularFile, pixels);
    if (!font) platform::log(std::string("Font: cannot open DejaVu Sans: ") + TTF_GetError());
    cache[key] = font; // a failure is remembered too, so it is logged once
    return font;
}

// Bytes of the UTF-8 sequence starting with `lead` (1 for a stray byte).
size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

// The text split into whole UTF-8 characters (as byte strings).
std::vector<std::string> characters(const std::string& text) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        size_t n = std::min(sequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

} // namespace

Font Font::named(const std::string& name, double size) {
    return Font(size, name.find("Bold") != std::string::npos || name.find("bold") != std::string::npos);
}

std::mutex& Font::ttfMutex() {
    static auto* mutex = new std::mutex();
    return *mutex;
}

int Font::pixelSize() const {
    return std::clamp(int(std::lround(size_)), 1, 512);
}

void* Font::ttfHandle() const {
    std::lock_guard<std::mutex> lock(ttfMutex());
    return openFont(bold_, pixelSize());
}

double Font::lineHeight() const {
    std::lock_guard<std::mutex> lock(ttfMutex());
    TTF_Font* font = openFont(bold_, pixelSize());
    if (!font) return std::ceil(pixelSize() * 1.2);
    return TTF_FontLineSkip(font);
}

double Font::ascent() const {
    std::lock_guard<std::mutex> lock(ttfMutex());
    TTF_Font* font = openFont(bold_, pixelSize());
    if (!font) return std::ceil(pixelSize() * 0.95);
    return TTF_FontAscent(font);
}

Size Font::measure(const std::string& text) const {
    std::lock_guard<std::mutex> lock(ttfMutex());
    TTF_Font* font = openFont(bold_, pixelSize());
    if (!font) {
        // Without the font file, an estimate keeps layouts usable.
        return {characters(text).size() * pixelSize() * 0.6, std::ceil(pixelSize() * 1.2)};
    }
    int height = TTF_FontHeight(font);
    if (text.empty()) return {0, double(height)};
    int w = 0, h = 0;
    if (TTF_SizeUTF8(font, text.c_str(), &w, &h) != 0) return {0, double(height)};
    return {double(w), double(std::max(h, height))};
}

std::vector<std::string> Font::wrap(const std::string& text, double width) const {
    return wrap(text, width, [this](const std::string& piece) { return measure(piece).width; });
}

std::vector<std::string> Font::wrap(const std::string& text, double width,
                                    const std::function<double(const std::string&)>& widthOf) {
    std::vector<std::string> lines;
    // Each paragraph (between '\n') wraps on its own.
    size_t start = 0;
    while (true) {
        size_t end = text.find('\n', start);
        std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string line;
        size_t pos = 0;
        auto flush = [&] {
            lines.push_back(line);
            line.clear();
        };
        if (paragraph.empty()) lines.push_back("");
        while (pos < paragraph.size()) {
            size_t space = paragraph.find(' ', pos);
            std::string word = paragraph.substr(pos, space == std::string::npos ? std::string::npos : space - pos);
            pos = space == std::string::npos ? paragraph.size() : space + 1;
            std::string candidate = line.empty() ? word : line + " " + word;
            if (widthOf(candidate) <= width || (line.empty() && word.empty())) {
                line = candidate;
                continue;
            }
            if (!line.empty()) flush();
            if (widthOf(word) <= width) {
                line = word;
                continue;
            }
            // A word wider than the line: each line takes as much of it as fits, up to
            // its last '/' there (a page's address breaks between its parts), else up to
            // the character that would not fit.
            const std::vector<std::string> chars = characters(word);
            for (size_t from = 0; from < chars.size();) {
                size_t end = from;
                size_t afterSlash = from;
                for (std::string run; end < chars.size() && (run.empty() || widthOf(run + chars[end]) <= width);
                     ++end) {
                    run += chars[end];
                    if (chars[end] == "/") afterSlash = end + 1;
                }
                const size_t cut = end < chars.size() && afterSlash > from ? afterSlash : end;
                for (size_t i = from; i < cut; ++i)
                    line += chars[i];
                if (cut < chars.size()) flush();
                from = cut;
            }
        }
        if (!line.empty()) flush();
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (lines.empty()) lines.push_back("");
    return lines;
}

Size Font::measureWrapped(const std::string& text, double width, int maxLines) const {
    std::vector<std::string> lines = wrap(text, width);
    if (maxLines > 0 && int(lines.size()) > maxLines) lines.resize(size_t(maxLines));
    double widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, measure(line).width);
    double height = lines.size() * lineHeight();
    return {widest, height};
}

} // namespace platform::ui
