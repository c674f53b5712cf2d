#pragma once

#include "platform/ui/Touch.h"

#include <string>
#include <vector>

namespace platform::ui {

enum class Key;

// Something that can receive touches and key input. Touches that a responder does not
// handle go up the chain: a view passes them to the controller that owns it, or else to
// its superview; a controller passes them to its view's superview.
class Responder {
public:
    Responder() = default;
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;
    virtual ~Responder();

    virtual Responder* nextResponder() const { return nullptr; }

    // Touch handlers; by default each passes the touches to the next responder.
    virtual void touchesBegan(const std::vector<Touch>& touches);
    virtual void touchesMoved(const std::vector<Touch>& touches);
    virtual void touchesEnded(const std::vector<Touch>& touches);
    virtual void touchesCancelled(const std::vector<Touch>& touches);

    // The single first responder receives typed text and keys. A responder that says
    // isTextInput() brings the keyboard up while it is first responder.
    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool canResignFirstResponder() const { return true; }
    virtual bool becomeFirstResponder();
    virtual bool resignFirstResponder();
    bool isFirstResponder() const;
    static Responder* firstResponder();
    // Forgets the first responder without telling it or posting anything (between tests).
    static void forgetFirstResponder();
    virtual bool isTextInput() const { return false; }

    // Key input; by default nothing happens.
    virtual void insertText(const std::string& text);
    virtual void deleteBackward();
    virtual void pressReturn();
    // An arrow key (Up, Down, Left, Right).
    virtual void pressArrow(Key key);
    virtual bool hasText() const { return false; }
};

} // namespace platform::ui
