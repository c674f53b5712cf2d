#include "platform/ui/Image.h"

#include "platform/foundation/Bundle.h"
#include "platform/runtime/Log.h"

#include <SDL.h>
#include <SDL_image.h>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <sys/stat.h>

namespace platform::ui {

namespace {

void initImageLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG); });
}

bool isFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::vector<uint8_t>> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// An SDL write stream that appends to a byte vector, for encoding PNGs in memory.
struct VectorStream {
    static size_t write(SDL_RWops* ops, const void* data, size_t size, size_t count) {
        auto* out = static_cast<std::vector<uint8_t>*>(ops->hidden.unknown.data1);
        const auto* bytes = static_cast<const uint8_t*>(data);
        out->insert(out->end(), bytes, bytes + size * count);
        return count;
    }
    static Sint64 seek(SDL_RWops* ops, Sint64, int) {
        return Sint64(static_cast<std::vector<uint8_t>*>(ops->hidden.unknown.data1)->size());
    }
    static int close(SDL_RWops* ops) {
        SDL_FreeRW(ops);
        return 0;
    }
};

std::mutex cacheMutex;
std::map<std::string, ImagePtr>& namedCache() {
    static auto* cache = new std::map<std::string, ImagePtr>();
    return *cache;
}

uint8_t toByte(double v) {
    return uint8_t(std::lround(std::clamp(v, 0.0, 255.0)));
}

} // namespace

Image::Image(int width, int height, std::vector<uint8_t> rgba)
    : width_(width), height_(height), pixels_(std::move(rgba)) {}

ImagePtr Image::fromPixels(int width, int height, std::vector<uint8_t> rgba) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
    if (rgba.size() != size_t(width) * size_t(height) * 4) return nullptr;
    return std::make_shared<Image>(width, height, std::move(rgba));
}

ImagePtr Image::filled(int width, int height, Color color) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
    std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = uint8_t(color.red8());
        rgba[i + 1] = uint8_t(color.green8());
        rgba[i + 2] = uint8_t(color.blue8());
        rgba[i + 3] = uint8_t(color.alpha8());
    }
    return fromPixels(width, height, std::move(rgba));
}

ImagePtr Image::fromData(const std::vector<uint8_t>& bytes) {
    if (bytes.empty() || bytes.size() > size_t(INT32_MAX)) return nullptr;
    initImageLibrary();
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    if (!rw) return nullptr;
    SDL_Surface* loaded = IMG_Load_RW(rw, 1);
    if (!loaded) return nullptr;
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (!rgba) return nullptr;
    ImagePtr image;
    if (rgba->w > 0 && rgba->h > 0 && rgba->w <= 16384 && rgba->h <= 16384 && SDL_LockSurface(rgba) == 0) {
        std::vector<uint8_t> pixels(size_t(rgba->w) * size_t(rgba->h) * 4);
        const auto* src = static_cast<const uint8_t*>(rgba->pixels);
        size_t rowBytes = size_t(rgba->w) * 4;
        for (int y = 0; y < rgba->h; ++y)
            std::copy_n(src + size_t(y) * size_t(rgba->pitch), rowBytes, pixels.data() + size_t(y) * rowBytes);
        SDL_UnlockSurface(rgba);
        image = fromPixels(rgba->w, rgba->h, std::move(pixels));
    }
    SDL_FreeSurface(rgba);
    return image;
}

ImagePtr Image::fromFile(const std::string& path) {
    auto bytes = readAll(path);
    if (!bytes) return nullptr;
    ImagePtr image = fromData(*bytes);
    if (!image) platform::log("Image: cannot decode " + path);
    return image;
}

ImagePtr Image::named(const std::string& name) {
    if (name.empty() || name.find("..") != std::string::npos) return nullptr;
    std::string folder = platform::Bundle::main().path() + "/images/";
    std::string key = folder + name;
    {
        std::lock_guard<std::mutex> lock(cacheMutex);
        auto found = namedCache().find(key);
        if (found != namedCache().end()) return found->second;
    }
    std::string path = folder + name;
    if (!isFile(path) && name.find('.') == std::string::npos) path += ".png";
    if (!isFile(path)) return nullptr;
    ImagePtr loaded = fromFile(path);
    if (!loaded) return nullptr;
    loaded->name_ = name;
    std::lock_guard<std::mutex> lock(cacheMutex);
    namedCache()[key] = loaded;
    return loaded;
}

void Image::clearCache() {
    std::lock_guard<std::mutex> lock(cacheMutex);
    namedCache().clear();
}

Color Image::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return Color::clear();
    const uint8_t* p = pixels_.data() + (size_t(y) * size_t(width_) + size_t(x)) * 4;
    return {p[0] / 255.0, p[1] / 255.0, p[2] / 255.0, p[3] / 255.0};
}

std::vector<uint8_t> Image::pngData() const {
    std::vector<uint8_t> out;
    initImageLibrary();
    // The surface only borrows the pixels; the encoder does not write to them.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(pixels_.data()), width_, height_, 32,
                                                              width_ * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return out;
    SDL_RWops* rw = SDL_AllocRW();
    if (rw) {
        rw->type = SDL_RWOPS_UNKNOWN;
        rw->write = VectorStream::write;
        rw->seek = VectorStream::seek;
        rw->close = VectorStream::close;
        rw->hidden.unknown.data1 = &out;
        if (IMG_SavePNG_RW(surface, rw, 1) != 0) {
            platform::log(std::string("Image: PNG encoding failed: ") + IMG_GetError());
            out.clear();
        }
    }
    SDL_FreeSurface(surface);
    return out;
}

bool Image::writePng(const std::string& path) const {
    std::vector<uint8_t> png = pngData();
    if (png.empty()) return false;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    return bool(file);
}

ImagePtr Image::stretchable(int leftCap, int topCap) const {
    auto copy = std::make_shared<Image>(*this);
    copy->leftCap_ = std::clamp(leftCap, 0, width_);
    copy->topCap_ = std::clamp(topCap, 0, height_);
    return copy;
}

ImagePtr Image::cropped(const Rect& rect) const {
    int x0 = std::max(0, int(std::floor(rect.minX())));
    int y0 = std::max(0, int(std::floor(rect.minY())));
    int x1 = std::min(width_, int(std::ceil(rect.maxX())));
    int y1 = std::min(height_, int(std::ceil(rect.maxY())));
    if (x1 <= x0 || y1 <= y0) return nullptr;
    int w = x1 - x0, h = y1 - y0;
    std::vector<uint8_t> out(size_t(w) * size_t(h) * 4);
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = pixels_.data() + ((size_t(y0 + y) * size_t(width_)) + size_t(x0)) * 4;
        std::copy_n(src, size_t(w) * 4, out.data() + size_t(y) * size_t(w) * 4);
    }
    return fromPixels(w, h, std::move(out));
}

ImagePtr Image::scaled(Size size) const {
    int w = std::clamp(int(std::lround(size.width)), 1, 16384);
    int h = std::clamp(int(std::lround(size.height)), 1, 16384);
    std::vector<uint8_t> out(size_t(w) * size_t(h) * 4);
    auto at = [this](int x, int y, int c) {
        x = std::clamp(x, 0, width_ - 1);
        y = std::clamp(y, 0, height_ - 1);
        return double(pixels_[(size_t(y) * size_t(width_) + size_t(x)) * 4 + size_t(c)]);
    };
    for (int y = 0; y < h; ++y) {
        // Sample at pixel centres.
        double sy = (y + 0.5) * height_ / h - 0.5;
        int iy = int(std::floor(sy));
        double fy = sy - iy;
        for (int x = 0; x < w; ++x) {
            double sx = (x + 0.5) * width_ / w - 0.5;
            int ix = int(std::floor(sx));
            double fx = sx - ix;
            for (int c = 0; c < 4; ++c) {
                double top = at(ix, iy, c) * (1 - fx) + at(ix + 1, iy, c) * fx;
                double bottom = at(ix, iy + 1, c) * (1 - fx) + at(ix + 1, iy + 1, c) * fx;
                out[(size_t(y) * size_t(w) + size_t(x)) * 4 + size_t(c)] = toByte(top * (1 - fy) + bottom * fy);
            }
        }
    }
    return fromPixels(w, h, std::move(out));
}

ImagePtr Image::flipped(bool horizontal) const {
    std::vector<uint8_t> out(pixels_.size());
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            int sx = horizontal ? width_ - 1 - x : x;
            int sy = horizontal ? y : height_ - 1 - y;
            std::copy_n(pixels_.data() + (size_t(sy) * size_t(width_) + size_t(sx)) * 4, 4,
                        out.data() + (size_t(y) * size_t(width_) + size_t(x)) * 4);
        }
    }
    return fromPixels(width_, height_, std::move(out));
}

ImagePtr Image::masked(const ImagePtr& mask) const {
    if (!mask) return fromPixels(width_, height_, pixels_);
    ImagePtr fitted = (mask->width() == width_ && mask->height() == height_) ? mask : mask->scaled(size());
    std::vector<uint8_t> out = pixels_;
    const std::vector<uint8_t>& m = fitted->pixelData();
    for (size_t i = 0; i < out.size(); i += 4) {
        double luminance = (0.299 * m[i] + 0.587 * m[i + 1] + 0.114 * m[i + 2]) / 255.0;
        out[i + 3] = toByte(out[i + 3] * luminance * (m[i + 3] / 255.0));
    }
    return fromPixels(width_, height_, std::move(out));
}

} // namespace platform::ui
