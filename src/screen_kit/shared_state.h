#pragma once
// The values Build loads and every screen reads: connection key, component id, the
// user's profile, the cataloguing parameters and the regional separators. One set per
// user-interface thread, shared by every CObject and screen on it; the last Build wins.
#include <array>
#include <string>

#include "base/variant.h"

namespace vk {

struct SharedState {
  Variant gDecimalSeparator;
  Variant gListSeparator;
  bool gIsAdmin = false;
  std::wstring gEmpleadoId;
  long gUserLevel = 0;
  std::wstring gGerenciaId;
  std::wstring gCategorias;  // 'A' , 'B' ready for an In clause; "ALL" for an administrator
  std::wstring gObjectId;
  std::array<bool, 11> gPermissions{};  // numbered 1 to 10; [0] unused
  std::wstring gPathOrigen;
  std::wstring gPathDestino;
  long gLoadMax = 0;
  std::wstring gApplicationName;
};

// This thread's shared state.
SharedState& Shared();

}  // namespace vk
