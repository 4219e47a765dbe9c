#pragma once

// Keeps Qt's own notes about the session a command runs in (no runtime
// folder, no audio, a font setting) off the command's output, which is its
// report alone. Qt's critical and fatal messages still reach stderr.
void quietQtNotes();
