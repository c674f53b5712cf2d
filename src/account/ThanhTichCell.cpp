#include "account/ThanhTichCell.h"

#include "account/ProfileRows.h"
#include "app/Resources.h"
#include "app/Util.h"
#include "social/GameTitles.h"

namespace kavo {

namespace ui = platform::ui;

namespace {

// Caption keys in row order; the row's numbers follow the game id in the same order.
constexpr const char* kCaptionKeys[] = {"KAVO_exp", "KAVO_win1", "KAVO_lose1", "KAVO_draw", "KAVO_giveup"};

ui::Rect place(double x, double y, double width, double height, double scale) {
    return Util::changeRectFromRect({x * scale, y * scale, width * scale, height * scale});
}

} // namespace

ThanhTichCell::ThanhTichCell(const std::string& reuseIdentifier, double scale)
    : ui::TableViewCell(ui::TableViewCellStyle::Default, reuseIdentifier) {
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    const ui::ViewPtr& content = contentView();
    imgBackground_ = ui::ImageView::make(ui::Rect{});
    imgBackground_->setAccessibilityIdentifier("imgBackground");
    content->addSubview(imgBackground_);
    iconGame_ = ui::ImageView::make(place(12, 24, 80, 80, scale));
    iconGame_->setAccessibilityIdentifier("iconGame");
    iconGame_->setContentMode(ui::ContentMode::ScaleAspectFit);
    content->addSubview(iconGame_);
    const double font = (Util::isPad() ? 24 : 12) * (scale < 1 ? 0.85 : 1);
    for (size_t i = 0; i < std::size(kCaptionKeys); ++i) {
        const double y = 8 + 26 * double(i);
        auto caption = profile_rows::label(place(110, y, 130, 24, scale), font);
        auto value = profile_rows::label(place(250, y, 150, 24, scale), font, ui::Color::yellow());
        content->addSubview(caption);
        content->addSubview(value);
        captions_.push_back(caption);
        values_.push_back(value);
    }
    static const char* const kValueIds[] = {"lbKinhNghiem", "lbThang", "lbThua", "lbHoa", "lbBoCuoc"};
    for (size_t i = 0; i < values_.size(); ++i)
        values_[i]->setAccessibilityIdentifier(kValueIds[i]);
}

std::shared_ptr<ThanhTichCell> ThanhTichCell::make(const std::string& reuseIdentifier, double scale) {
    auto cell = std::make_shared<ThanhTichCell>(reuseIdentifier, scale);
    cell->setUIScreen();
    return cell;
}

void ThanhTichCell::setUIScreen() {
    for (size_t i = 0; i < captions_.size(); ++i)
        captions_[i]->setText(Resources::getInstance().textWithKey(kCaptionKeys[i]));
}

void ThanhTichCell::setIconImage(int gameId) {
    const GameTitle* game = rankedGameOfType(gameId);
    if (!game || game->achievementIcon.empty()) {
        iconGame_->setHidden(true);
        return;
    }
    iconGame_->setHidden(false);
    iconGame_->setImage(Util::getImageWithName(std::string(game->achievementIcon)));
}

void ThanhTichCell::fill(const std::vector<int32_t>& row) {
    for (size_t i = 0; i < values_.size(); ++i)
        values_[i]->setText(i + 1 < row.size() ? std::to_string(row[i + 1]) : "");
    setIconImage(row.empty() ? 0 : row.front());
}

} // namespace kavo
