#include "gui/common/SoundPlayer.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace tollix {

SoundPlayer::SoundPlayer(QObject* parent)
    : QObject(parent)
{ }

SoundPlayer::~SoundPlayer() = default;

bool SoundPlayer::HasAudioOutput() const
{
    return !QMediaDevices::audioOutputs().isEmpty();
}

void SoundPlayer::Beep()
{
    QApplication::beep();
}

void SoundPlayer::Play(const QString& path)
{
    emit Requested(path);
    QFileInfo info(path);
    if (path.isEmpty() || (!path.startsWith(":/") && !info.isFile()) || !HasAudioOutput()) {
        Beep();
        return;
    }
    // A fresh effect replaces the one playing, as the old one is stopped and freed.
    if (effect_) {
        effect_->stop();
        effect_->deleteLater();
    }
    effect_ = new QSoundEffect(this);
    connect(effect_, &QSoundEffect::statusChanged, this, [this, effect = effect_] {
        if (effect == effect_ && effect->status() == QSoundEffect::Error)
            Beep();
    });
    const QUrl url
        = path.startsWith(":/") ? QUrl("qrc" + path) : QUrl::fromLocalFile(info.absoluteFilePath());
    effect_->setSource(url);
    effect_->play();
}

void SoundPlayer::PlayStartSound(const std::filesystem::path& dataFolder)
{
    const QString own = QString::fromStdString((dataFolder / "start.wav").string());
    Play(QFileInfo(own).isFile() ? own : QString(":/sounds/start.wav"));
}

}  // namespace tollix
