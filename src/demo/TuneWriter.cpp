#include "TuneWriter.h"

#include <QList>

#include <cmath>

namespace {

constexpr int kRate = 22050;
constexpr double kBeatSeconds = 0.4;

struct Note
{
    int midi; // 0 is a rest
    double beats;
};

// Eight bars in C major, written for the demo.
const QList<Note> kMelody = {
    {64, 1}, {67, 1}, {72, 1}, {67, 1}, {69, 1}, {72, 0.5}, {69, 0.5}, {67, 2},   {65, 1}, {69, 1},
    {74, 1}, {72, 1}, {71, 1}, {67, 1}, {74, 2}, {76, 1},   {74, 0.5}, {72, 0.5}, {69, 1}, {72, 1},
    {67, 1}, {64, 1}, {60, 2}, {62, 1}, {65, 1}, {69, 1},   {71, 1},   {72, 3},   {0, 1},
};
const QList<Note> kBass = {
    {48, 2}, {48, 2}, {53, 2}, {48, 2}, {53, 2}, {53, 2}, {55, 2}, {55, 2},
    {45, 2}, {45, 2}, {48, 2}, {48, 2}, {50, 2}, {55, 2}, {48, 2}, {48, 2},
};

double frequency(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// Adds one voice to `mix`; `wave` maps the phase (0..1) to -1..1.
template <typename Wave>
void addVoice(QList<double> &mix, const QList<Note> &notes, double volume, Wave wave)
{
    qsizetype at = 0;
    for (const Note &note : notes) {
        const auto length = qsizetype(note.beats * kBeatSeconds * kRate);
        if (note.midi > 0) {
            const double step = frequency(note.midi) / kRate;
            double phase = 0;
            for (qsizetype i = 0; i < length && at + i < mix.size(); ++i) {
                const double t = double(i) / kRate;
                const double release = std::min(1.0, double(length - i) / (0.02 * kRate));
                const double envelope =
                    std::min(1.0, t / 0.005) * (0.6 + 0.4 * std::exp(-t * 6)) * release;
                mix[at + i] += volume * envelope * wave(phase);
                phase += step;
                phase -= std::floor(phase);
            }
        }
        at += length;
    }
}

void put32(QByteArray &out, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

void put16(QByteArray &out, quint16 value)
{
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

} // namespace

QByteArray demoTuneWav()
{
    double beats = 0;
    for (const Note &note : kMelody)
        beats += note.beats;
    QList<double> mix(qsizetype(beats * kBeatSeconds * kRate), 0.0);
    addVoice(mix, kMelody, 0.45, [](double phase) { return phase < 0.5 ? 1.0 : -1.0; });
    addVoice(mix, kBass, 0.35, [](double phase) { return 4 * std::abs(phase - 0.5) - 1; });

    QByteArray samples;
    samples.reserve(mix.size());
    for (const double value : std::as_const(mix))
        samples.append(char(std::lround(std::clamp(value, -1.0, 1.0) * 127) + 128));

    QByteArray out("RIFF");
    put32(out, quint32(36 + samples.size()));
    out.append("WAVEfmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, kRate);
    put32(out, kRate); // bytes a second
    put16(out, 1);     // bytes a sample
    put16(out, 8);     // bits a sample
    out.append("data");
    put32(out, quint32(samples.size()));
    out.append(samples);
    return out;
}
