#include "setup/related_products.h"

#include <cstdio>

const RelatedProduct kRelatedProducts[] = {
    {"Tapewell Transcription Player", "tapewell", "Tapewell", "Run", "tapewell/index", kRecommended,
     "Plays dictation and interview recordings while you type: pause, rewind and slow down "
     "with foot pedal or hot keys, without leaving your word processor."},
    {"Scribevault Clipboard History", "scribevault", "Scribevault", "Run", "scribevault/index",
     kRecommended,
     "Keeps every text you copy, so that a passage copied an hour ago is one click away. "
     "Searchable, and private to your computer."},
    {"Pacemark Typing Tutor", "pacemark", "Pacemark", "Run", "pacemark/index", 0,
     "Lessons and timed tests that raise your typing speed and accuracy, with a chart of your "
     "progress from day to day."},
    {"Ledgerquill Simple Invoicing", "ledgerquill", "Ledgerquill", "Run", "ledgerquill/index", 0,
     "Turns the jobs in your invoice files into finished invoices with your letterhead, "
     "numbers and payment terms, and tracks which ones are paid."},
    {"Footnote Foot Pedal Driver", "footnote", "Footnote", "Run", "footnote/index", 0,
     "Makes a USB transcription foot pedal work with your player of choice: play, rewind and "
     "fast-forward without taking your hands off the keyboard."},
    {nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr},
};

void FormRelatedSettingsKey(const RelatedProduct& product, char (&out)[kPathSize]) {
    std::snprintf(out, sizeof out, "Software\\Kestrovan\\%s\\Settings", product.settingsKey);
}

bool OfferedTicked(const RelatedProduct& product, bool installed) {
    return !installed && (product.flags & kRecommended) != 0;
}

void FormOfferLabel(const RelatedProduct& product, bool installed, char (&out)[kPathSize]) {
    const char* mark = installed                           ? " [Update]"
                       : OfferedTicked(product, installed) ? " [Recommended]"
                                                           : "";
    std::snprintf(out, sizeof out, "%s%s", product.displayName, mark);
}
