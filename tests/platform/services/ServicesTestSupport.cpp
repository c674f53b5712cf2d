#include "ServicesTestSupport.h"

#include <cmath>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace services_test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kavo-services-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data())) path_ = name.data();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

namespace {
void put16(std::ofstream& out, uint16_t v) {
    char b[2] = {static_cast<char>(v & 0xff), static_cast<char>(v >> 8)};
    out.write(b, 2);
}
void put32(std::ofstream& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v & 0xffff));
    put16(out, static_cast<uint16_t>(v >> 16));
}
} // namespace

void writeWav(const std::filesystem::path& file, int samples, int rate) {
    std::ofstream out(file, std::ios::binary);
    uint32_t dataBytes = static_cast<uint32_t>(samples) * 2;
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, static_cast<uint32_t>(rate));
    put32(out, static_cast<uint32_t>(rate) * 2);
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, dataBytes);
    for (int i = 0; i < samples; ++i)
        put16(out, static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(i * 0.2))));
}

} // namespace services_test
