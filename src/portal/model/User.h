#pragma once

#include "portal/model/Asset.h"
#include "portal/model/AtomicInt64.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kavo {

// A user's full profile. `provinceId` -1 (0xFF on the wire) means no province.
// `dmoney` is read and written whole, so the reader thread may update it while a screen reads it.
class User {
public:
    int32_t IDDB() const { return IDDB_; }
    void setIDDB(int32_t value) { IDDB_ = value; }
    const std::string& nickname() const { return nickname_; }
    void setNickname(std::string value) { nickname_ = std::move(value); }
    int64_t dmoney() const { return dmoney_.get(); }
    void setDmoney(int64_t value) { dmoney_.set(value); }
    const std::string& fullname() const { return fullname_; }
    void setFullname(std::string value) { fullname_ = std::move(value); }
    int8_t gender() const { return gender_; }
    void setGender(int8_t value) { gender_ = value; }
    int8_t genderStatus() const { return genderStatus_; }
    void setGenderStatus(int8_t value) { genderStatus_ = value; }
    int16_t birthYear() const { return birthYear_; }
    void setBirthYear(int16_t value) { birthYear_ = value; }
    int8_t birthMonth() const { return birthMonth_; }
    void setBirthMonth(int8_t value) { birthMonth_ = value; }
    int8_t birthDay() const { return birthDay_; }
    void setBirthDay(int8_t value) { birthDay_ = value; }
    int8_t birthStatus() const { return birthStatus_; }
    void setBirthStatus(int8_t value) { birthStatus_ = value; }
    const std::string& address() const { return address_; }
    void setAddress(std::string value) { address_ = std::move(value); }
    const std::string& idnumber() const { return idnumber_; }
    void setIdnumber(std::string value) { idnumber_ = std::move(value); }
    int8_t idnumberStatus() const { return idnumberStatus_; }
    void setIdnumberStatus(int8_t value) { idnumberStatus_ = value; }
    const std::string& status() const { return status_; }
    void setStatus(std::string value) { status_ = std::move(value); }
    const std::string& phoneNum() const { return phoneNum_; }
    void setPhoneNum(std::string value) { phoneNum_ = std::move(value); }
    int8_t provinceId() const { return provinceId_; }
    void setProvinceId(int8_t value) { provinceId_ = value; }
    int32_t percent() const { return percent_; }
    void setPercent(int32_t value) { percent_ = value; }
    int8_t isSentGift() const { return isSentGift_; }
    void setIsSentGift(int8_t value) { isSentGift_ = value; }
    const std::string& playingTime() const { return playingTime_; }
    void setPlayingTime(std::string value) { playingTime_ = std::move(value); }
    int32_t avatarId() const { return avatarId_; }
    void setAvatarId(int32_t value) { avatarId_ = value; }
    const std::vector<std::shared_ptr<Asset>>& assets() const { return assets_; }
    std::vector<std::shared_ptr<Asset>>& assets() { return assets_; }
    void setAssets(std::vector<std::shared_ptr<Asset>> value) { assets_ = std::move(value); }
    int8_t isChangePass() const { return isChangePass_; }
    void setIsChangePass(int8_t value) { isChangePass_ = value; }
    const std::string& oldPass() const { return oldPass_; }
    void setOldPass(std::string value) { oldPass_ = std::move(value); }
    const std::string& uNewPass() const { return uNewPass_; }
    void setUNewPass(std::string value) { uNewPass_ = std::move(value); }

private:
    int32_t IDDB_ = 0;
    std::string nickname_;
    AtomicInt64 dmoney_;
    std::string fullname_;
    int8_t gender_ = 0;
    int8_t genderStatus_ = 0;
    int16_t birthYear_ = 0;
    int8_t birthMonth_ = 0;
    int8_t birthDay_ = 0;
    int8_t birthStatus_ = 0;
    std::string address_;
    std::string idnumber_;
    int8_t idnumberStatus_ = 0;
    std::string status_;
    std::string phoneNum_;
    int8_t provinceId_ = 0;
    int32_t percent_ = 0;
    int8_t isSentGift_ = 0;
    std::string playingTime_;
    int32_t avatarId_ = 0;
    std::vector<std::shared_ptr<Asset>> assets_;
    int8_t isChangePass_ = 0;
    std::string oldPass_;
    std::string uNewPass_;
};

} // namespace kavo
