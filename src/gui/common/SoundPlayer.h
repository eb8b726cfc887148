#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>

namespace tollix {

class SoundOutput;

// Plays wave files without waiting; a new sound, or the beep, replaces one
// still playing. Without an audio output, or for a file that cannot be played,
// the system beep sounds instead. The sound system is opened by the first
// sound, not before.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    // With a sound system of the caller's (tests: the machine may have no audio).
    explicit SoundPlayer(std::unique_ptr<SoundOutput> output, QObject* parent = nullptr);
    ~SoundPlayer() override;

    void Play(const QString& path);
    // start.wav from the data folder, else the one shipped with the program.
    void PlayStartSound(const std::filesystem::path& dataFolder);

signals:
    // Every sound asked for, before it plays or falls back to the beep.
    void Requested(const QString& path);

private:
    void Beep();
    SoundOutput* Output();

    bool opened_ = false;
    std::unique_ptr<SoundOutput> output_;
};

}  // namespace tollix
