// The music preview's command strings, as the properties dialog sends them:
// "open <path> type sequencer alias Midi", "play Midi", "stop Midi" and
// "close Midi". A small interpreter plays the MIDI file with FluidSynth.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// Plays one MIDI file at a time.
class MidiPlayer {
  public:
    virtual ~MidiPlayer() = default;
    virtual bool open(const QString& path) = 0;
    virtual bool play() = 0;
    virtual void stop() = 0;
    virtual void close() = 0;
};

// FluidSynth with its own audio driver and the General MIDI soundfont. With
// a file name, the sound goes into that file instead of to the sound device.
// A file that midiFileLoopsSafely refuses is not opened.
std::unique_ptr<MidiPlayer> makeFluidSynthPlayer(const QString& soundFile = QString());

// Whether FluidSynth's player can loop the file. A looping player starts an
// ended piece again within the same block of sound, so a file it cannot read
// to the end (fewer tracks than the header promises, a chunk running past the
// end) or a piece that lasts no time keeps its audio thread busy for ever,
// and closing the preview then waits for that thread without end. True for a
// file whose header, chunks and events all read within the file, with the
// promised number of tracks and a piece longer than zero ticks.
bool midiFileLoopsSafely(const QByteArray& bytes);

class MciInterpreter {
  public:
    explicit MciInterpreter(std::unique_ptr<MidiPlayer> player);
    // Carries out one command string; 0 on success, else an error number.
    int send(const QString& command);

  private:
    std::unique_ptr<MidiPlayer> player_;
    QString alias_;
};

// The interpreter the dialog sends to (FluidSynth unless a test set another).
MciInterpreter& mci();
void setMci(std::unique_ptr<MciInterpreter> interpreter);
