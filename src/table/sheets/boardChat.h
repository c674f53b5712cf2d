#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "app/widgets/CustomTextField.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TableView.h"
#include "portal/model/Chat.h"

#include <memory>
#include <string>
#include <vector>

namespace kavo {

// The table chat sheet: the table's chat history, a one-line field and an emoticon
// palette. It sends nothing itself: a confirmed line goes to the current game's table
// screen (onChatFromMeWithText), or only into the history while the board list is on
// top. Lines are cut by characters (50 while typing, 100 when sent), never inside one.
// Main thread only.
class boardChat : public CustomUIActionSheetViewController,
                  public CustomTextFieldOwner,
                  public platform::ui::TableViewDataSource,
                  public platform::ui::TableViewDelegate {
public:
    static constexpr size_t kTypingLimit = 50;
    static constexpr size_t kSendLimit = 100;

    // The sheet the board list shows; every table screen makes its own.
    static const std::shared_ptr<boardChat>& getInstance();
    boardChat();
    ~boardChat() override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    // Closes the sheet and gives the top bar its alpha back.
    void slideOut() override;
    void doCancel() { slideOut(); }

    // The return key: sends (textFieldDoneEditting).
    void endEditing(CustomTextField& sender) override;
    void textFieldDoneEditting(CustomTextField& sender);
    // The length rule after every change: Send key with text, cut to 50 characters.
    void changedEditing();
    void clearText();
    void onClickEmotion(int tag);
    void clickEmotion();

    std::vector<std::shared_ptr<Chat>>& historyChat() { return historyChat_; }
    void setHistoryChat(std::vector<std::shared_ptr<Chat>> history) { historyChat_ = std::move(history); }
    // Adds a line to the history and shows the newest row.
    void appendHistory(const std::string& name, const std::string& content);
    void reloadHistory();

    const std::shared_ptr<CustomTextField>& txtChat() const { return txtChat_; }
    const std::shared_ptr<platform::ui::TableView>& tblHistoryChat() const { return tblHistoryChat_; }
    const std::shared_ptr<platform::ui::View>& viewEmotions() const { return viewEmotions_; }
    const std::shared_ptr<platform::ui::View>& viewRight() const { return viewRight_; }
    const std::shared_ptr<platform::ui::ImageView>& imgTextField() const { return imgTextField_; }
    const std::shared_ptr<platform::ui::Button>& btnEmotion() const { return btnEmotion_; }
    platform::ui::ReturnKeyType returnKeyType() const;

    // The first `limit` characters of a UTF-8 text (a character is never split).
    static std::string firstCharacters(const std::string& text, size_t limit);
    static size_t countCharacters(const std::string& text);

    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    // A row is 20 points high, and a line of text higher for each line a long line wraps onto.
    double heightForRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;

private:
    // What a history row reads: "name: line".
    std::string rowText(int row) const;

    std::shared_ptr<CustomTextField> txtChat_;
    std::shared_ptr<platform::ui::ImageView> imgTextField_;
    std::shared_ptr<platform::ui::View> viewRight_;
    std::shared_ptr<platform::ui::View> viewEmotions_;
    std::shared_ptr<platform::ui::TableView> tblHistoryChat_;
    std::shared_ptr<platform::ui::Button> btnEmotion_;
    std::vector<std::shared_ptr<Chat>> historyChat_;
    std::vector<std::string> emotionKeys_;
    bool isNewAdd_ = false;
};

} // namespace kavo
