// The invoice data settings dialog (template 4), opened by the main window's "Add to Invoice".
// The user picks the file, the overwrite choice and the job name, and arranges the invoice
// columns; OK stores the layout and writes one record with InvoiceWriter.
//
// Every command that changes the layout or the job name stores it at once, so Cancel keeps
// moves, restored defaults, a new title and the job name. The check boxes of the list are
// stored only by OK, and every refill of the list shows the stored flags again.
#pragma once

#include <windows.h>

#include "invoice/invoice_fields.h"
#include "ui/dialog_base_win32.h"

class InvoiceDataDialog : public DialogBase {
  public:
    // The dialog's template, for RunModal.
    static LPCSTR Template();

    void OnInit() override;
    bool OnOk() override;
    void OnHelp() override;
    void OnCommand(WPARAM wParam, WORD notifyCode) override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Refills the list from the store, one row per position, then stamps today's date.
    void FillInvoiceList();

  private:
    HWND List() const;
    // The first selected row in list order, -1 when none is.
    int SelectedRow() const;
    void MoveSelectedField(InvoiceMoveDirection direction);
    void UpdateMoveButtons();
    void ChooseFile();
    // The end of an in-place edit of row's column name (newText null: cancelled or unchanged).
    // Only the title row keeps its new text; the list is refilled from the store.
    void EndLabelEdit(int row, const char* newText);
    // Whether a command comes from a window inside the list (its in-place edit control).
    bool ComesFromList(LPARAM source) const;

    bool tabbed_ = true;
    bool opening_ = false;  // OnInit is running
};
