#pragma once
// The object by which a running Orbelin is recognised, one per log-on session. Orbelin holds
// it while it runs; the uninstaller looks for it before removing anything.

namespace orbelin {

inline constexpr wchar_t kInstanceMutexName[] = L"Local\\Vantrel.Orbelin.Running";

}  // namespace orbelin
