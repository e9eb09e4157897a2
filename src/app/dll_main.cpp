// Entry points of MorvalZIVI01.dll: the classes a host creates by ProgID.
#include <windows.h>

#include "MorvalZIVI01.h"
#include "app/cobject.h"
#include "com/module.h"
#include "com/server.h"
#include "controls/balloon/ctooltip_baloon.h"

namespace {

const vk::com::ClassEntry kClasses[] = {
    {&CLSID_CObject, L"MorvalZIVI01.CObject", L"MorvalZIVI01.CObject", L"Apartment",
     &vk::com::CreateInstance<vk::app::CObject>},
    {&CLSID_CToolTipBaloon, L"MorvalZIVI01.CToolTipBaloon", L"MorvalZIVI01.CToolTipBaloon",
     L"Apartment", &vk::com::CreateInstance<vk::controls::CToolTipBaloon>},
};

const vk::com::ServerInfo kServer{kClasses, &LIBID_MorvalZIVI01, 1, 0};

}  // namespace

VK_COM_SERVER_ENTRY_POINTS(kServer)
