// The sound module: QSoundEffect behind the SoundPlayer interface.
#include <QApplication>
#include <QSoundEffect>
#include <QUrl>

#include "startup/soundplayer.h"

namespace {

class EffectPlayer : public SoundPlayer {
 public:
  EffectPlayer() : effect_(new QSoundEffect(qApp)) {
    QObject::connect(effect_, &QSoundEffect::statusChanged, effect_, [this] {
      // A file that is no sound gives the default sound; a machine without
      // audio simply stays silent.
      if (effect_->status() == QSoundEffect::Error) QApplication::beep();
    });
  }

  void play(const QString& path) override {
    effect_->stop();
    effect_->setSource(QUrl::fromLocalFile(path));
    effect_->play();
  }

 private:
  QSoundEffect* effect_;
};

}  // namespace

extern "C" Q_DECL_EXPORT SoundPlayer* kotobarion_create_sound_player() { return new EffectPlayer(); }
