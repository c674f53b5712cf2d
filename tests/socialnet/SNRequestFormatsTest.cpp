#include "platform/runtime/Log.h"
#include "sdk/socialnet/SNImageValue.h"
#include "sdk/socialnet/SNLogger.h"
#include "sdk/socialnet/SNRequest.h"
#include "sdk/socialnet/SNRequestBody.h"
#include "sdk/socialnet/SNSettings.h"
#include "sdk/socialnet/json/SNDictionary.h"

#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace socialnet {
namespace {

// The lines this thread logs while it lives. A worker of an earlier test (a login page's fetch
// failing once its host went) may log meanwhile: its lines are not this test's, and are left out.
class LogCapture {
public:
    LogCapture() {
        platform::setLogSink([this, self = std::this_thread::get_id()](const std::string& line) {
            if (std::this_thread::get_id() == self) lines.push_back(line);
        });
    }
    ~LogCapture() { platform::setLogSink({}); }
    std::vector<std::string> lines;
};

std::string textOf(const SNRequestBody& body) {
    return std::string(body.data().begin(), body.data().end());
}

TEST(SNRequestSerializationTest, PairsFollowTheBaseWithTheRightSeparator) {
    EXPECT_EQ(SNRequest::serializeURL("me", SNDictionary::make()), "me?");
    EXPECT_EQ(SNRequest::serializeURL("me", nullptr), "me?");
    auto params = SNDictionary::make();
    params->setObject(SNValue("b c"), "a");
    EXPECT_EQ(SNRequest::serializeURL("me?fields=id", params), "me?fields=id&a=b%20c");
    params->setObject(SNValue(3), "limit");
    EXPECT_EQ(SNRequest::serializeURL("http://127.0.0.1:9/dialog/oauth", params),
              "http://127.0.0.1:9/dialog/oauth?a=b%20c&limit=3");
}

TEST(SNRequestSerializationTest, FilesAreLeftOutAndAGetSaysSo) {
    auto params = SNDictionary::make();
    params->setObject(SNValue("x"), "message");
    params->setObject(SNImageValue::make(platform::ui::Image::filled(2, 2, {1, 0, 0, 1})), "picture");
    params->setObject(SNValue::data({1, 2, 3}), "source");
    {
        LogCapture log;
        EXPECT_EQ(SNRequest::serializeURL("me/photos", params, "GET"), "me/photos?message=x");
        EXPECT_EQ(log.lines,
                  (std::vector<std::string>{"can not use GET to upload a file", "can not use GET to upload a file"}));
    }
    LogCapture log;
    EXPECT_EQ(SNRequest::serializeURL("me/photos", params, "POST"), "me/photos?message=x");
    EXPECT_TRUE(log.lines.empty());
}

TEST(SNRequestBodyTest, AFormFieldIsOnePartBetweenDelimiters) {
    SNRequestBody body;
    body.appendWithKeyFormValue("batch_app_id", "123", nullptr);
    EXPECT_EQ(textOf(body), "--3i2ndDfv2rTHiSisAbouNdArYfORhtTPEefj3q2f\r\n"
                            "Content-Disposition: form-data; name=\"batch_app_id\"\r\n"
                            "\r\n"
                            "123\r\n"
                            "--3i2ndDfv2rTHiSisAbouNdArYfORhtTPEefj3q2f\r\n");
    EXPECT_EQ(SNRequestBody::mimeContentType(),
              "multipart/form-data; boundary=3i2ndDfv2rTHiSisAbouNdArYfORhtTPEefj3q2f");
    EXPECT_TRUE(SNRequestBody().data().empty());
}

TEST(SNRequestBodyTest, FilePartsAreNamedByTheirKeyAndTyped) {
    SNRequestBody body;
    body.appendWithKeyDataValue("picture", {'A', 0, 'B'}, nullptr);
    EXPECT_EQ(textOf(body), std::string("--3i2ndDfv2rTHiSisAbouNdArYfORhtTPEefj3q2f\r\n"
                                        "Content-Disposition: form-data; name=\"picture\"; filename=\"picture\"\r\n"
                                        "Content-Type: content/unknown\r\n"
                                        "\r\n"
                                        "A\0B\r\n"
                                        "--3i2ndDfv2rTHiSisAbouNdArYfORhtTPEefj3q2f\r\n",
                                        194));
    SNRequestBody imageBody;
    auto image = platform::ui::Image::filled(3, 2, {0, 0, 1, 1});
    imageBody.appendWithKeyImageValue("photo", *image, nullptr);
    auto png = image->pngData();
    std::string head = "--3i2ndDfv2rTHiSisAbouNdArYfORhtTPEefj3q2f\r\n"
                       "Content-Disposition: form-data; name=\"photo\"; filename=\"photo\"\r\n"
                       "Content-Type: image/png\r\n\r\n";
    std::string text = textOf(imageBody);
    ASSERT_EQ(text.size(), head.size() + png.size() + 46);
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.substr(head.size(), png.size()), std::string(png.begin(), png.end()));
}

TEST(SNRequestBodyTest, TheRequestLogCountsWholeKilobytes) {
    SNLogger::resetClassStateForTesting();
    SNSettings::setLoggingBehavior(SNSettings::Behaviors{"sn_requests"});
    SNLogger logger("sn_requests");
    SNRequestBody body;
    body.appendWithKeyFormValue("method", "GET", &logger);
    for (size_t size : {1023u, 2047u, 2048u})
        body.appendWithKeyDataValue("file", std::vector<uint8_t>(size), &logger);
    body.appendWithKeyImageValue("photo", *platform::ui::Image::filled(1, 1, {0, 0, 0, 1}), &logger);
    SNSettings::setLoggingBehavior(std::nullopt);
    EXPECT_EQ(logger.contents(), "\n    method:\tGET"
                                 "\n    file:\t<Data - 0 kB>"
                                 "\n    file:\t<Data - 1 kB>"
                                 "\n    file:\t<Data - 2 kB>"
                                 "\n    photo:\t<Image - 0 kB>");
}

} // namespace
} // namespace socialnet
