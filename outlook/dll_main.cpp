// Entry points of OutlookStandIn.dll: "Outlook.Application" for the tests and the
// demo of the document lists. The product's own registration never names it.
#include <windows.h>

#include "com/server.h"
#include "outlook/mail_item.h"

namespace {

const vk::com::ClassEntry kClasses[] = {
    {&vk::outlook::CLSID_OutlookApplication, L"Outlook.Application", L"Outlook.Application (Ostrela stand-in)",
     L"Apartment", &vk::com::CreateInstance<vk::outlook::Application>},
};

const vk::com::ServerInfo kServer{kClasses};

}  // namespace

VK_COM_SERVER_ENTRY_POINTS(kServer)
