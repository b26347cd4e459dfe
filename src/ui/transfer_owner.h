// What long work (a transfer) needs of the window it runs for: its pump and its progress.
// Implemented by the progress window's and the wizard page's owners (ui/progress_dialog_win32.h).
#pragma once

// What a transfer needs of the window it runs for.
class TransferOwner {
  public:
    virtual ~TransferOwner() = default;
    // Drains the window's message queue; true when the transfer must stop.
    virtual bool Pump() = 0;
    // The download's progress as a fraction of its length (file use; may end a little
    // above 1, since it advances in 1028-byte steps).
    virtual void ShowProgress(double fraction) { (void)fraction; }
};
