#pragma once

#include "platform/ui/Geometry.h"
#include "platform/ui/View.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace kavo {

class BCCardView;

// Peeking at one of my face-down cards: the card is enlarged under a large face-down
// cover that the player drags off it. The controller owns the cover (a touchable
// BCCardView in peek mode, identified "imgBaiTiNanBai"), the dark overlay behind the
// peek ("viewNanBai") and the spinner put on the overlay while a turn request is
// under way. Any table can use it: it knows nothing of the game, only the table's
// view and where the cover rests.
//
// begin() and end() animate for 0.4 s; their completions belong to the peek that
// started them: cancel() (a new hand, a reset, leaving) makes every pending one do
// nothing. Main thread only.
class PeekController {
public:
    static constexpr double kZoomSeconds = 0.4;

    PeekController() = default;
    PeekController(const PeekController&) = delete;
    PeekController& operator=(const PeekController&) = delete;

    // Makes the cover (for the signed-in player `myId`, scaled 2x, alpha 0, off the
    // table, centred at `rest`) and the overlay (black at alpha 0.7, of `frame`). The
    // overlay is the open peek's close on Escape, which puts the peek away unlooked at every
    // table: the card gets its back again and `putBack` takes it home without turning it.
    void load(int32_t myId, platform::ui::Point rest, platform::ui::Rect frame,
              std::function<void(const std::shared_ptr<BCCardView>&)> putBack);

    // Puts the overlay on `table`, the card above it and the cover above the card;
    // remembers the cover's origin, the card's centre and the card; then moves the
    // card under the cover at twice its size while the cover fades in. `zoomed` runs
    // with the card when that is done.
    void begin(const std::shared_ptr<BCCardView>& card, platform::ui::View& table,
               std::function<void(const std::shared_ptr<BCCardView>&)> zoomed);
    // Takes the spinner down, then puts the card back at its place and size while the
    // cover fades out; when done the overlay and cover leave the table and the cover
    // rests again. `back` runs then. A null card only takes the spinner down.
    void end(const std::shared_ptr<BCCardView>& card, std::function<void()> back = {});
    // The spinner on the overlay (brought to the front) while a turn is asked for.
    void showLoading(platform::ui::View& table);
    // Card then cover to the front, spinner down.
    void hideLoading(platform::ui::View& table);
    // Overlay, card and cover back above cards put on `table` since begin() (a deal
    // going on under an open peek); nothing when no peek is open.
    void keepOnTop(platform::ui::View& table);
    // The hand is over or the table left: cover and overlay off at once, the cover
    // transparent, pending completions dropped.
    void dismiss();
    // Drops pending completions.
    void cancel() { ++generation_; }
    const std::shared_ptr<BCCardView>& cover() const { return cover_; }
    const std::shared_ptr<platform::ui::View>& overlay() const { return overlay_; }
    // The card under the cover (nullptr when none).
    std::shared_ptr<BCCardView> backCard() const;
    // True from begin() until end() finished.
    bool isPeeking() const;
    bool isLoading() const { return loading_; }

private:
    // Escape on the open peek (see load); false when none is open.
    bool closeOnEscape(const std::function<void(const std::shared_ptr<BCCardView>&)>& putBack);

    std::shared_ptr<BCCardView> cover_;
    std::shared_ptr<platform::ui::View> overlay_;
    platform::ui::Point rest_;
    uint64_t generation_ = 0;
    bool loading_ = false;
};

} // namespace kavo
