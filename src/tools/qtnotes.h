#pragma once

#include <QString>

// Keeps Qt's own notes about the session a command runs in (no runtime
// folder, no audio, a font setting) off the command's output, which is its
// report alone. Qt's critical and fatal messages still reach stderr.
void quietQtNotes();

// Flushes standard output and tells why what the command wrote there is
// lost (a full disk, a file-size limit), or an empty text when every byte
// of it was written.
QString outputProblem();
