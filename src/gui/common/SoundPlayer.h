#pragma once

#include <QObject>
#include <QString>
#include <filesystem>

class QSoundEffect;

namespace tollix {

// Plays wave files without waiting; a new sound replaces one still playing.
// Without an audio output, or for a file that cannot be played, the system beep
// sounds instead.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    void Play(const QString& path);
    // start.wav from the data folder, else the one shipped with the program.
    void PlayStartSound(const std::filesystem::path& dataFolder);

    // What was asked for last, and whether it fell back to the beep (for tests).
    QString LastRequested() const { return lastRequested_; }
    int BeepCount() const { return beeps_; }

private:
    void Beep();
    bool HasAudioOutput() const;

    QSoundEffect* effect_ = nullptr;
    QString lastRequested_;
    int beeps_ = 0;
};

}  // namespace tollix
