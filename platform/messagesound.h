#pragma once
// The system sounds that message boxes play. The desktop has no notion of
// distinct message sounds, so every type ends in the application's beep; the
// player can be replaced so tests can see which sound was asked for.

#include <functional>

namespace kelvari {

class MessageSound {
public:
    enum class SoundType { Asterisk, Exclamation, Hand, Question, Ok };
    using Player = std::function<void(SoundType)>;

    static void play(SoundType type);

    // Replaces the player; an empty player restores the application's beep.
    static void setPlayer(Player player);
    static void resetPlayer() { setPlayer({}); }
};

// Installs a player while it lives and restores the previous one afterwards.
class ScopedSoundPlayer {
public:
    explicit ScopedSoundPlayer(MessageSound::Player player);
    ~ScopedSoundPlayer();
    ScopedSoundPlayer(const ScopedSoundPlayer &) = delete;
    ScopedSoundPlayer &operator=(const ScopedSoundPlayer &) = delete;

private:
    MessageSound::Player m_previous;
};

} // namespace kelvari
