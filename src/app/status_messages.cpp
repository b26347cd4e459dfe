#include "app/status_messages.h"

const char* const kStatusMessages[] = {
    "Quillmet v " QM_PRODUCT_VERSION " - counts and prices typing jobs",
    "Tip: press F8 in any program to count its selected text",
    "Tapewell Transcription Player: play, pause and rewind audio while you type",
    "Pacemark Typing Tutor: build your speed and accuracy",
    "Scribevault Clipboard History: never lose a copied text again",
    nullptr,
};
