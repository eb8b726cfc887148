#include "dialup/CombinedDialupService.h"
#include "base/Translation.h"

#include <algorithm>

namespace tollix {

CombinedDialupService::CombinedDialupService(
    std::unique_ptr<NetworkManagerDialupService> networkManager, std::unique_ptr<PppdDialupService> pppd)
    : networkManager_(std::move(networkManager))
    , pppd_(std::move(pppd))
{ }

std::string CombinedDialupService::DescribeEntry(const std::string& name)
{
    if (!networkManager_->Present())
        return pppd_->DescribeEntry(name);
    if (std::string kind = networkManager_->EntryKind(name); !kind.empty())
        return Tr("NetworkManager，%1", {kind});
    return Tr("pppd，拨号脚本");
}

PhonebookResult CombinedDialupService::Phonebook()
{
    PhonebookResult result = networkManager_->Phonebook();
    PhonebookResult peers = pppd_->Phonebook();
    for (std::string& peer : peers.Entries) {
        if (std::find(result.Entries.begin(), result.Entries.end(), peer) == result.Entries.end())
            result.Entries.push_back(std::move(peer));
    }
    // Unreadable peers matter only when there is nothing else to dial.
    if (!peers.Readable && result.Entries.empty()) {
        result.Readable = false;
        result.Error = peers.Error;
    }
    return result;
}

bool CombinedDialupService::IsConnected()
{
    // NetworkManager is asked first every time: that keeps its state current.
    return networkManager_->IsConnected() || pppd_->IsConnected();
}

std::string CombinedDialupService::GetDefaultConnection()
{
    if (networkManager_->IsConnected())
        return networkManager_->GetDefaultConnection();
    std::string name = pppd_->GetDefaultConnection();
    return name.empty() ? networkManager_->OwnedLinkName() : name;
}

LinkInfo CombinedDialupService::CurrentLink()
{
    // The same link GetDefaultConnection names.
    if (networkManager_->IsConnected())
        return networkManager_->CurrentLink();
    return pppd_->CurrentLink();
}

DialResult CombinedDialupService::DialConnection(const std::string& name)
{
    networkManager_->Phonebook();  // current profiles, so the entry goes to its own backend
    if (!networkManager_->EntryKind(name).empty())
        return networkManager_->DialConnection(name);
    return pppd_->DialConnection(name);
}

void CombinedDialupService::HangUp()
{
    networkManager_->HangUp();
    pppd_->HangUp();
}

}  // namespace tollix
