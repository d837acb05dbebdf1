#include "platform/messagesound.h"

#include <QApplication>
#include <utility>

namespace kelvari {
namespace {

MessageSound::Player &currentPlayer() {
    static MessageSound::Player player;
    return player;
}

} // namespace

void MessageSound::play(SoundType type) {
    if (const Player &player = currentPlayer()) {
        player(type);
        return;
    }
    QApplication::beep();
}

void MessageSound::setPlayer(Player player) {
    currentPlayer() = std::move(player);
}

ScopedSoundPlayer::ScopedSoundPlayer(MessageSound::Player player)
    : m_previous(std::exchange(currentPlayer(), std::move(player))) {}

ScopedSoundPlayer::~ScopedSoundPlayer() {
    currentPlayer() = std::move(m_previous);
}

} // namespace kelvari
