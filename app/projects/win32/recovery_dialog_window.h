#pragma once

// The recovery offer on a real dialog: the template IDD_RECOVERY of the program's resources.

// clang-format off
#include <windows.h>
// clang-format on

#include "projects/recovery_offer.h"

namespace snapdesk {

class Win32RecoveryOfferDialog final : public RecoveryOfferDialog {
  public:
    explicit Win32RecoveryOfferDialog(HWND owner) : owner_(owner) {}
    void show(RecoveryOffer& offer) override;

  private:
    HWND owner_;
};

}  // namespace snapdesk
