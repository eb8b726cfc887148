#include "gui/common/SoundPlayer.h"

#include <QApplication>
#include <QFileInfo>
#include <QUrl>

#include "gui/common/LateModule.h"
#include "gui/common/SoundOutput.h"

namespace tollix {

SoundPlayer::SoundPlayer(QObject* parent)
    : QObject(parent)
{ }

SoundPlayer::SoundPlayer(std::unique_ptr<SoundOutput> output, QObject* parent)
    : QObject(parent)
    , opened_(true)
    , output_(std::move(output))
{ }

SoundPlayer::~SoundPlayer() = default;

SoundOutput* SoundPlayer::Output()
{
    if (!opened_) {
        opened_ = true;
        if (auto create = reinterpret_cast<CreateSoundOutputFunction>(
                LateModuleFunction("tollix_sound", kCreateSoundOutput)))
            output_.reset(create());
    }
    return output_.get();
}

void SoundPlayer::Beep()
{
    // The beep is the newest sound: an older one must not go on under it.
    if (output_)
        output_->Stop();
    QApplication::beep();
}

void SoundPlayer::Play(const QString& path)
{
    emit Requested(path);
    QFileInfo info(path);
    if (path.isEmpty() || (!path.startsWith(":/") && !info.isFile())) {
        Beep();
        return;
    }
    SoundOutput* output = Output();
    if (!output || !output->HasAudioOutput()) {
        Beep();
        return;
    }
    const QUrl url
        = path.startsWith(":/") ? QUrl("qrc" + path) : QUrl::fromLocalFile(info.absoluteFilePath());
    output->Play(url, [this] { Beep(); });
}

void SoundPlayer::PlayStartSound(const std::filesystem::path& dataFolder)
{
    const QString own = QString::fromStdString((dataFolder / "start.wav").string());
    Play(QFileInfo(own).isFile() ? own : QString(":/sounds/start.wav"));
}

}  // namespace tollix
