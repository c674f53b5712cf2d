#include "platform/ui/Responder.h"

#include "platform/ui/Keyboard.h"

namespace platform::ui {

namespace {
Responder* current = nullptr;
// Set while the first responder moves from one responder to another, so the keyboard
// does not go down and up again between two text inputs.
bool handingOver = false;
} // namespace

Responder::~Responder() {
    if (current == this) {
        // Nothing is posted from a destructor: observers may be going away too.
        current = nullptr;
        Keyboard::reset();
    }
}

void Responder::touchesBegan(const std::vector<Touch>& touches) {
    if (Responder* next = nextResponder()) next->touchesBegan(touches);
}

void Responder::touchesMoved(const std::vector<Touch>& touches) {
    if (Responder* next = nextResponder()) next->touchesMoved(touches);
}

void Responder::touchesEnded(const std::vector<Touch>& touches) {
    if (Responder* next = nextResponder()) next->touchesEnded(touches);
}

void Responder::touchesCancelled(const std::vector<Touch>& touches) {
    if (Responder* next = nextResponder()) next->touchesCancelled(touches);
}

bool Responder::becomeFirstResponder() {
    if (current == this) return true;
    if (!canBecomeFirstResponder()) return false;
    if (current) {
        handingOver = true;
        bool resigned = current->resignFirstResponder();
        handingOver = false;
        if (!resigned) return false;
        // The old responder may have made someone else first while resigning.
        if (current) return false;
    }
    current = this;
    Keyboard::firstResponderChanged(isTextInput());
    return true;
}

bool Responder::resignFirstResponder() {
    if (current != this) return true;
    if (!canResignFirstResponder()) return false;
    current = nullptr;
    if (!handingOver) Keyboard::firstResponderChanged(false);
    return true;
}

bool Responder::isFirstResponder() const {
    return current == this;
}

Responder* Responder::firstResponder() {
    return current;
}

void Responder::forgetFirstResponder() {
    current = nullptr;
    Keyboard::reset();
}

void Responder::insertText(const std::string&) {}
void Responder::deleteBackward() {}
void Responder::pressReturn() {}

void Responder::pressArrow(Key) {}

} // namespace platform::ui
