#pragma once

namespace kavo {

// The whole-number scale of the pieces and their marks: 2 on a tablet, 1 on a phone.
class CoTuongUtils {
public:
    static int iPadX();
    static int iPadY();
};

} // namespace kavo
