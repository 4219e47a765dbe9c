#pragma once

#include <QString>

// Plays .wav files in the background. The player lives in a module of its
// own beside the program (kotobarion-sound.so), loaded at the first sound:
// Qt Multimedia and the audio libraries behind it cost start-up time and
// memory that nobody needs before the first answer.
class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // Plays the file at an absolute path; a new sound cuts off one still
  // playing. A file that is no sound gives the default sound.
  virtual void play(const QString& path) = 0;
};

// The module's one entry point, looked up by name.
#define KOTOBARION_SOUND_MODULE "kotobarion-sound"
#define KOTOBARION_SOUND_ENTRY "kotobarion_create_sound_player"
using CreateSoundPlayer = SoundPlayer* (*)();
