// libvantorel-sound.so: the sound effect on QSoundEffect, loaded by the
// program when it first plays a sound.

#include "platform/qt/sound/SoundModule.h"

#include <QSoundEffect>
#include <QString>
#include <QUrl>
#include <type_traits>

struct VantorelSound {
    QSoundEffect effect;
};

extern "C" {

__attribute__((visibility("default"))) VantorelSound* vantorel_sound_play(const char* utf8Path) {
    auto* sound = new VantorelSound;
    // A play asked for while the file still loads starts once it is loaded.
    sound->effect.setSource(QUrl::fromLocalFile(QString::fromUtf8(utf8Path)));
    sound->effect.play();
    return sound;
}

__attribute__((visibility("default"))) void vantorel_sound_close(VantorelSound* sound) {
    if (sound != nullptr) {
        sound->effect.stop();
        delete sound;
    }
}
}

// The entry points must keep the types the program calls them through.
static_assert(std::is_same_v<decltype(&vantorel_sound_play), VantorelSoundPlayFunction>);
static_assert(std::is_same_v<decltype(&vantorel_sound_close), VantorelSoundCloseFunction>);
