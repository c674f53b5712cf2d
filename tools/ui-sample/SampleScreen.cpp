#include "tools/ui-sample/SampleScreen.h"

#include "platform/ui/Font.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/Path.h"
#include "platform/ui/Screen.h"

#include <cmath>

namespace platform::sample {

namespace {

constexpr const char* kRowCellId = "row";

ui::Rect scaled(double scale, double x, double y, double w, double h) {
    return ui::Rect(x * scale, y * scale, w * scale, h * scale);
}

std::shared_ptr<ui::Label> addLabel(ui::View& parent, ui::Rect frame, const std::string& id, const std::string& text,
                                    const ui::Font& font) {
    auto label = ui::Label::make(frame, text);
    label->setAccessibilityIdentifier(id);
    label->setFont(font);
    parent.addSubview(label);
    return label;
}

std::shared_ptr<ui::TextField> addField(ui::View& parent, ui::Rect frame, const std::string& id,
                                        const std::string& placeholder, double scale) {
    auto field = ui::TextField::make(frame);
    field->setAccessibilityIdentifier(id);
    field->setPlaceholder(placeholder);
    field->setBorderStyle(ui::TextBorderStyle::RoundedRect);
    field->setFont(ui::Font::system(14 * scale));
    parent.addSubview(field);
    return field;
}

// Three sectors of a pie, as a game's statistics panel might draw them.
void drawPie(ui::GraphicsContext& context, ui::Rect bounds) {
    const double pi = std::acos(-1.0);
    ui::Point center = bounds.center();
    double radius = std::min(bounds.width(), bounds.height()) / 2 - 2;
    const struct {
        double share;
        ui::Color color;
    } parts[] = {{0.5, ui::Color::rgba(220, 60, 50)},
                 {0.3, ui::Color::rgba(60, 140, 220)},
                 {0.2, ui::Color::rgba(240, 190, 40)}};
    double angle = -pi / 2;
    for (const auto& part : parts) {
        double end = angle + part.share * 2 * pi;
        context.setFillColor(part.color);
        context.fillPath(ui::Path::pieSector(center, radius, angle, end));
        angle = end;
    }
}

} // namespace

ui::ImagePtr makeLogoImage() {
    const int size = 48;
    std::vector<uint8_t> rgba(size * size * 4, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double dx = x - size / 2.0 + 0.5;
            double dy = y - size / 2.0 + 0.5;
            double distance = std::sqrt(dx * dx + dy * dy);
            if (distance > size / 2.0) continue;
            uint8_t* p = &rgba[static_cast<size_t>((y * size + x) * 4)];
            p[0] = static_cast<uint8_t>(30 + 4 * y);
            p[1] = static_cast<uint8_t>(120 + 2 * x);
            p[2] = 60;
            p[3] = 255;
        }
    }
    return ui::Image::fromPixels(size, size, std::move(rgba));
}

ui::ImagePtr makeButtonBackground() {
    const int width = 32;
    const int height = 32;
    const int cap = 10;
    std::vector<uint8_t> rgba(width * height * 4, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Rounded corners: leave the pixels outside a corner's circle clear.
            int cx = x < cap ? cap : (x >= width - cap ? width - cap - 1 : x);
            int cy = y < cap ? cap : (y >= height - cap ? height - cap - 1 : y);
            double distance = std::hypot(x - cx, y - cy);
            if (distance > cap) continue;
            bool edge = distance > cap - 2 || x == 0 || y == 0 || x == width - 1 || y == height - 1;
            uint8_t* p = &rgba[static_cast<size_t>((y * width + x) * 4)];
            p[0] = edge ? 20 : 40;
            p[1] = edge ? 90 : static_cast<uint8_t>(150 - y * 2);
            p[2] = edge ? 30 : 70;
            p[3] = 255;
        }
    }
    auto image = ui::Image::fromPixels(width, height, std::move(rgba));
    return image ? image->stretchable(cap, cap) : nullptr;
}

void DetailScreen::build(double scale) {
    auto& root = *view();
    root.setBackgroundColor(ui::Color::white(0.95, 1));
    addLabel(root, scaled(scale, 20, 20, 300, 30), "lblDetail", rowText_, ui::Font::boldSystem(20 * scale));
    auto back = ui::Button::make(scaled(scale, 20, 70, 120, 36), ui::ButtonType::RoundedRect);
    back->setAccessibilityIdentifier("btnBack");
    back->setTitle("Quay lại");
    back->onTouchUpInside([this] {
        if (auto* nav = navigationController()) nav->popViewController(true);
    });
    root.addSubview(back);
}

void SampleScreen::build(double scale) {
    auto& root = *view();
    root.setBackgroundColor(ui::Color::white(0.95, 1));

    addLabel(root, scaled(scale, 20, 8, 220, 30), "lblTitle", "Đăng nhập", ui::Font::boldSystem(20 * scale));
    username_ = addField(root, scaled(scale, 20, 42, 230, 30), "txfUsername", "Tên đăng nhập", scale);
    username_->setDelegate(this);
    addLabel(root, scaled(scale, 20, 78, 80, 30), "lblPassword", "Mật khẩu", ui::Font::system(14 * scale));
    password_ = addField(root, scaled(scale, 100, 78, 150, 30), "txfPassword", "", scale);
    password_->setSecureTextEntry(true);
    password_->setDelegate(this);

    auto logo = ui::ImageView::make(makeLogoImage());
    logo->setFrame(scaled(scale, 20, 118, 48, 48));
    logo->setAccessibilityIdentifier("imgLogo");
    root.addSubview(logo);

    auto next = ui::Button::make(scaled(scale, 80, 124, 170, 36));
    next->setAccessibilityIdentifier("btnNext");
    next->setBackgroundImage(makeButtonBackground());
    next->setTitle("Tiếp tục");
    next->setTitleColor(ui::Color::white());
    next->onTouchUpInside([this] { status_->setText("Đã bấm Tiếp tục"); });
    root.addSubview(next);

    auto pie = ui::View::make(scaled(scale, 20, 176, 64, 64));
    pie->setAccessibilityIdentifier("viewPie");
    pie->setDrawHandler(drawPie);
    root.addSubview(pie);

    auto confirm = ui::Button::make(scaled(scale, 100, 190, 150, 36), ui::ButtonType::RoundedRect);
    confirm->setAccessibilityIdentifier("btnConfirm");
    confirm->setTitle("Xác nhận");
    confirm->onTouchUpInside([this] {
        alert_ = ui::AlertView::make("Xác nhận", "Bạn có chắc?", this, "Hủy", {"Đồng ý"});
        alert_->show();
    });
    root.addSubview(confirm);

    status_ = addLabel(root, scaled(scale, 20, 250, 240, 30), "lblStatus", "", ui::Font::system(14 * scale));

    // The table fills the right of the screen, whatever its size.
    ui::Rect screen = ui::Screen::bounds();
    double tableX = 270 * scale;
    table_ = ui::TableView::make(ui::Rect(tableX, 0, screen.width() - tableX, screen.height()));
    table_->setAccessibilityIdentifier("tblRows");
    table_->setBackgroundColor(ui::Color::white());
    table_->setDataSource(this);
    table_->setDelegate(this);
    root.addSubview(table_);
}

int SampleScreen::numberOfRows(ui::TableView&, int) {
    return kRowCount;
}

std::shared_ptr<ui::TableViewCell> SampleScreen::cellForRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    auto cell = table.dequeueReusableCell(kRowCellId);
    if (!cell) {
        cell = ui::TableViewCell::make(ui::TableViewCellStyle::Default, kRowCellId);
        ++cellsMade_;
    }
    cell->textLabel()->setText("Dòng " + std::to_string(indexPath.row + 1));
    return cell;
}

void SampleScreen::didSelectRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    table.deselectRow(indexPath, true);
    if (auto* nav = navigationController())
        nav->pushViewController(std::make_shared<DetailScreen>("Dòng " + std::to_string(indexPath.row + 1)), true);
}

bool SampleScreen::shouldReturn(ui::TextField& field) {
    if (&field == username_.get()) {
        password_->becomeFirstResponder();
        return false;
    }
    status_->setText("Xin chào, " + username_->text());
    field.resignFirstResponder();
    return true;
}

void SampleScreen::clickedButtonAtIndex(ui::AlertView& alert, int index) {
    status_->setText("Đã chọn " + alert.buttonTitleAtIndex(index));
}

Sample showSample() {
    Sample sample;
    sample.screen = std::make_shared<SampleScreen>();
    sample.screen->setTitle("Mẫu");
    sample.navigation = ui::NavigationController::make(sample.screen);
    sample.window = ui::Window::make();
    sample.window->setRootViewController(sample.navigation);
    sample.window->makeKeyAndVisible();
    return sample;
}

} // namespace platform::sample
