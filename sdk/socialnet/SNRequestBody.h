#pragma once

#include "platform/ui/Image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace socialnet {

class SNLogger;

// The multipart form body of a request: text fields and file parts (PNG images, raw
// data) between delimiter lines of one fixed boundary. There is no closing
// delimiter, and a body with no part is empty. Each part is echoed into the
// request's logger for its log entry.
class SNRequestBody {
public:
    static constexpr const char* kBoundary = "3i2ndDfv2rTHiSisAbouNdArYfORhtTPEefj3q2f";

    // "multipart/form-data; boundary=..."; sent also with an empty body.
    static std::string mimeContentType();

    // The first append writes the opening delimiter line.
    void appendUTF8(const std::string& text);
    void appendRecordBoundary();
    void appendWithKeyFormValue(const std::string& key, const std::string& value, SNLogger* logger);
    void appendWithKeyImageValue(const std::string& key, const platform::ui::Image& image, SNLogger* logger);
    void appendWithKeyDataValue(const std::string& key, const std::vector<uint8_t>& data, SNLogger* logger);

    const std::vector<uint8_t>& data() const { return mutableData_; }

private:
    void appendFilePart(const std::string& key, const char* contentType, const std::vector<uint8_t>& bytes);

    std::vector<uint8_t> mutableData_;
};

} // namespace socialnet
