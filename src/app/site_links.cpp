#include "app/site_links.h"

const HelpLink kHelpLinks[] = {
    {"Quillmet &Home Page", "counter/index"},
    {"Quillmet &Frequently Asked Questions", "counter/faq"},
    {"&Getting Started with Quillmet", "counter/getting-started"},
    {"Pricing &Tips for Typists and Transcribers", "counter/pricing-tips"},
    {"Opening Invoice Files in a &Spreadsheet", "kb/10021"},
    {"Check for a &Newer Version", "counter/download"},
    {"&Contact Support", "support/index"},
    {"", ""},
    {"Tapewell Transcription Player", "tapewell/index"},
    {"Pacemark Typing Tutor", "pacemark/index"},
    {"Scribevault Clipboard History", "scribevault/index"},
    {"Ledgerquill Simple Invoicing", "ledgerquill/index"},
    {"Footnote Foot Pedal Driver", "footnote/index"},
    {"Wordwell Document Counter", "wordwell/index"},
    {"", ""},
    {"Kestrovan &Software Home Page", "index"},
    {"All Kestrovan &Programs", "software"},
    {"&Privacy Policy", "privacy"},
    {nullptr, nullptr},
};

const char* const kStatusMessages[] = {
    "Quillmet v " QM_PRODUCT_VERSION " - counts and prices typing jobs",
    "Tip: press F8 in any program to count its selected text",
    "Tapewell Transcription Player: play, pause and rewind audio while you type",
    "Pacemark Typing Tutor: build your speed and accuracy",
    "Scribevault Clipboard History: never lose a copied text again",
    nullptr,
};
