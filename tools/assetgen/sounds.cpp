#include "sounds.h"

#include "image.h"
#include "noise.h"

#include <algorithm>
#include <cmath>

namespace {

const float kTau = 6.2831853f;

// Linear rise over `attack` seconds, then exponential decay with time constant `decay`.
float envelope(float t, float attack, float decay) {
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

// A resonant two-pole filter, enough to shape noise into wet or airy sounds.
struct Resonator {
    float y1 = 0.0f, y2 = 0.0f;
    float run(float x, float freq, float q) {
        float w = kTau * freq / kSoundRate;
        float r = std::exp(-w / (2.0f * q));
        float a1 = 2.0f * r * std::cos(w), a2 = -r * r;
        float y = (1.0f - r) * x + a1 * y1 + a2 * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// A short soft tick: two decaying tones and a filtered noise transient.
std::vector<float> click() {
    int n = static_cast<int>(0.06f * kSoundRate);
    std::vector<float> out(n);
    Rng rng(5);
    Resonator res;
    for (int i = 0; i < n; ++i) {
        float t = static_cast<float>(i) / kSoundRate;
        float tone = std::sin(kTau * 1850.0f * t) * envelope(t, 0.0005f, 0.008f);
        float body = std::sin(kTau * 620.0f * t) * envelope(t, 0.001f, 0.015f) * 0.6f;
        float tick = res.run(rng.range(-1.0f, 1.0f), 3200.0f, 4.0f) * envelope(t, 0.0002f, 0.003f) * 3.0f;
        out[i] = 0.5f * (tone + body + tick);
    }
    return out;
}

std::vector<float> attack() {
    // Two rising horn blasts: a warning that reads as danger without being shrill.
    int n = static_cast<int>(0.9f * kSoundRate);
    std::vector<float> out(n, 0.0f);
    for (int blast = 0; blast < 2; ++blast) {
        int start = static_cast<int>(blast * 0.42f * kSoundRate);
        float phase = 0.0f;
        for (int i = start; i < n; ++i) {
            float lt = static_cast<float>(i - start) / kSoundRate;
            if (lt > 0.4f) break;
            float env = std::min(lt / 0.02f, 1.0f) * std::min((0.4f - lt) / 0.08f, 1.0f);
            // The pitch glides up and holds; the phase is summed so the glide has no jump when it stops.
            float f = 330.0f + 110.0f * smoothstep(0.0f, 0.25f, lt);
            phase += kTau * f / kSoundRate;
            float v = std::sin(phase) + 0.45f * std::sin(3.0f * phase) + 0.2f * std::sin(5.0f * phase) + 0.3f * std::sin(phase * 0.5f);
            out[i] += env * v * (1.0f + 0.15f * std::sin(kTau * 7.0f * lt));
        }
    }
    for (float& v : out) v = 0.24f * std::tanh(v);
    return out;
}

// A wet squelch: dulled noise through a falling resonance, a low thump and bubbles.
std::vector<float> splat() {
    int n = static_cast<int>(0.42f * kSoundRate);
    std::vector<float> out(n);
    Rng rng(9);
    Resonator a, b;
    float soft = 0.0f, thumpPhase = 0.0f;
    for (int i = 0; i < n; ++i) {
        float t = static_cast<float>(i) / kSoundRate;
        // Dull the noise first: a squelch has no hiss.
        soft += 0.35f * (rng.range(-1.0f, 1.0f) - soft);
        float noise = soft * 2.0f;
        // A falling, bubbling resonance over noise: the squelch.
        float f = 900.0f * std::exp(-t * 7.0f) + 140.0f + 60.0f * std::sin(kTau * 23.0f * t);
        float wet = a.run(noise, f, 9.0f) * 6.0f;
        thumpPhase += kTau * (120.0f * std::exp(-t * 5.0f) + 60.0f) / kSoundRate;
        float thump = std::sin(thumpPhase) * envelope(t, 0.004f, 0.06f);
        float bubble = b.run(noise, 1800.0f * std::exp(-t * 3.0f) + 400.0f, 14.0f) * 4.0f * envelope(t, 0.05f, 0.05f);
        out[i] = 0.42f * std::tanh((wet * envelope(t, 0.006f, 0.09f) + thump + bubble * 0.5f) * 0.9f);
    }
    return out;
}

// Three falling glassy notes with inharmonic partials.
std::vector<float> crystal() {
    // Three falling glassy notes with inharmonic partials: a gentle "not enough".
    int n = static_cast<int>(0.75f * kSoundRate);
    std::vector<float> out(n);
    const float notes[3] = {1568.0f, 1318.5f, 987.8f};
    for (int i = 0; i < n; ++i) {
        float t = static_cast<float>(i) / kSoundRate;
        float s = 0.0f;
        for (int k = 0; k < 3; ++k) {
            float lt = t - k * 0.11f;
            if (lt < 0.0f) continue;
            float env = envelope(lt, 0.002f, 0.16f);
            float f = notes[k];
            s += env * (std::sin(kTau * f * lt) + 0.4f * std::sin(kTau * f * 2.76f * lt) * std::exp(-lt * 12.0f) +
                        0.25f * std::sin(kTau * f * 5.4f * lt) * std::exp(-lt * 25.0f));
        }
        out[i] = 0.28f * s;
    }
    return out;
}

// Appends a little-endian integer of `bytes` bytes.
void putLe(std::vector<unsigned char>& out, unsigned int v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

std::vector<float> makeSound(const std::string& name) {
    std::vector<float> s;
    if (name == "click") s = click();
    else if (name == "attack") s = attack();
    else if (name == "splat") s = splat();
    else if (name == "crystal") s = crystal();
    // Short fades at both ends keep the speakers from popping.
    int fade = std::min(static_cast<int>(s.size()) / 4, 64);
    for (int i = 0; i < fade; ++i) {
        float g = static_cast<float>(i) / fade;
        s[i] *= g;
        s[s.size() - 1 - i] *= g;
    }
    return s;
}

Image waveformPicture(const std::vector<float>& samples) {
    const int n = 240;
    Image img(n, n);
    img.fill(0.03f, 0.06f, 0.03f, 1.0f);
    for (int x = 0; x < n; ++x) {
        size_t a = static_cast<size_t>(x) * kSoundRate / n, b = static_cast<size_t>(x + 1) * kSoundRate / n;
        float lo = 0.0f, hi = 0.0f;
        for (size_t i = a; i < b && i < samples.size(); ++i) {
            lo = std::min(lo, samples[i]);
            hi = std::max(hi, samples[i]);
        }
        int y0 = static_cast<int>((1.0f - hi) * 0.5f * (n - 1)), y1 = static_cast<int>((1.0f - lo) * 0.5f * (n - 1));
        for (int y = y0; y <= y1; ++y) {
            float* p = img.at(x, y);
            p[0] = 0.4f;
            p[1] = 1.0f;
            p[2] = 0.4f;
        }
        img.at(x, n / 2)[1] = std::max(img.at(x, n / 2)[1], 0.3f);
    }
    return img;
}

bool writeWav(const std::vector<float>& samples, const std::string& path) {
    std::vector<unsigned char> out;
    unsigned int dataBytes = static_cast<unsigned int>(samples.size()) * 2;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    putLe(out, 36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLe(out, 16, 4);
    putLe(out, 1, 2);  // PCM
    putLe(out, 1, 2);  // mono
    putLe(out, kSoundRate, 4);
    putLe(out, kSoundRate * 2, 4);
    putLe(out, 2, 2);
    putLe(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    putLe(out, dataBytes, 4);
    for (float v : samples) {
        float c = clampf(v, -1.0f, 1.0f);
        int s = static_cast<int>(std::lround(c * 32767.0f));
        putLe(out, static_cast<unsigned int>(s) & 0xFFFF, 2);
    }
    return writeFileAtomically(path, out);
}
