#pragma once
// The sound module's entry points: a plain C interface between the program
// and libvantorel-sound.so, the only part of the program that links Qt
// Multimedia. The program loads the module with the first sound it plays,
// so that a start in the tray and a day without sound never load the audio
// libraries (Qt Multimedia, PulseAudio, the codecs) at all.

extern "C" {

// One sound effect, owned by the module.
struct VantorelSound;

// Starts playing the WAV file at `utf8Path` (absolute). Never waits for the
// sound; a file that cannot be played or a missing sound device plays
// nothing. Returns the effect, to be passed to vantorel_sound_close.
using VantorelSoundPlayFunction = VantorelSound* (*)(const char* utf8Path);

// Stops the effect if it still plays, and frees it. Accepts nullptr.
using VantorelSoundCloseFunction = void (*)(VantorelSound* sound);
}

namespace vantorel::qt::sound {

// The module's base name for platform::LibraryLoader::load.
inline constexpr const char* kModuleName = "vantorel-sound";
inline constexpr const char* kPlayEntry = "vantorel_sound_play";
inline constexpr const char* kCloseEntry = "vantorel_sound_close";

}  // namespace vantorel::qt::sound
