#pragma once

#include "platform/ui/Image.h"
#include "sdk/socialnet/json/SNValue.h"

namespace socialnet {

// An image as a request parameter: sent as a PNG file part, never in a URL or JSON.
class SNImageValue : public SNObject {
public:
    explicit SNImageValue(platform::ui::ImagePtr image) : image_(std::move(image)) {}
    static SNValue make(platform::ui::ImagePtr image) {
        return SNValue(SNObjectPtr(std::make_shared<SNImageValue>(std::move(image))));
    }
    // The value's image, or nullptr when it holds none.
    static const SNImageValue* from(const SNValue& value) {
        return dynamic_cast<const SNImageValue*>(value.object().get());
    }

    std::string className() const override { return "Image"; }
    const platform::ui::ImagePtr& image() const { return image_; }

private:
    platform::ui::ImagePtr image_;
};

} // namespace socialnet
