// libtollix_sound.so: the only code that links Qt Multimedia.
#include <QAudioDevice>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>

#include "gui/common/SoundOutput.h"

namespace tollix {
namespace {

class EffectOutput : public SoundOutput {
public:
    bool HasAudioOutput() override { return !QMediaDevices::audioOutputs().isEmpty(); }

    void Play(const QUrl& source, std::function<void()> failed) override
    {
        Stop();
        // A fresh effect for every sound: the old one may still be loading.
        effect_ = new QSoundEffect;
        QSoundEffect* effect = effect_;
        QObject::connect(
            effect, &QSoundEffect::statusChanged, effect, [this, effect, failed = std::move(failed)] {
                if (effect == effect_ && effect->status() == QSoundEffect::Error && failed)
                    failed();
            });
        effect->setSource(source);
        effect->play();
    }

    void Stop() override
    {
        if (!effect_)
            return;
        effect_->stop();
        effect_->deleteLater();
        effect_ = nullptr;
    }

    ~EffectOutput() override { delete effect_.data(); }

private:
    QPointer<QSoundEffect> effect_;
};

}  // namespace
}  // namespace tollix

extern "C" Q_DECL_EXPORT tollix::SoundOutput* TollixCreateSoundOutput()
{
    return new tollix::EffectOutput;
}
