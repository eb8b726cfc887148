#pragma once

#include <memory>
#include <string>

#include "dialup/DialupService.h"
#include "dialup/NetworkManagerDialupService.h"
#include "dialup/PppdDialupService.h"

namespace tollix {

// NetworkManager's profiles and pppd's peers in one phonebook, each entry
// dialled by the backend that holds it; while NetworkManager is not there, it
// is pppd alone, exactly. NetworkManager's come first, so when
// links of both are up the meter times NetworkManager's; a name both hold is
// listed once, as NetworkManager's. A PPP link NetworkManager runs has a pppd
// without `call`, so NetworkManager names it.
class CombinedDialupService final : public DialupService {
public:
    CombinedDialupService(
        std::unique_ptr<NetworkManagerDialupService> networkManager, std::unique_ptr<PppdDialupService> pppd);

    std::string BackendName() const override
    {
        return networkManager_->Present() ? "NetworkManager+pppd" : pppd_->BackendName();
    }
    std::string PhonebookLocation() const override { return pppd_->PhonebookLocation(); }
    std::string DescribeEntry(const std::string& name) override;

    PhonebookResult Phonebook() override;
    bool IsConnected() override;
    std::string GetDefaultConnection() override;
    LinkInfo CurrentLink() override;
    DialResult DialConnection(const std::string& name) override;
    void HangUp() override;
    // One at a time: the other backend keeps its own for the next call.
    std::string TakeDialFailure() override
    {
        std::string failure = networkManager_->TakeDialFailure();
        return failure.empty() ? pppd_->TakeDialFailure() : failure;
    }

private:
    std::unique_ptr<NetworkManagerDialupService> networkManager_;
    std::unique_ptr<PppdDialupService> pppd_;
};

}  // namespace tollix
