// Draws the placeholder pictures and writes the placeholder sounds of the client's
// resources folder. Run by hand when the list below changes; the build never runs it:
//
//   placeholder-art RESOURCES_DIR
//
// writes RESOURCES_DIR/images/*.png and RESOURCES_DIR/sounds/*, and the bitmap-font sheets
// (FontSheet.cpp), and the card faces and backs (CardArt.cpp).

#include "CardArt.h"
#include "FontSheet.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace {

enum class Kind {
    Box,        // a framed panel with its name
    Button,     // a rounded, shaded button with a label
    Icon,       // a coloured tile with a short label
    Background, // a soft vertical gradient with its name
    Line,       // a thin rule
    Tile,       // a light card in a coloured rim, for a picture or a name drawn on it
    Frame,      // a coloured rim around what lies inside it; its label marks a corner
    Callout,    // a panel with a point on its left edge, towards what it tells about
    Tab,        // a tab, its top corners rounded, titled by the screen
};

struct Rgb {
    uint8_t r, g, b;
};

struct Art {
    const char* name;
    int width;
    int height;
    Kind kind;
    const char* label; // short text drawn on the picture; empty: none (an icon shows its name)
    Rgb color;
};

constexpr Rgb kRed{190, 40, 40};
constexpr Rgb kDarkRed{120, 20, 20};
constexpr Rgb kGreen{40, 150, 60};
constexpr Rgb kBlue{40, 90, 170};
constexpr Rgb kNavy{20, 40, 90};
constexpr Rgb kGold{210, 160, 30};
constexpr Rgb kGray{110, 110, 120};
constexpr Rgb kDark{35, 35, 45};
constexpr Rgb kBrown{120, 75, 35};
constexpr Rgb kPurple{110, 50, 150};
constexpr Rgb kTeal{30, 130, 140};
constexpr Rgb kFelt{20, 100, 60};
constexpr Rgb kCream{245, 236, 205};
constexpr Rgb kSteel{70, 110, 160};

// Every picture the screens name, with the size its frame gives it (phone points).
constexpr Art kPictures[] = {
    // Backgrounds and panels
    {"bg_main.png", 480, 320, Kind::Background, "", kFelt},
    {"caro-bg.png", 480, 320, Kind::Background, "", kBrown},
    {"bg_bottom.png", 480, 24, Kind::Background, "", kNavy},
    {"t_img_backgroundLogin_RegisterScreen.png", 352, 289, Kind::Background, " ", kNavy}, // a form lies on it
    {"i_img_menu_mainbackground.png", 223, 98, Kind::Background, "", kDark},
    {"phong-tieu-de.png", 412, 22, Kind::Background, "", kGold},
    {"alert-background.png", 284, 160, Kind::Box, " ", kDark}, // stretched: no caption
    {"server_bg_item.png", 310, 70, Kind::Box, " ", kBlue},    // a server name lies on it
    {"tap_profile_cell1.png", 350, 41, Kind::Box, "", kNavy},
    {"tap_profile_cell2.png", 350, 41, Kind::Box, "", kDark},
    {"t_img_backgroundLoginTextField.png", 216, 34, Kind::Box, " ", kDark}, // a field lies on it
    {"textbox400.png", 211, 30, Kind::Box, "", kGray},
    {"i_img_menu_backgroundbutton.png", 58, 58, Kind::Box, "", kGray},
    {"i_img_menu_backgroundbuttonPassword.png", 58, 44, Kind::Box, "", kGray},
    {"i_img_menu_backgroundtime.png", 40, 20, Kind::Box, "", kRed},
    {"tl_border_seat.png", 50, 60, Kind::Box, "", kGold},
    {"tl_khung_avatar.png", 50, 50, Kind::Box, "", kGold},
    {"tengame.png", 82, 14, Kind::Box, "", kDark},
    {"kavo.png", 128, 56, Kind::Box, "KAVO", kRed},
    {"onlinekavo.png", 50, 12, Kind::Box, "online", kGold},
    {"empty.png", 10, 11, Kind::Box, "", kGray},
    {"full.png", 10, 11, Kind::Box, "", kGreen},
    {"limit.png", 10, 11, Kind::Box, "", kRed},
    {"i_img_menu_toggleON.png", 45, 10, Kind::Box, "", kGreen},
    {"i_img_menu_toggleOFF.png", 45, 10, Kind::Box, "", kGray},
    {"i_img_toggleOFF_Pass.png", 45, 10, Kind::Box, "", kGray},
    // Rules
    {"line3.png", 412, 2, Kind::Line, "", kGold},
    {"t_img_LoginScreenSeperateLine.png", 333, 1, Kind::Line, "", kGray},
    // Buttons
    {"t_img_btnDangKy_DangNhap.png", 106, 35, Kind::Button, " ", kRed}, // titled by the screens
    {"button_red_small.png", 35, 35, Kind::Button, "", kRed},
    {"alert-red-button.png", 80, 44, Kind::Button, " ", kRed},
    {"alert-black-button.png", 80, 44, Kind::Button, " ", kDark},
    {"tap_main_selectTab.png", 100, 30, Kind::Button, "", kGold},
    {"close_button.png", 29, 27, Kind::Button, "x", kGray},
    {"t_btn_delete.png", 30, 30, Kind::Button, "x", kRed},
    {"show.png", 40, 30, Kind::Button, "▼", kBlue},
    {"hide.png", 40, 30, Kind::Button, "▲", kBlue},
    {"tiengviet.png", 60, 30, Kind::Button, "VI", kRed},
    {"tienganh.png", 60, 30, Kind::Button, "EN", kBlue},
    {"Nut_keo_tien_cuoc.png", 50, 24, Kind::Button, "<>", kGold},
    // Game icons of the game grid (normal and lit)
    {"icon_TLMN.png", 69, 63, Kind::Icon, "TLMN", kRed},
    {"icon_TLMN(effect).png", 69, 63, Kind::Icon, "TLMN", kGold},
    {"icon_TLMB.png", 69, 63, Kind::Icon, "TLMB", kRed},
    {"icon_TLMB(effect).png", 69, 63, Kind::Icon, "TLMB", kGold},
    {"icon_baicao.png", 69, 63, Kind::Icon, "Cào", kGreen},
    {"icon_baicao(effect).png", 69, 63, Kind::Icon, "Cào", kGold},
    {"icon_xidzach.png", 69, 63, Kind::Icon, "Xì", kGreen},
    {"icon_xidzach(effect).png", 69, 63, Kind::Icon, "Xì", kGold},
    {"icon_phom.png", 69, 63, Kind::Icon, "Phỏm", kBlue},
    {"icon_phom(effect).png", 69, 63, Kind::Icon, "Phỏm", kGold},
    {"icon_cotuong.png", 69, 63, Kind::Icon, "Tướng", kBrown},
    {"icon_cotuong(effect).png", 69, 63, Kind::Icon, "Tướng", kGold},
    {"icon_covua.png", 69, 63, Kind::Icon, "Vua", kBrown},
    {"icon_covua(effect).png", 69, 63, Kind::Icon, "Vua", kGold},
    {"icon_coup.png", 69, 63, Kind::Icon, "Úp", kBrown},
    {"icon_coup(effect).png", 69, 63, Kind::Icon, "Úp", kGold},
    {"icon_maubinh.png", 69, 63, Kind::Icon, "Binh", kPurple},
    {"icon_maubinh(effect).png", 69, 63, Kind::Icon, "Binh", kGold},
    {"icon_caorua.png", 69, 63, Kind::Icon, "Rùa", kTeal},
    {"icon_caorua(effect).png", 69, 63, Kind::Icon, "Rùa", kGold},
    {"icon_poker.png", 69, 63, Kind::Icon, "Poker", kNavy},
    {"icon_poker(effect).png", 69, 63, Kind::Icon, "Poker", kGold},
    {"icon_caro.png", 69, 63, Kind::Icon, "Caro", kTeal},
    {"icon_caro(effect).png", 69, 63, Kind::Icon, "Caro", kGold},
    {"icon_xepgach.png", 69, 63, Kind::Icon, "Gạch", kPurple},
    {"icon_xepgach(effect).png", 69, 63, Kind::Icon, "Gạch", kGold},
    {"icon_baucua.png", 69, 63, Kind::Icon, "Bầu", kGreen},
    {"icon_baucua(effect).png", 69, 63, Kind::Icon, "Bầu", kGold},
    {"icon_gamekhac.png", 69, 63, Kind::Icon, "...", kGray},
    // Small icons
    {"av0.png", 64, 64, Kind::Icon, "?", kGray},
    {"icon_black_room.png", 25, 25, Kind::Icon, "<", kDark},
    {"img_greenBird.png", 25, 30, Kind::Icon, "✓", kGreen},
    {"server_icon_server.png", 60, 60, Kind::Icon, "SV", kBlue},
    {"blueArrow.png", 30, 55, Kind::Icon, "v", kBlue},
    // Rankings and profile
    {"icon_trangthai.png", 27, 28, Kind::Icon, "●", kGreen},
    {"icon_trangthai2.png", 27, 28, Kind::Icon, "○", kGray},
    {"tap_tieude_leaderboard_new.png", 218, 30, Kind::Box, "", kDark},
    {"tap_profile_tieudeTaiSan.png", 427, 32, Kind::Box, "", kBrown},
    {"button_yellow_no.png", 120, 30, Kind::Button, " ", kGold},
    // Lottery and settings
    {"i_img_LottoSubView_NonselectedNumbers.png", 40, 40, Kind::Button, " ", kBlue},
    {"i_img_LottoSubView_SelectedNumber.png", 40, 40, Kind::Button, " ", kRed},
    {"i_img_LottoSubView_TextFieldBackground.png", 277, 25, Kind::Box, " ", kDark},
    {"i_text_LottoSubView_BangSo.png", 48, 12, Kind::Box, "Bảng số", kGold},
    {"i_text_LottoSubView_BangSo-en.png", 58, 10, Kind::Box, "Board", kGold},
    {"i_text_Lotto_Detail.png", 55, 16, Kind::Box, "Xổ số", kGold},
    {"i_text_Lotto_Detail-en.png", 48, 16, Kind::Box, "Lotto", kGold},
    {"bg_title.png", 300, 30, Kind::Box, "", kNavy},
    {"icon_tiencuoc_settings.png", 20, 20, Kind::Icon, "$", kGold},
    {"icon_songuoichoi.png", 20, 20, Kind::Icon, "#", kBlue},
    {"icon_matkhau.png", 20, 20, Kind::Icon, "*", kGray},
    {"icon_huongdanchoi.png", 20, 20, Kind::Icon, "?", kTeal},
    {"icon_gopy.png", 20, 20, Kind::Icon, "!", kGreen},
    {"icon_goitrogiup.png", 20, 20, Kind::Icon, "☎", kRed},
    {"icon_gioithieuban.png", 20, 20, Kind::Icon, "+", kPurple},
    {"icon_dangxuat.png", 20, 20, Kind::Icon, "x", kDarkRed},
    {"icon_chedorung.png", 20, 20, Kind::Icon, "~", kBrown},
    {"Icon_batchucnagmoi.png", 20, 20, Kind::Icon, "@", kBlue},
    {"amthanh.png", 20, 20, Kind::Icon, "♪", kGreen},
    {"icon_changepass.png", 20, 20, Kind::Icon, "k", kGold},
    {"online_icon.png", 76, 30, Kind::Icon, "●", kGreen},
    {"offline_Icon.png", 76, 30, Kind::Icon, "○", kGray},
    {"phong-binh-dan.png", 25, 26, Kind::Icon, "1", kGreen},
    {"phong-dai-gia.png", 25, 26, Kind::Icon, "2", kGold},
    {"phong-vip.png", 25, 26, Kind::Icon, "V", kPurple},
    {"tl_present.png", 24, 24, Kind::Icon, "♥", kRed},
    {"i_img_menu_sound.png", 32, 32, Kind::Icon, "♪", kBlue},
    {"i_img_menu_vibration.png", 32, 32, Kind::Icon, "≈", kBlue},
    {"i_img_menu_socialnetwork.png", 32, 32, Kind::Icon, "@", kBlue},
    {"i_img_menu_password.png", 32, 32, Kind::Icon, "***", kBlue},
    {"i_img_menu_time.png", 32, 32, Kind::Icon, "◷", kBlue},
    // Chinese chess: the fourteen faces (red and black) named as Vietnamese players call them, the move marks
    {"ct_r_jiang.png", 30, 30, Kind::Icon, "Tướng", kRed},
    {"ct_r_shi.png", 30, 30, Kind::Icon, "Sĩ", kRed},
    {"ct_r_xiang.png", 30, 30, Kind::Icon, "Tượng", kRed},
    {"ct_r_ma.png", 30, 30, Kind::Icon, "Mã", kRed},
    {"ct_r_ju.png", 30, 30, Kind::Icon, "Xe", kRed},
    {"ct_r_pao.png", 30, 30, Kind::Icon, "Pháo", kRed},
    {"ct_r_zu.png", 30, 30, Kind::Icon, "Tốt", kRed},
    {"ct_b_jiang.png", 30, 30, Kind::Icon, "Tướng", kDark},
    {"ct_b_shi.png", 30, 30, Kind::Icon, "Sĩ", kDark},
    {"ct_b_xiang.png", 30, 30, Kind::Icon, "Tượng", kDark},
    {"ct_b_ma.png", 30, 30, Kind::Icon, "Mã", kDark},
    {"ct_b_ju.png", 30, 30, Kind::Icon, "Xe", kDark},
    {"ct_b_pao.png", 30, 30, Kind::Icon, "Pháo", kDark},
    {"ct_b_zu.png", 30, 30, Kind::Icon, "Tốt", kDark},
    {"ct_nuocdi.png", 15, 15, Kind::Icon, " ", kGreen},
    {"ct_effect_an_co.png", 34, 34, Kind::Icon, " ", kRed},
    {"ct_effect_chon_co.png", 36, 36, Kind::Icon, " ", kGold},
    // Hidden-piece chess: the backs of the face-down pieces, the captured pieces' panel
    {"icon_coup_red.png", 30, 30, Kind::Icon, "?", kRed},
    {"icon_coup_black.png", 30, 30, Kind::Icon, "?", kDark},
    {"coup_bg_coan.png", 260, 155, Kind::Box, " ", kBrown},
    // Page buttons of the in-app web screen
    {"btn_web_back.png", 44, 32, Kind::Button, "<", kBlue},
    {"btn_web_forward.png", 44, 32, Kind::Button, ">", kBlue},
    {"btn_web_refresh.png", 44, 32, Kind::Button, "↻", kBlue},
    // Emoticons of the chat (codes in emotions.plist)
    {"emo_angry.png", 24, 24, Kind::Icon, ">:(", kRed},
    {"emo_cry.png", 24, 24, Kind::Icon, ":((", kBlue},
    {"emo_kiss.png", 24, 24, Kind::Icon, ":*", kRed},
    {"emo_cool.png", 24, 24, Kind::Icon, "B)", kDark},
    {"emo_like.png", 24, 24, Kind::Icon, "+1", kGreen},
    {"emo_dislike.png", 24, 24, Kind::Icon, "-1", kGray},
    {"emo_heart.png", 24, 24, Kind::Icon, "<3", kRed},
    {"emo_smile.png", 24, 24, Kind::Icon, ":)", kGold},
    {"emo_sad.png", 24, 24, Kind::Icon, ":(", kGold},
    {"emo_laugh.png", 24, 24, Kind::Icon, ":D", kGold},
    {"emo_wink.png", 24, 24, Kind::Icon, ";)", kGold},
    {"emo_tongue.png", 24, 24, Kind::Icon, ":P", kGold},
    {"emo_surprise.png", 24, 24, Kind::Icon, ":O", kGold},
    {"emo_neutral.png", 24, 24, Kind::Icon, ":|", kGold},
    {"emo_happy.png", 24, 24, Kind::Icon, "^^", kGold},
    {"emo_bored.png", 24, 24, Kind::Icon, "-_-", kGold},
    // The shared in-table sheets
    {"button_tang_qua_selected.png", 60, 40, Kind::Button, " ", kGold},
    {"button_tang_qua_unselected.png", 60, 40, Kind::Button, " ", kGray},
    {"p_slide_value.png", 80, 18, Kind::Box, " ", kDark},
    {"invite_border_selected.png", 48, 58, Kind::Box, " ", kGreen},
    {"bg_submenu.png", 240, 200, Kind::Box, " ", kNavy},
    {"button_chuc_nang1.png", 200, 30, Kind::Button, " ", kBlue},
    {"caro-bg-menu.png", 240, 200, Kind::Box, " ", kBrown},
    {"caro-menu-item.png", 200, 30, Kind::Button, " ", kBrown},
    {"textfield_chat1.png", 440, 52, Kind::Box, " ", kDark},
    {"p_stack_keo_ngang.png", 208, 10, Kind::Line, "", kGold},
    {"linh_vat_thang_vi.png", 80, 80, Kind::Icon, "Thắng", kGold},
    {"linh_vat_thang_en.png", 80, 80, Kind::Icon, "Win", kGold},
    {"linh_vat_thua.png", 80, 80, Kind::Icon, "☹", kGray}, // both languages: no word,
    {"icon_ok.png", 20, 20, Kind::Icon, "✓", kGreen},
    // Mailbox, private chat and friends
    {"chat_add_icon.png", 37, 36, Kind::Button, ":)", kGold},
    {"chat_line.png", 290, 8, Kind::Line, "", kGray},
    {"chat_textbox_chat.png", 191, 30, Kind::Box, "", kDark},
    {"chat_button_send.png", 54, 36, Kind::Button, " ", kBlue},
    {"chat_bg_emoticon.png", 286, 48, Kind::Box, "", kNavy},
    {"chat_khungthoai(right).png", 60, 40, Kind::Box, "", kBlue},
    {"chat_khungthoai(left).png", 60, 40, Kind::Box, "", kTeal},
    {"chat_icon_trangthai1.png", 10, 10, Kind::Box, "", kRed},
    {"chat_icon_trangthai2.png", 10, 10, Kind::Box, "", kGreen},
    {"chat_icon_trangthai3.png", 10, 10, Kind::Box, "", kGray},
    {"chat_tap_loimoiketban.png", 170, 33, Kind::Button, " ", kNavy},
    {"chat_icon_loimoiketban.png", 20, 20, Kind::Icon, "@", kGold},
    {"chat_frame_soluong.png", 18, 18, Kind::Box, "", kRed},
    {"shop_accept_button.png", 34, 26, Kind::Button, "OK", kGreen},
    // The scratch-card form: its framed content and the fields' wells (labels and typed
    // text lie on them)
    {"img_TopupZel_ContentBackground.png", 380, 162, Kind::Box, " ", kNavy},
    {"img_TopupZel_TextFieldBackground.png", 276, 24, Kind::Box, " ", kDark},
    // The top-up panel: its framed content (the channels' rows lie on it), the panel's title
    // in each language, and in each row the tab under the channel's icon, the icon (a text
    // message, the store, each carrier's card) and the rule under the row
    {"i_img_ServerTopupZelFree_Background.png", 418, 257, Kind::Box, " ", kNavy},
    {"i_img_TopupZel_BackgroundTab.png", 72, 37, Kind::Box, " ", kBlue},
    {"i_text_NapZel.png", 40, 10, Kind::Icon, "Nạp Zel", kGold},
    {"i_text_NapZel_en.png", 40, 10, Kind::Icon, "Top up", kGold},
    {"i_text_SMS.png", 45, 22, Kind::Icon, "SMS", kBlue},
    {"i_text_IAP.png", 45, 22, Kind::Icon, "⇩", kNavy},
    {"i_img_CardGate.png", 55, 20, Kind::Icon, "gate", kRed},
    {"i_img_CardViettel.png", 45, 25, Kind::Icon, "viettel", kGreen},
    {"i_img_CardVinaphone.png", 56, 25, Kind::Icon, "vina", kBlue},
    {"i_img_CardMobifone.png", 56, 21, Kind::Icon, "Mobifone", kTeal},
    {"i_line_server_list.png", 383, 4, Kind::Line, "", kGray},
    // The shop's ways to pay: pictures, no words (a message, a scratch card, the store)
    {"icon_SMS.png", 44, 44, Kind::Icon, "✉", kBlue},
    {"icon_thecao.png", 44, 44, Kind::Icon, "▤", kGreen},
    {"icon_appstore.png", 44, 44, Kind::Icon, "⇩", kNavy},
    {"shop_thecao.png", 66, 66, Kind::Box, " ", kGreen},
    {"shop_frame_thecao.png", 66, 66, Kind::Box, " ", kGold},
    {"loimoi_cancel_button.png", 25, 25, Kind::Button, "x", kRed},
    {"bg_profile.png", 300, 220, Kind::Background, "", kNavy},
    {"shop_background.png", 480, 320, Kind::Background, "", kNavy}, // the shop's whole backdrop
    // The compose panel for messages by name
    {"i_img_backgroundNewMsg.png", 308, 162, Kind::Box, "", kNavy},
    {"i_img_SendMessageView_ToContentText.png", 51, 39, Kind::Icon, "Đến", kGold},
    {"i_img_SendMessageView_ToContentText-en.png", 51, 39, Kind::Icon, "To", kGold},
    {"i_img_textBorderNewMsg.png", 233, 23, Kind::Box, "", kGray},
    {"i_img_SendMessageView_EmoticonsBackground.png", 53, 95, Kind::Box, "", kDark},
    {"i_img_SendMessageView_ContentBackground.png", 233, 107, Kind::Box, "", kGray},
    {"i_btn_discardNewMsg.png", 45, 45, Kind::Button, "x", kRed},
    {"i_btn_SendNewMsg.png", 63, 63, Kind::Button, ">", kGreen},
    {"i_text_SendNewMessage_vi.png", 30, 18, Kind::Icon, "Gửi", kGold},
    {"i_text_SendNewMessage_en.png", 30, 18, Kind::Icon, "Send", kGold},
    // The card table base screen
    {"icon_chuban.png", 20, 20, Kind::Icon, "★", kGold},
    {"button_moichoi.png", 50, 60, Kind::Button, "+", kGreen},
    {"tl_chat.png", 40, 24, Kind::Button, "❝❞", kBlue}, // pictures, not words: they read in every language
    {"tl_mail.png", 40, 24, Kind::Button, "✉", kBlue},
    {"friend_chat.png", 60, 40, Kind::Box, " ", Rgb{245, 245, 235}},
    {"me_chat1.png", 60, 40, Kind::Box, " ", Rgb{225, 240, 255}},
    {"admin_chat.png", 60, 40, Kind::Box, " ", Rgb{255, 235, 180}},
    {"icon_xiDach_opacity.png", 69, 63, Kind::Icon, "Xì", kGreen},
    {"icon_TLMN_opacity.png", 69, 63, Kind::Icon, "TLMN", kRed},
    {"icon_baicao_opacity.png", 69, 63, Kind::Icon, "Cào", kGreen},
    {"icon_TLMB_opacity.png", 69, 63, Kind::Icon, "TLMB", kRed},
    {"icon_phom_opacity.png", 69, 63, Kind::Icon, "Phỏm", kBlue},
    {"icon_maubinh_opacity.png", 69, 63, Kind::Icon, "Binh", kPurple},
    {"icon_caorua_opacity.png", 69, 63, Kind::Icon, "Rùa", kTeal},
    // Phom and Xi Zach: the stock by room level, the my-turn arrow; Phom: the action button
    {"bai_rut_binhdan.png", 35, 45, Kind::Icon, "Bốc", kGreen},
    {"bai_rut_daigia.png", 35, 45, Kind::Icon, "Bốc", kGold},
    {"bai_rut_vip.png", 35, 45, Kind::Icon, "Bốc", kPurple},
    {"icon_next_me.png", 20, 30, Kind::Icon, "↓", kGold},
    {"button_yellow_.png", 80, 30, Kind::Button, "", kGold},
    {"maubinh_trang.png", 28, 36, Kind::Box, " ", Rgb{220, 235, 225}},
    {"maubinh_ach.png", 25, 32, Kind::Icon, "A", kGold},
    {"maubinh_xap_ham_vi.png", 80, 32, Kind::Icon, "Sập hầm", kDarkRed},
    {"maubinh_xap_ham_en.png", 80, 32, Kind::Icon, "Sweep", kDarkRed},
    {"img_CaoRua_DealerCardBlue.png", 36, 44, Kind::Box, "", kBlue},
    {"img_CaoRua_DealerCardYellow.png", 36, 44, Kind::Box, "", kGold},
    {"img_CaoRua_DealerCardRed.png", 36, 44, Kind::Box, "", kRed},
    // Phom results at a seat
    {"p_phomtext_02.png", 60, 24, Kind::Icon, "Nhất", kGold},
    {"p_phomtext_03.png", 60, 24, Kind::Icon, "Thua", kGray},
    {"p_phomtext_04.png", 60, 24, Kind::Icon, "Móm", kBrown},
    {"p_phomtext_05.png", 60, 24, Kind::Icon, "Ù", kRed},
    {"p_phomtext_06.png", 60, 24, Kind::Icon, "Đền", kPurple},
    // The chess tables: the start button (titled by the table), the mark over the undo,
    // draw and resign titles (drawn larger there) and beside the hidden-piece table's
    // captured-pieces title (at this size, which leaves the title its two lines), a seat's
    // clock and the friend mark
    {"button_start.png", 100, 34, Kind::Button, " ", kGreen},
    {"ct_icon_action.png", 14, 14, Kind::Icon, "⚑", kGold},
    {"icon_timer.png", 16, 16, Kind::Icon, "◷", kBlue},
    {"icon_friend.png", 16, 16, Kind::Icon, "☺", kGreen},
    // The shop: its selected tabs (titled by the shop, in gold), the history's delete
    // buttons and the buy buttons (titled by the screens), an item's tile, whose name is
    // written in black on its lower part
    {"shop_tap_chon(left).png", 108, 30, Kind::Tab, " ", kBlue},
    {"shop_tap_chon(center).png", 108, 30, Kind::Tab, " ", kBlue},
    {"shop_tap_chon(right).png", 108, 30, Kind::Tab, " ", kBlue},
    {"shop_button_delete.png", 100, 30, Kind::Button, " ", kDarkRed},
    {"button_red_normal.png", 66, 30, Kind::Button, " ", kRed},
    {"i_img_borderItem.png", 70, 85, Kind::Tile, "", kGold},
    // The item panel beside a tile: its backdrop pointing at the tile (mirrored when the
    // panel lies left of it), the plates under the black title and price, the picture's
    // frame, and its buttons, pictures without words: give, buy, add to the cart, take
    // out of the cart
    {"i_img_ShopViewDetail_background.png", 146, 162, Kind::Callout, " ", kSteel},
    {"i_img_ShopViewDetail_backgroundTitle.png", 83, 16, Kind::Box, " ", kCream},
    {"i_img_ShopwViewDetail_backgroundDescription.png", 119, 65, Kind::Box, " ", kCream},
    {"i_img_border_itemImage.png", 58, 63, Kind::Tile, "", kGold},
    {"i_btn_present.png", 33, 26, Kind::Button, "♥", kRed},
    {"i_btn_checkout.png", 33, 26, Kind::Button, "$", kGreen},
    {"i_btn_cartInHappyHour.png", 33, 26, Kind::Button, "+", kPurple},
    {"i_btn_ShopViewDiscard.png", 33, 26, Kind::Button, "−", kDarkRed},
    // The friends a gift goes to: the list's backdrop and title, a friend's avatar frame
    // and the plate under his name (in white)
    {"i_nenListFriend.png", 92, 170, Kind::Box, " ", kNavy},
    {"i_taptrai-text.png", 64, 12, Kind::Icon, "☺ ☺ ☺", kGold},
    {"i_nen-avatar.png", 20, 30, Kind::Tile, "", kGray},
    {"i_ten-user.png", 70, 15, Kind::Box, "", kDark},
    // The gift page: a gift's frame, its price in yellow under it; the chosen gift's frame
    // is gold and ticked
    {"khung_qua_tang.png", 50, 70, Kind::Frame, "", kGray},
    {"khung_qua_tang_selected.png", 50, 70, Kind::Frame, "✓", kGold},
    // The settings' language row
    {"icon_ngonngu.png", 20, 20, Kind::Icon, "Aa", kTeal},
};

// The Caro clock: 30 pictures "caro-0.png" .. "caro-29.png", a ring that empties.
constexpr int kCaroClockCount = 30;
constexpr int kCaroClockSize = 40;

struct Tone {
    const char* name;
    double frequency;    // Hz of the first note
    double endFrequency; // Hz at the end (a sweep when it differs)
    double seconds;
};

// Every sound file of the sound table, under its exact name (".caf" files hold WAV data).
constexpr Tone kSounds[] = {
    {"EAT.WAV", 660, 440, 0.20},
    {"WIN.WAV", 523, 1046, 0.40},
    {"MOVE.WAV", 440, 440, 0.10},
    {"CLICK.WAV", 1200, 1200, 0.10},
    {"CHIEU.WAV", 880, 660, 0.30},
    {"player_join_board.wav", 392, 587, 0.25},
    {"player_leave_board.wav", 587, 392, 0.25},
    {"ready.wav", 784, 784, 0.15},
    {"trung-tien.wav", 988, 1318, 0.30},
    {"chia-bai.wav", 300, 300, 0.10},
    {"lat-bai.caf", 500, 700, 0.10},
    {"xao-bai.caf", 250, 350, 0.30},
    {"no-ready.caf", 600, 400, 0.15},
    {"dat-tien.caf", 1046, 1046, 0.12},
    {"onebeep.caf", 1000, 1000, 0.10},
    {"t_bingo.wav", 659, 1318, 0.35},
    {"t_drop.wav", 220, 110, 0.12},
    {"t_rotate.wav", 700, 900, 0.10},
    {"nhac_nen.wav", 262, 392, 2.00}, // the background track, looped
};

constexpr const char* kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kBoldFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

uint32_t mapRgba(SDL_Surface* s, Rgb c, uint8_t a = 255) {
    return SDL_MapRGBA(s->format, c.r, c.g, c.b, a);
}

Rgb mix(Rgb a, Rgb b, double t) {
    auto lerp = [t](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (y - x) * t)); };
    return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)};
}

Rgb lighter(Rgb c, double t) {
    return mix(c, Rgb{255, 255, 255}, t);
}
Rgb darker(Rgb c, double t) {
    return mix(c, Rgb{0, 0, 0}, t);
}

void putPixel(SDL_Surface* s, int x, int y, uint32_t pixel) {
    if (x < 0 || y < 0 || x >= s->w || y >= s->h) return;
    auto* row = static_cast<uint8_t*>(s->pixels) + y * s->pitch;
    reinterpret_cast<uint32_t*>(row)[x] = pixel;
}

// Whether (x, y) lies inside a rectangle of size w x h with corners of radius r.
bool insideRounded(int x, int y, int w, int h, int r) {
    int cx = std::clamp(x, r, w - 1 - r);
    int cy = std::clamp(y, r, h - 1 - r);
    int dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy <= r * r;
}

void fillVerticalGradient(SDL_Surface* s, Rgb top, Rgb bottom, int radius) {
    for (int y = 0; y < s->h; ++y) {
        double t = s->h > 1 ? double(y) / (s->h - 1) : 0;
        uint32_t p = mapRgba(s, mix(top, bottom, t));
        for (int x = 0; x < s->w; ++x)
            if (radius == 0 || insideRounded(x, y, s->w, s->h, radius)) putPixel(s, x, y, p);
    }
}

void strokeFrame(SDL_Surface* s, Rgb color, int radius) {
    uint32_t p = mapRgba(s, color);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            if (radius > 0 && !insideRounded(x, y, s->w, s->h, radius)) continue;
            bool edge =
                x == 0 || y == 0 || x == s->w - 1 || y == s->h - 1 ||
                (radius > 0 &&
                 (!insideRounded(x - 1, y, s->w, s->h, radius) || !insideRounded(x + 1, y, s->w, s->h, radius) ||
                  !insideRounded(x, y - 1, s->w, s->h, radius) || !insideRounded(x, y + 1, s->w, s->h, radius)));
            if (edge) putPixel(s, x, y, p);
        }
}

// Draws the text centred in `box`, at the largest of a few sizes that fits; nothing when
// none fits.
void drawTextIn(SDL_Surface* s, SDL_Rect box, const std::string& text, bool bold, int preferredSize, SDL_Color color) {
    if (text.empty() || text == " ") return;
    for (int size = preferredSize; size >= 7; --size) {
        TTF_Font* font = TTF_OpenFont(bold ? kBoldFontPath : kFontPath, size);
        if (!font) return;
        int w = 0, h = 0;
        TTF_SizeUTF8(font, text.c_str(), &w, &h);
        if (w <= box.w - 2 && h <= box.h) {
            SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text.c_str(), color);
            if (rendered) {
                SDL_Rect at{box.x + (box.w - w) / 2, box.y + (box.h - h) / 2, w, h};
                SDL_SetSurfaceBlendMode(rendered, SDL_BLENDMODE_BLEND);
                SDL_BlitSurface(rendered, nullptr, s, &at);
                SDL_FreeSurface(rendered);
            }
            TTF_CloseFont(font);
            return;
        }
        TTF_CloseFont(font);
    }
}

void drawCentredText(SDL_Surface* s, const std::string& text, bool bold, int preferredSize, SDL_Color color) {
    drawTextIn(s, SDL_Rect{0, 0, s->w, s->h}, text, bold, preferredSize, color);
}

// Paints the shape `inside` says (x, y: whether the pixel belongs to it) with a vertical
// gradient from `top` to `bottom`, and its edge, `rimWidth` pixels deep, in `rim`.
template <class Inside> void paintShape(SDL_Surface* s, Inside inside, Rgb top, Rgb bottom, Rgb rim, int rimWidth) {
    auto onEdge = [&](int x, int y) {
        for (int dy = -rimWidth; dy <= rimWidth; ++dy)
            for (int dx = -rimWidth; dx <= rimWidth; ++dx)
                if (std::abs(dx) + std::abs(dy) <= rimWidth && !inside(x + dx, y + dy)) return true;
        return false;
    };
    for (int y = 0; y < s->h; ++y) {
        const double t = s->h > 1 ? double(y) / (s->h - 1) : 0;
        const uint32_t fill = mapRgba(s, mix(top, bottom, t)), edge = mapRgba(s, rim);
        for (int x = 0; x < s->w; ++x)
            if (inside(x, y)) putPixel(s, x, y, onEdge(x, y) ? edge : fill);
    }
}

// A light card in a rim of the colour: what is drawn on it (a picture, a black name) reads.
void drawTile(SDL_Surface* s, Rgb color) {
    const int w = s->w, h = s->h, radius = std::min(w, h) / 6;
    const int rim = std::max(2, std::min(w, h) / 16);
    auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && insideRounded(x, y, w, h, radius); };
    paintShape(s, inside, lighter(color, 0.85), lighter(color, 0.7), darker(color, 0.15), rim);
}

// A rim of the colour around an empty middle (what lies inside shows through); the label,
// when there is one, stands in the top of the middle.
void drawFrame(SDL_Surface* s, Rgb color, const std::string& label) {
    const int w = s->w, h = s->h, radius = std::min(w, h) / 6;
    const int rim = std::max(2, std::min(w, h) / 12);
    auto outer = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && insideRounded(x, y, w, h, radius); };
    auto ring = [&](int x, int y) {
        return outer(x, y) && !insideRounded(x - rim, y - rim, w - 2 * rim, h - 2 * rim, std::max(0, radius - rim));
    };
    paintShape(s, ring, lighter(color, 0.3), darker(color, 0.2), lighter(color, 0.6), 1);
    drawTextIn(s, SDL_Rect{rim, rim, w - 2 * rim, h / 4}, label, true, 14, SDL_Color{255, 255, 255, 255});
}

// A panel whose body starts a few points in from the left edge, where a point juts out at
// the height of the tile it tells about (mirrored, it points right).
void drawCallout(SDL_Surface* s, Rgb color) {
    const int w = s->w, h = s->h, inset = 8, radius = 8, halfBase = 9;
    const int tipY = h * 53 / 100;
    auto inside = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h) return false;
        if (x >= inset && insideRounded(x - inset, y, w - inset, h, radius)) return true;
        // The point: its tip on the left edge, its base on the body's edge.
        return x < inset + 2 && std::abs(y - tipY) <= halfBase * x / inset;
    };
    paintShape(s, inside, lighter(color, 0.2), darker(color, 0.25), lighter(color, 0.6), 2);
}

// A tab: its top corners rounded, its bottom square, where it meets the page under it.
void drawTab(SDL_Surface* s, Rgb color) {
    const int w = s->w, h = s->h, radius = std::min(w, h) / 3;
    auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && insideRounded(x, y, w, h + radius, radius);
    };
    paintShape(s, inside, lighter(color, 0.3), darker(color, 0.3), lighter(color, 0.6), 1);
}

std::string baseName(std::string_view name) {
    auto dot = name.rfind('.');
    return std::string(name.substr(0, dot));
}

SDL_Surface* newSurface(int w, int h) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
    if (s) SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, 0, 0, 0, 0));
    return s;
}

SDL_Surface* draw(const Art& art) {
    SDL_Surface* s = newSurface(art.width, art.height);
    if (!s) return nullptr;
    const SDL_Color white{255, 255, 255, 255};
    // Pictures that screens draw over or stretch stay plain: a caption would show
    // through the screen's own texts. Icons stand alone, so they say what they are.
    std::string label = art.label[0] ? art.label : art.kind == Kind::Icon ? baseName(art.name) : "";
    switch (art.kind) {
    case Kind::Background:
        fillVerticalGradient(s, lighter(art.color, 0.25), darker(art.color, 0.35), 0);
        drawCentredText(s, label, false, 10, SDL_Color{255, 255, 255, 110});
        break;
    case Kind::Box:
        fillVerticalGradient(s, art.color, darker(art.color, 0.2), 0);
        strokeFrame(s, lighter(art.color, 0.5), 0);
        drawCentredText(s, label, false, 9, white);
        break;
    case Kind::Line:
        fillVerticalGradient(s, art.color, art.color, 0);
        break;
    case Kind::Button: {
        int radius = std::min(art.width, art.height) / 4;
        fillVerticalGradient(s, lighter(art.color, 0.35), darker(art.color, 0.25), radius);
        strokeFrame(s, darker(art.color, 0.5), radius);
        drawCentredText(s, label, true, 12, white);
        break;
    }
    case Kind::Icon: {
        int radius = std::min(art.width, art.height) / 6;
        fillVerticalGradient(s, lighter(art.color, 0.2), darker(art.color, 0.3), radius);
        strokeFrame(s, lighter(art.color, 0.6), radius);
        drawCentredText(s, label, true, 16, white);
        break;
    }
    case Kind::Tile:
        drawTile(s, art.color);
        break;
    case Kind::Frame:
        drawFrame(s, art.color, label);
        break;
    case Kind::Callout:
        drawCallout(s, art.color);
        break;
    case Kind::Tab:
        drawTab(s, art.color);
        break;
    }
    return s;
}

// The Chinese chess board: nine files and ten ranks through the squares' centres
// (x0 + dx column, y0 + dy row), the river between the fifth and sixth ranks, the
// palaces' diagonals. The phone and the tablet place the squares differently.
SDL_Surface* drawCoTuongBoard(int width, int height, int x0, int dx, int y0, int dy) {
    SDL_Surface* s = newSurface(width, height);
    if (!s) return nullptr;
    fillVerticalGradient(s, Rgb{225, 190, 130}, Rgb{205, 165, 105}, 0);
    const uint32_t ink = mapRgba(s, Rgb{70, 40, 15});
    auto cx = [&](int column) { return x0 + dx * column; };
    auto cy = [&](int row) { return y0 + dy * row; };
    auto line = [&](int x0, int y0, int x1, int y1) {
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= steps; ++i)
            putPixel(s, x0 + (x1 - x0) * i / std::max(steps, 1), y0 + (y1 - y0) * i / std::max(steps, 1), ink);
    };
    for (int row = 0; row < 10; ++row)
        line(cx(0), cy(row), cx(8), cy(row));
    for (int column = 0; column < 9; ++column) {
        const bool edge = column == 0 || column == 8;
        line(cx(column), cy(0), cx(column), cy(edge ? 9 : 4));
        if (!edge) line(cx(column), cy(5), cx(column), cy(9));
    }
    for (int top : {0, 7}) {
        line(cx(3), cy(top), cx(5), cy(top + 2));
        line(cx(5), cy(top), cx(3), cy(top + 2));
    }
    return s;
}

// A padlock on a gold tile, the mark of a table with a password: a picture, so it reads
// in every language.
SDL_Surface* drawLock(int width, int height) {
    SDL_Surface* s = newSurface(width, height);
    if (!s) return nullptr;
    const int radius = std::min(width, height) / 6;
    fillVerticalGradient(s, lighter(kGold, 0.2), darker(kGold, 0.3), radius);
    strokeFrame(s, lighter(kGold, 0.6), radius);
    const uint32_t ink = mapRgba(s, Rgb{60, 40, 10});
    const int bodyW = height * 2 / 3, bodyH = height * 2 / 5;
    const int left = (width - bodyW) / 2, top = height / 2 - 1;
    for (int y = top; y < top + bodyH; ++y)
        for (int x = left; x < left + bodyW; ++x)
            putPixel(s, x, y, ink);
    // The shackle: a half ring over the body.
    const double cx = width / 2.0 - 0.5, cy = top, outer = bodyW * 0.38, inner = outer - 2.5;
    for (int y = int(cy - outer) - 1; y <= int(cy); ++y)
        for (int x = int(cx - outer) - 1; x <= int(cx + outer) + 1; ++x) {
            const double d = std::hypot(x - cx, y - cy);
            if (d <= outer && d >= inner) putPixel(s, x, y, ink);
        }
    // The keyhole.
    const uint32_t hole = mapRgba(s, lighter(kGold, 0.4));
    for (int y = top + bodyH / 3; y < top + bodyH * 3 / 4; ++y)
        for (int x = width / 2 - 1; x <= width / 2; ++x)
            putPixel(s, x, y, hole);
    return s;
}

// One step of the Caro clock: the part of the ring still left is lit.
SDL_Surface* drawCaroClock(int step) {
    SDL_Surface* s = newSurface(kCaroClockSize, kCaroClockSize);
    if (!s) return nullptr;
    const double c = (kCaroClockSize - 1) / 2.0;
    const double outer = c, inner = c - 6;
    const double left = 1.0 - double(step) / kCaroClockCount; // share of the ring still lit
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            double dx = x - c, dy = y - c;
            double d = std::sqrt(dx * dx + dy * dy);
            if (d > outer) continue;
            // Angle clockwise from twelve o'clock, 0..1.
            double a = std::atan2(dx, -dy) / (2 * M_PI);
            if (a < 0) a += 1;
            Rgb color = d < inner ? Rgb{245, 240, 225} : (a <= left ? kGreen : kGray);
            putPixel(s, x, y, mapRgba(s, color));
        }
    drawCentredText(s, std::to_string(kCaroClockCount - step), true, 12, SDL_Color{40, 40, 40, 255});
    return s;
}

void writeLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

// 16-bit mono PCM WAV of a short tone with a soft start and end.
std::vector<uint8_t> synthesize(const Tone& tone) {
    constexpr int kRate = 22050;
    const int samples = int(tone.seconds * kRate);
    std::vector<uint8_t> pcm;
    pcm.reserve(size_t(samples) * 2);
    double phase = 0;
    for (int i = 0; i < samples; ++i) {
        double t = double(i) / samples;
        double freq = tone.frequency + (tone.endFrequency - tone.frequency) * t;
        phase += 2 * M_PI * freq / kRate;
        double envelope = std::min({1.0, t * 20, (1 - t) * 8});
        auto sample = int16_t(std::lround(std::sin(phase) * envelope * 0.5 * 32767));
        writeLe(pcm, uint16_t(sample), 2);
    }
    std::vector<uint8_t> wav = {'R', 'I', 'F', 'F'};
    writeLe(wav, uint32_t(36 + pcm.size()), 4);
    wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    writeLe(wav, 16, 4);        // format chunk size
    writeLe(wav, 1, 2);         // PCM
    writeLe(wav, 1, 2);         // mono
    writeLe(wav, kRate, 4);     // sample rate
    writeLe(wav, kRate * 2, 4); // byte rate
    writeLe(wav, 2, 2);         // block align
    writeLe(wav, 16, 2);        // bits per sample
    wav.insert(wav.end(), {'d', 'a', 't', 'a'});
    writeLe(wav, uint32_t(pcm.size()), 4);
    wav.insert(wav.end(), pcm.begin(), pcm.end());
    return wav;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool savePng(SDL_Surface* s, const std::string& path) {
    if (!s) return false;
    bool ok = IMG_SavePNG(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    if (!ok) std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), IMG_GetError());
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RESOURCES_DIR\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    const std::string images = root + "/images";
    const std::string sounds = root + "/sounds";
    mkdir(root.c_str(), 0755);
    mkdir(images.c_str(), 0755);
    mkdir(sounds.c_str(), 0755);

    if (TTF_Init() != 0) {
        std::fprintf(stderr, "TTF_Init: %s\n", TTF_GetError());
        return 1;
    }
    int failures = 0;
    for (const Art& art : kPictures)
        if (!savePng(draw(art), images + "/" + art.name)) ++failures;
    for (int step = 0; step < kCaroClockCount; ++step)
        if (!savePng(drawCaroClock(step), images + "/caro-" + std::to_string(step) + ".png")) ++failures;
    if (!savePng(drawLock(44, 30), images + "/lock.png")) ++failures;
    if (!savePng(drawCoTuongBoard(270, 300, 17, 28, 15, 29), images + "/ct_board.png")) ++failures;
    if (!savePng(drawCoTuongBoard(570, 710, 44, 61, 75, 62), images + "/ct_board_ipad.png")) ++failures;
    if (!drawFontSheet(images + "/font_kavo.png", kGoldSheet)) ++failures;
    if (!drawFontSheet(images + "/sea.png", kSeaSheet)) ++failures;
    failures += drawCards(images);
    for (const Tone& tone : kSounds)
        if (!writeFile(sounds + "/" + tone.name, synthesize(tone))) {
            std::fprintf(stderr, "cannot write %s\n", tone.name);
            ++failures;
        }
    TTF_Quit();
    std::printf("%zu pictures, %d clock pictures, %zu sounds, %d failures\n", std::size(kPictures), kCaroClockCount,
                std::size(kSounds), failures);
    return failures == 0 ? 0 : 1;
}
