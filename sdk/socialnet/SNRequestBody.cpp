#include "sdk/socialnet/SNRequestBody.h"

#include "sdk/socialnet/SNLogger.h"

namespace socialnet {

std::string SNRequestBody::mimeContentType() {
    return std::string("multipart/form-data; boundary=") + kBoundary;
}

void SNRequestBody::appendUTF8(const std::string& text) {
    if (mutableData_.empty()) {
        std::string opening = std::string("--") + kBoundary + "\r\n";
        mutableData_.insert(mutableData_.end(), opening.begin(), opening.end());
    }
    mutableData_.insert(mutableData_.end(), text.begin(), text.end());
}

void SNRequestBody::appendRecordBoundary() {
    appendUTF8(std::string("\r\n--") + kBoundary + "\r\n");
}

void SNRequestBody::appendWithKeyFormValue(const std::string& key, const std::string& value, SNLogger* logger) {
    appendUTF8("Content-Disposition: form-data; name=\"" + key + "\"\r\n\r\n");
    appendUTF8(value);
    appendRecordBoundary();
    if (logger) logger->appendFormat("\n    %s:\t%s", key.c_str(), value.c_str());
}

void SNRequestBody::appendFilePart(const std::string& key, const char* contentType, const std::vector<uint8_t>& bytes) {
    appendUTF8("Content-Disposition: form-data; name=\"" + key + "\"; filename=\"" + key + "\"\r\n");
    appendUTF8(std::string("Content-Type: ") + contentType + "\r\n\r\n");
    mutableData_.insert(mutableData_.end(), bytes.begin(), bytes.end());
    appendRecordBoundary();
}

void SNRequestBody::appendWithKeyImageValue(const std::string& key, const platform::ui::Image& image,
                                            SNLogger* logger) {
    auto png = image.pngData();
    appendFilePart(key, "image/png", png);
    if (logger) logger->appendFormat("\n    %s:\t<Image - %d kB>", key.c_str(), int(png.size() >> 10));
}

void SNRequestBody::appendWithKeyDataValue(const std::string& key, const std::vector<uint8_t>& data, SNLogger* logger) {
    appendFilePart(key, "content/unknown", data);
    if (logger) logger->appendFormat("\n    %s:\t<Data - %d kB>", key.c_str(), int(data.size() >> 10));
}

} // namespace socialnet
