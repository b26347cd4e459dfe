// The lines of the status-bar ticker.
#pragma once

// Null-ended list of the status-bar texts shown in turn.
extern const char* const kStatusMessages[];
