#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kavo {

// A province of the profile's address, and the process-wide list of the provinces
// the server has named so far. The list is filled on the connection's reader
// thread while screens read it, so every access to it takes a lock.
class Province {
public:
    Province() = default;
    Province(int8_t pId, std::string name) : pId_(pId), name_(std::move(name)) {}

    int8_t pId() const { return pId_; }
    void setPId(int8_t value) { pId_ = value; }
    const std::string& name() const { return name_; }
    void setName(std::string value) { name_ = std::move(value); }

    // A copy of the list (empty at first).
    static std::vector<std::shared_ptr<Province>> list();
    static void setList(std::vector<std::shared_ptr<Province>> provinces);
    // Adds the province unless its id is the "none" id (-1, 0xFF on the wire) or the
    // list knows the id already. Returns whether it was added.
    static bool addIfUnknown(int8_t pId, const std::string& name);
    // The name of the province with that id (the last such entry wins), or the id as
    // decimal text when the list does not know it.
    static std::string getProviceNameWithId(int8_t pId);

private:
    int8_t pId_ = 0;
    std::string name_;
};

} // namespace kavo
