#pragma once

#include "platform/ui/Image.h"
#include "platform/ui/View.h"

namespace kavo::test {

// What a picture of the windows (one pixel per point, as the automation's "shot" writes
// it) shows of a view, read from its pixels the way a player tells whether a thing is
// there and can be read. The view tree says what is meant to show; these say what does.
// Main thread only: the windows are drawn again with the view hidden for a moment.

// The share (0 to 1) of the view's frame, inside the screen, whose pixels in `shot` differ
// from the windows drawn without the view: about 1 for a picture or panel drawn whole and
// in sight, near 0 for a view that draws nothing there (its picture is missing) or lies
// under something else.
double drawnShare(const platform::ui::ImagePtr& shot, platform::ui::View& view);

// The contrast ratio (1 to 21, as one reads small text at 4.5 and more) between the text
// colour of a label or text view and what lies behind its frame as drawn without it (the
// middle brightness of those pixels): near 1 for black text on a dark, dimmed backdrop.
// 1 for a view of neither kind.
double textContrast(platform::ui::View& view);

// How strongly a mark on the view's face (a button's glyph) stands out in `shot`: the
// contrast ratio, against the middle brightness of the frame, that a mark's worth of its
// pixels (one in a hundred, at least four) reach. Near 1 for a face of one colour.
double markContrast(const platform::ui::ImagePtr& shot, const platform::ui::View& view);

// The mean difference (0 to 1 per channel) between what two views of the same size show
// in `shot`, over the part both frames share from their top left corners: how a player
// tells two buttons apart.
double faceDifference(const platform::ui::ImagePtr& shot, const platform::ui::View& a, const platform::ui::View& b);

} // namespace kavo::test
