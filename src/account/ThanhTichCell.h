#pragma once

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

// One game's results in an achievement table: the game's icon, then experience, wins,
// losses, draws and give-ups with their captions. `scale` shrinks the phone layout for
// the smaller panel of another player's profile (1 for the own profile).
class ThanhTichCell : public platform::ui::TableViewCell {
public:
    ThanhTichCell(const std::string& reuseIdentifier, double scale);
    static std::shared_ptr<ThanhTichCell> make(const std::string& reuseIdentifier, double scale = 1);

    // The captions' texts.
    void setUIScreen();
    // The game's icon, or the icon view hidden for a game without one.
    void setIconImage(int gameId);
    // An achievement row: game id, experience, wins, losses, draws, give-ups.
    void fill(const std::vector<int32_t>& row);

    const std::shared_ptr<platform::ui::ImageView>& iconGame() const { return iconGame_; }
    const std::shared_ptr<platform::ui::ImageView>& imgBackground() const { return imgBackground_; }
    const std::shared_ptr<platform::ui::Label>& lbKinhNghiem() const { return values_[0]; }
    const std::shared_ptr<platform::ui::Label>& lbThang() const { return values_[1]; }
    const std::shared_ptr<platform::ui::Label>& lbThua() const { return values_[2]; }
    const std::shared_ptr<platform::ui::Label>& lbHoa() const { return values_[3]; }
    const std::shared_ptr<platform::ui::Label>& lbBoCuoc() const { return values_[4]; }

private:
    std::shared_ptr<platform::ui::ImageView> imgBackground_;
    std::shared_ptr<platform::ui::ImageView> iconGame_;
    // Experience, wins, losses, draws, give-ups.
    std::vector<std::shared_ptr<platform::ui::Label>> captions_;
    std::vector<std::shared_ptr<platform::ui::Label>> values_;
};

} // namespace kavo
