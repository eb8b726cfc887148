#pragma once

#include <QUrl>
#include <functional>

namespace tollix {

// The sound system behind SoundPlayer. It lives in libtollix_sound.so, opened
// only when the first sound plays (see LateModule.h).
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual bool HasAudioOutput() = 0;
    // Replaces whatever is playing; `failed` runs if the file cannot be played.
    virtual void Play(const QUrl& source, std::function<void()> failed) = 0;
    virtual void Stop() = 0;
};

// The module's one entry point, looked up by this name.
using CreateSoundOutputFunction = SoundOutput* (*)();
inline constexpr const char* kCreateSoundOutput = "TollixCreateSoundOutput";

}  // namespace tollix
