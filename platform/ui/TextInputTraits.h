#pragma once

namespace platform::ui {

enum class KeyboardType {
    Default,
    ASCIICapable,
    NumbersAndPunctuation,
    URL,
    NumberPad,
    PhonePad,
    NamePhonePad,
    EmailAddress,
    DecimalPad,
};
enum class ReturnKeyType { Default, Go, WebSearch, Join, Next, Route, Search, Send, DirectorySearch, Done, EmergencyCall };
enum class AutocapitalizationType { None, Words, Sentences, AllCharacters };
enum class AutocorrectionType { Default, No, Yes };
enum class KeyboardAppearance { Default, Alert };

// How a text input wants its keyboard. The values are stored for the screens that read
// them back; our keyboard is the real one, so only secureTextEntry changes what is shown.
class TextInputTraits {
public:
    virtual ~TextInputTraits() = default;

    KeyboardType keyboardType() const { return keyboardType_; }
    void setKeyboardType(KeyboardType type) { keyboardType_ = type; }
    ReturnKeyType returnKeyType() const { return returnKeyType_; }
    void setReturnKeyType(ReturnKeyType type) { returnKeyType_ = type; }
    AutocapitalizationType autocapitalizationType() const { return autocapitalization_; }
    void setAutocapitalizationType(AutocapitalizationType type) { autocapitalization_ = type; }
    AutocorrectionType autocorrectionType() const { return autocorrection_; }
    void setAutocorrectionType(AutocorrectionType type) { autocorrection_ = type; }
    KeyboardAppearance keyboardAppearance() const { return keyboardAppearance_; }
    void setKeyboardAppearance(KeyboardAppearance appearance) { keyboardAppearance_ = appearance; }
    bool enablesReturnKeyAutomatically() const { return enablesReturnKey_; }
    void setEnablesReturnKeyAutomatically(bool enables) { enablesReturnKey_ = enables; }
    bool isSecureTextEntry() const { return secureTextEntry_; }
    void setSecureTextEntry(bool secure) {
        secureTextEntry_ = secure;
        textInputTraitsChanged();
    }

protected:
    virtual void textInputTraitsChanged() {}

private:
    KeyboardType keyboardType_ = KeyboardType::Default;
    ReturnKeyType returnKeyType_ = ReturnKeyType::Default;
    AutocapitalizationType autocapitalization_ = AutocapitalizationType::Sentences;
    AutocorrectionType autocorrection_ = AutocorrectionType::Default;
    KeyboardAppearance keyboardAppearance_ = KeyboardAppearance::Default;
    bool enablesReturnKey_ = false;
    bool secureTextEntry_ = false;
};

} // namespace platform::ui
