#include "removal/remove_page.h"

CRemovePage::CRemovePage(platform::System& system, RemoveView& view)
    : system_(system), view_(view) {}

// The page handles no message yet: its rows and steps come with the
// removal sequence.
platform::LResult CRemovePage::HandleMessage(platform::WindowHandle, std::uint32_t,
                                             platform::WParam, platform::LParam) {
  return 0;
}

// Not built yet: the removal sequence replaces this.
void CRemovePage::StartRemoval() {}
