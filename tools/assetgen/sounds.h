#ifndef GELMARCH_ASSETGEN_SOUNDS_H
#define GELMARCH_ASSETGEN_SOUNDS_H

#include <string>
#include <vector>

const int kSoundRate = 22050;

// Mono samples in -1..1 at 22050 Hz for one of the game's effects: "click" (a short soft tick for
// commands), "attack" (an alarm horn: your units are under fire), "splat" (a wet squelch: a split or
// morph has begun), "crystal" (a falling glassy chime: not enough crystals). Empty for another name.
std::vector<float> makeSound(const std::string& name);

// A 240 x 240 picture of the samples (min and max per column, one second across) for the contact sheet.
class Image;
Image waveformPicture(const std::vector<float>& samples);

// Encodes samples as a 16-bit mono PCM WAV file at 22050 Hz and writes it atomically.
bool writeWav(const std::vector<float>& samples, const std::string& path);

#endif
