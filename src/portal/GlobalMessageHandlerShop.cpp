#include "app/UIController.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/ReplyFields.h"

#include <tuple>
#include <utility>

namespace kavo {

namespace {

// Rows of an item list of the shop: int itemId, UTF name, int price, UTF
// function_desc, bool is_bought.
ItemInfoList readItemInfos(ReplyReader& reader) {
    return readRecords<ItemInfo>(reader, asInt32(&ItemInfo::setItemId), asUtf(&ItemInfo::setName),
                                 asInt32(&ItemInfo::setPrice), asUtf(&ItemInfo::setFunction_desc),
                                 asFlag(&ItemInfo::setIs_bought));
}

// Rows of shop categories: int categoryId, UTF name, int parentId.
std::vector<std::shared_ptr<CategoryShopInfo>> readCategories(ReplyReader& reader) {
    return readRecords<CategoryShopInfo>(reader, asInt32(&CategoryShopInfo::setCategoryId),
                                         asUtf(&CategoryShopInfo::setName), asInt32(&CategoryShopInfo::setParentId));
}

// Reply 101, by sub-command: what follows the sub. A head cut short drops the reply;
// the rows after a whole head are kept as far as they are whole.

// 2: int categoryId, byte gender, int pages; rows of items.
void readItems(ReplyReader& reader, GlobalLogicHandler& logic) {
    const auto [categoryId, gender, pages] = readValues(reader, asInt32, asByte, asInt32);
    if (reader.ok()) logic.onItemsList(readItemInfos(reader), categoryId, gender, pages);
}

// 3: int categoryId, byte gender, int totalPage; rows of the player's items.
void readUserItems(ReplyReader& reader, GlobalLogicHandler& logic) {
    auto page = readRecord<UserItemsOfCategory>(reader, asInt32(&UserItemsOfCategory::setCategoryId),
                                                asByte(&UserItemsOfCategory::setGender),
                                                asInt32(&UserItemsOfCategory::setTotalPage));
    if (!reader.ok()) return;
    page->setUserItemsList(readRecords<UserItemInfo>(
        reader, asInt32(&UserItemInfo::setUserItemId), asInt32(&UserItemInfo::setItemId), asUtf(&UserItemInfo::setName),
        asInt32(&UserItemInfo::setPrice), asUtf(&UserItemInfo::setShort_desc), asFlag(&UserItemInfo::setIs_using)));
    const size_t count = page->userItemsList().size();
    logic.onUserItemsOfCategoryInfo(std::move(page));
    platform::log("user items: " + std::to_string(count));
}

// 5: an avatar's detail, read and not shown.
void readAvatarDetail(ReplyReader& reader, GlobalLogicHandler&) {
    AvatarDetail detail;
    readInto(reader, detail, asInt32(&AvatarDetail::setItemId), asUtf(&AvatarDetail::setName),
             asInt32(&AvatarDetail::setPrice), asInt16(&AvatarDetail::setEffected_hours),
             asInt16(&AvatarDetail::setLevel_req), asInt32(&AvatarDetail::setScore_of_fame),
             asByte(&AvatarDetail::setItem_gender), asFlag(&AvatarDetail::setIs_buy_or_sell),
             asFlag(&AvatarDetail::setIs_give), asInt16(&AvatarDetail::setAvatar_x),
             asInt16(&AvatarDetail::setAvatar_y), asInt32(&AvatarDetail::setCategory_id),
             asInt16(&AvatarDetail::setZ_index));
}

// 6: byte failed; failed: UTF reason, else int price paid.
void readBuy(ReplyReader& reader, GlobalLogicHandler& logic) {
    const auto [failed] = readValues(reader, asByte);
    if (failed != 0) {
        readAndCall(reader, logic, &GlobalLogicHandler::onBuyAvatarFail, asUtf);
    } else {
        readAndCall(reader, logic, &GlobalLogicHandler::onBuyAvatarSuccessWithPayment, asInt32);
    }
}

// 7: byte code; code 1: UTF refusal, else int fromUser, int item, int toUser.
void readGiveGift(ReplyReader& reader, GlobalLogicHandler& logic) {
    const auto [code] = readValues(reader, asByte);
    if (code == 1) {
        readAndCall(reader, logic, &GlobalLogicHandler::showAlertViewWithMessage, asUtf);
        return;
    }
    const auto [fromUser, item, toUser] = readValues(reader, asInt32, asInt32, asInt32);
    if (reader.ok()) logic.onGiveGiftWithItem(item, fromUser, toUser);
}

// 9: the detail of an avatar the player has.
void readUserAvatarDetail(ReplyReader& reader, GlobalLogicHandler& logic) {
    auto detail = readRecord<UserAvatarDetail>(
        reader, asInt32(&UserAvatarDetail::setUserItemId), asInt32(&UserAvatarDetail::setItemId),
        asUtf(&UserAvatarDetail::setName), asUtf(&UserAvatarDetail::setExpire_date),
        asByte(&UserAvatarDetail::setIs_buy_give), asFlag(&UserAvatarDetail::setIs_using),
        asInt16(&UserAvatarDetail::setTime_used), asInt16(&UserAvatarDetail::setAvatar_x),
        asInt16(&UserAvatarDetail::setAvatar_y), asInt32(&UserAvatarDetail::setCategory_id),
        asInt16(&UserAvatarDetail::setZ_index));
    if (reader.ok()) logic.onUserAvatarDetail(std::move(detail));
}

// 10: int itemId, byte failed; failed: UTF reason.
void readDeleteItem(ReplyReader& reader, GlobalLogicHandler& logic) {
    const auto [itemId, failed] = readValues(reader, asInt32, asByte);
    if (failed != 0) {
        readAndCall(reader, logic, &GlobalLogicHandler::onDeleteItemFail, asUtf);
    } else if (reader.ok()) {
        logic.onUpdateDeleteItem(itemId);
    }
}

// 11: byte failed; failed: UTF text, only logged.
void readSetUsing(ReplyReader& reader, GlobalLogicHandler& logic) {
    const auto [failed] = readValues(reader, asByte);
    const auto [why] = failed != 0 ? readValues(reader, asUtf) : std::tuple<std::string>{};
    if (!reader.ok()) return;
    if (failed != 0) {
        platform::log("set using failed: " + why);
    } else {
        logic.onUpdateSetUsing();
    }
}

// 12: an int and a byte nothing uses; rows of int itemId, int categoryId.
void readUsingAvatars(ReplyReader& reader, GlobalLogicHandler& logic) {
    readValues(reader, asInt32, asByte);
    if (!reader.ok()) return;
    logic.onListUsingAvatar(
        readRecords<UsingAvatar>(reader, asInt32(&UsingAvatar::setItemId), asInt32(&UsingAvatar::setCategoryId)));
}

// 1: rows of categories, read and not shown; 14: the gift categories.
void readShopCategories(ReplyReader& reader, GlobalLogicHandler&) {
    readCategories(reader);
}
void readGiftCategories(ReplyReader& reader, GlobalLogicHandler& logic) {
    logic.onListGift(readCategories(reader));
}

// 15: int categoryId, int totalPage; rows of int itemId, UTF name, int price.
void readGiftItems(ReplyReader& reader, GlobalLogicHandler& logic) {
    auto page = readRecord<ItemsOfCategory>(reader, asInt32(&ItemsOfCategory::setCategoryId),
                                            asInt32(&ItemsOfCategory::setTotalPage));
    if (!reader.ok()) return;
    page->setItemList(readRecords<ItemInfo>(reader, asInt32(&ItemInfo::setItemId), asUtf(&ItemInfo::setName),
                                            asInt32(&ItemInfo::setPrice)));
    logic.onItemsOfGiftInfo(std::move(page));
}

// 16: rows of int assetId, int imgAssetId, UTF name, UTF description.
void readEventItems(ReplyReader& reader, GlobalLogicHandler& logic) {
    logic.onGetListItemsEvent(readRecords<Asset>(reader, asInt32(&Asset::setAssetId), asInt32(&Asset::setImgAssetId),
                                                 asUtf(&Asset::setName), asUtf(&Asset::setDescription)));
}

// 17: byte result, UTF text; when result is 0: int money.
void readOpenGift(ReplyReader& reader, GlobalLogicHandler& logic) {
    const auto [result, text] = readValues(reader, asByte, asUtf);
    const auto [money] = result == 0 ? readValues(reader, asInt32) : std::tuple<int32_t>{};
    if (reader.ok()) logic.onOpenGift(result, text, money);
}

// 21: int totalPage; rows of items.
void readAllItems(ReplyReader& reader, GlobalLogicHandler& logic) {
    const auto [totalPage] = readValues(reader, asInt32);
    if (reader.ok()) logic.onGetAllItem(readItemInfos(reader), totalPage);
}

// 4, 8, 13, 18 to 20 and above 21: nothing.
using ShopRead = void (*)(ReplyReader&, GlobalLogicHandler&);
constexpr std::pair<uint8_t, ShopRead> kShopReads[] = {
    {1, readShopCategories},
    {2, readItems},
    {3, readUserItems},
    {5, readAvatarDetail},
    {6, readBuy},
    {7, readGiveGift},
    {9, readUserAvatarDetail},
    {10, readDeleteItem},
    {11, readSetUsing},
    {12, readUsingAvatars},
    {14, readGiftCategories},
    {15, readGiftItems},
    {16, readEventItems},
    {17, readOpenGift},
    {21, readAllItems},
};

} // namespace

bool GlobalMessageHandler::handleShop(ReplyReader& reader, int16_t commandId) {
    GlobalLogicHandler& logic = globalLogicHandler();
    switch (commandId) {
    case 101:
        receiveShop(reader);
        return true;
    case 38:
        receiveAvatarPicture(reader);
        return true;
    case 79:
        receiveItemPicture(reader);
        return true;
    case 1010:
        receiveMyAvatars(reader);
        return true;
    case 1201:
        receiveAvatarList(reader);
        return true;
    case 1203:
        receiveAllAvatars(reader);
        return true;
    case 1202:
        readAndCall(reader, logic, &GlobalLogicHandler::onBuyAvatarSuccessWithId, asInt32);
        return true;
    case 1008: {
        const auto [avatar] = readValues(reader, asInt32);
        if (!reader.ok()) return true;
        platform::runOnMainThread([avatar] { UIController::myInfo()->setAvatar(avatar); });
        logic.onChangeAvatarSuccess();
        return true;
    }
    default:
        return false;
    }
}

void GlobalMessageHandler::receiveShop(ReplyReader& reader) {
    const auto [sub] = readValues(reader, asByte);
    if (!reader.ok()) return;
    for (const auto& [id, read] : kShopReads) {
        if (id == uint8_t(sub)) read(reader, globalLogicHandler());
    }
}

// ---------------------------------------------------------------- pictures and avatars

void GlobalMessageHandler::receiveAvatarPicture(ReplyReader& reader) {
    const auto [avatarId, length] = readValues(reader, asInt16, asInt16);
    const platform::Bytes bytes = reader.data(length);
    if (!reader.ok()) return; // a picture cut short is not a picture
    auto avatar = std::make_shared<Avatar>();
    avatar->setAvatarId(avatarId);
    avatar->setImg(platform::ui::Image::fromData(bytes));
    globalLogicHandler().onAvatar(std::move(avatar));
}

void GlobalMessageHandler::receiveItemPicture(ReplyReader& reader) {
    const auto [sub] = readValues(reader, asByte);
    if (!reader.ok() || (sub != 1 && sub != 4)) return;
    const auto [itemId, length] = readValues(reader, asInt32, asInt16);
    if (!reader.ok() || length < 1) return;
    platform::Bytes bytes = reader.data(length);
    if (reader.ok()) globalLogicHandler().onItemImageWithItemId(itemId, std::move(bytes));
}

void GlobalMessageHandler::receiveMyAvatars(ReplyReader& reader) {
    const auto [total] = readValues(reader, asInt32);
    if (!reader.ok()) return;
    AvatarList avatars = readRecords<Avatar>(reader, asInt32(&Avatar::setUserId), asInt32(&Avatar::setAvatarId),
                                             asUtf(&Avatar::setName), asUtf(&Avatar::setDesc));
    const size_t count = avatars.size();
    globalLogicHandler().onShowMyAvatars(std::move(avatars));
    platform::log("my avatars: " + std::to_string(count) + " of " + std::to_string(total));
}

void GlobalMessageHandler::receiveAvatarList(ReplyReader& reader) {
    const auto [pages] = readValues(reader, asInt32);
    if (!reader.ok()) return;
    AvatarList avatars =
        readRecords<Avatar>(reader, asInt32(&Avatar::setAvatarId), asUtf(&Avatar::setName), asInt32(&Avatar::setPrice),
                            asInt32(&Avatar::setType), asInt32(&Avatar::setExpireDay));
    const int32_t type = avatars.empty() ? 0 : avatars.back()->type();
    globalLogicHandler().onAvatarList(std::move(avatars), pages, type);
}

void GlobalMessageHandler::receiveAllAvatars(ReplyReader& reader) {
    const auto [totalPage] = readValues(reader, asInt32);
    if (!reader.ok()) return;
    globalLogicHandler().onGetAllAvatarsList(readRecords<Avatar>(reader, asInt32(&Avatar::setAvatarId),
                                                                 asUtf(&Avatar::setName), asInt32(&Avatar::setPrice),
                                                                 asInt32(&Avatar::setExpireDay)),
                                             totalPage);
}

} // namespace kavo
