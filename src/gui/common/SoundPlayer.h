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

signals:
    // Every sound asked for, before it plays or falls back to the beep.
    void Requested(const QString& path);

private:
    void Beep();
    bool HasAudioOutput() const;

    QSoundEffect* effect_ = nullptr;
};

}  // namespace tollix
