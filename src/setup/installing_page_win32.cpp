#include "setup/installing_page_win32.h"

#include <prsht.h>

#include "setup/payload_extraction_win32.h"

void InstallingPage::OnDeferredWork() {
    ShowWizardButtons(*this, PSWIZB_DISABLEDFINISH);
    if (ExtractPayload(*this)) {
        PressNextOrFinish(*this);
    } else if (!StopRequested()) {
        PressWizardButton(*this, PSBTN_CANCEL);
    }
}
