#include "app/help_links.h"

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
