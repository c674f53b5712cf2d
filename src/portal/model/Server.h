#pragma once

#include <string>
#include <utility>

namespace kavo {

// An entry of the server list: name, address and port, all as text.
class Server {
public:
    const std::string& sNAME() const { return sNAME_; }
    void setSNAME(std::string value) { sNAME_ = std::move(value); }
    const std::string& sIP() const { return sIP_; }
    void setSIP(std::string value) { sIP_ = std::move(value); }
    const std::string& sPORT() const { return sPORT_; }
    void setSPORT(std::string value) { sPORT_ = std::move(value); }

private:
    std::string sNAME_;
    std::string sIP_;
    std::string sPORT_;
};

} // namespace kavo
