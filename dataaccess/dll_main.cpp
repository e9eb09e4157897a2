// Entry points of QdPoolConnection.dll, the data-access component over SQLite.
#include <windows.h>

#include "com/module.h"
#include "com/server.h"
#include "dataaccess/qd_procedure.h"

namespace {

const vk::com::ClassEntry kClasses[] = {
    {&vk::data::CLSID_QdProcedure, L"QdPoolConnection.QdProcedure", L"QdPoolConnection.QdProcedure",
     L"Apartment", &vk::com::CreateInstance<vk::data::QdProcedure>},
};

const vk::com::ServerInfo kServer{kClasses};

}  // namespace

VK_COM_SERVER_ENTRY_POINTS(kServer)
